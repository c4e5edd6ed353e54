#include "runtime/win32/FormHost.h"

#include <algorithm>

#include "runtime/Failure.h"
#include "runtime/Twips.h"
#include "runtime/controls/TabOrder.h"
#include "runtime/controls/UserControlSite.h"
#include "runtime/win32/ChildControlPeers.h"
#include "runtime/win32/Guarded.h"
#include "runtime/win32/MessageFilter.h"
#include "runtime/win32/MouseMoveArgs.h"
#include "runtime/win32/PointerShape.h"
#include "runtime/win32/SystemLook.h"
#include "runtime/win32/SystemMessage.h"
#include "runtime/win32/WindowClasses.h"
#include "runtime/win32/WindowPlacement.h"

namespace win32 {
namespace {

// Fixed single border with the system menu, minimise and close; no maximise, no sizing.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = 0;
// A dialog: the same without the minimise box, with a dialog's frame.
constexpr DWORD kDialogStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kDialogExStyle = WS_EX_DLGMODALFRAME;
// Clear of IDOK and IDCANCEL, which the dialog keys send on their own.
constexpr int kFirstControlId = 100;

class OwnChange {
 public:
  explicit OwnChange(int& count) : count_(count) { ++count_; }
  OwnChange(const OwnChange&) = delete;
  OwnChange& operator=(const OwnChange&) = delete;
  ~OwnChange() { --count_; }

 private:
  int& count_;
};

}  // namespace

FormHost::FormHost(rt::Form& form, rt::UnhandledFailureSink& failures, HINSTANCE instance, std::optional<int> fixedDpi,
                   std::optional<Dialog> dialog, std::wstring pressActionName)
    : form_(form),
      failures_(failures),
      instance_(instance),
      fixedDpi_(fixedDpi),
      dialog_(dialog),
      pressActionName_(std::move(pressActionName)),
      highContrastSource_(&HighContrastOn),
      highContrast_(HighContrastOn()) {
  RegisterHostWindowClasses(instance, &FormHost::WindowProcedure);
  taskbarCreated_ = ::RegisterWindowMessageW(L"TaskbarCreated");
  OwnChange own(ownStateChanges_);
  // Made on the primary monitor, so that the DPI read below is the one it will show at.
  const POINT corner = PrimaryWorkAreaCorner();
  window_.reset(::CreateWindowExW(dialog_ ? kDialogExStyle : kExStyle, dialog_ ? kDialogClass : kMainWindowClass,
                                  form.Caption().c_str(), dialog_ ? kDialogStyle : kStyle, corner.x, corner.y, 100,
                                  100, dialog_ ? dialog_->owner : nullptr, nullptr, instance, this));
  if (!window_) throw rt::Failure(SystemMessage(::GetLastError()));
  // Running as administrator, the program would not hear the shell's broadcast otherwise.
  if (taskbarCreated_ != 0) LetThroughMessageFilter(window_.get(), taskbarCreated_);
  dpi_ = fixedDpi_ ? *fixedDpi_ : DpiOfWindow(window_.get());
  fonts_ = FontCache(dpi_);
  CreateControls();
  AddSystemMenuItems();
  FitToForm(std::nullopt);
  ApplyIcon();
  if (!form_.Enabled()) ::EnableWindow(window_.get(), FALSE);
  form_.SetHandle(reinterpret_cast<rt::WindowHandle>(window_.get()));
  form_.AttachPeer(this);
  if (form_.Visible()) ApplyVisibility();
}

FormHost::~FormHost() {
  form_.AttachPeer(nullptr);
  form_.SetHandle(0);
  for (auto& peer : peers_) peer->Detach();
  if (window_) ::SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0);
  window_.reset();
}

int FormHost::RunMessageLoop(std::function<bool(MSG&)> alsoPreTranslate) {
  MSG message{};
  for (;;) {
    const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(message.wParam);
    if (got == -1) throw rt::Failure(SystemMessage(::GetLastError()));
    if (PreTranslate(message) || (alsoPreTranslate && alsoPreTranslate(message))) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

bool FormHost::PreTranslate(MSG& message) {
  if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST) return false;
  HWND window = window_.get();
  if (window == nullptr || (message.hwnd != window && !::IsChild(window, message.hwnd))) return false;
  return ::IsDialogMessageW(window, &message) != FALSE;
}

HWND FormHost::WindowOf(const rt::Control& control) const {
  for (const auto& peer : peers_)
    if (&peer->Model() == &control) return peer->Window();
  return nullptr;
}

HFONT FormHost::FontFor(const rt::Control& control) {
  return fonts_.Get(control.OwnFont().name.empty() ? form_.OwnFont() : control.OwnFont());
}

ChildPeer* FormHost::PeerOf(HWND window) const {
  if (window == nullptr) return nullptr;
  for (const auto& peer : peers_)
    if (peer->Window() == window) return peer.get();
  return nullptr;
}

void FormHost::CreateControls() {
  int id = kFirstControlId;
  for (rt::Control* control : rt::ReadingOrder(form_)) {
    std::unique_ptr<ChildPeer> peer = MakeChildPeer(*this, *control);
    if (!peer) continue;
    peer->Create(window_.get(), id++, instance_);
    // Stacking order is reading order, which the Tab key and screen readers follow: each
    // control goes under the ones made before it.
    ::SetWindowPos(peer->Window(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    peers_.push_back(std::move(peer));
  }
}

void FormHost::AddSystemMenuItems() {
  if (form_.SystemMenuItems().empty()) return;
  HMENU menu = ::GetSystemMenu(window_.get(), FALSE);
  if (menu == nullptr) return;
  ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  for (const rt::Form::SystemMenuItem& item : form_.SystemMenuItems())
    ::AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(item.id), item.text.c_str());
}

void FormHost::PlaceDialog() {
  HWND beside = reinterpret_cast<HWND>(form_.OpenNear());
  POINT pointer{};
  ::GetCursorPos(&pointer);
  HMONITOR monitor = beside != nullptr && ::IsWindowVisible(beside) ? ::MonitorFromWindow(beside, MONITOR_DEFAULTTONEAREST)
                                                                : ::MonitorFromPoint(pointer, MONITOR_DEFAULTTONEAREST);
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (!::GetMonitorInfoW(monitor, &info)) return;
  RECT outer{};
  ::GetWindowRect(window_.get(), &outer);
  const RECT& work = info.rcWork;
  const int x = work.left + (work.right - work.left - (outer.right - outer.left)) / 2;
  const int y = work.top + (work.bottom - work.top - (outer.bottom - outer.top)) / 2;
  // Another monitor may have another DPI: Windows then resizes the window on the way.
  ::SetWindowPos(window_.get(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool FormHost::ClickButton(bool isDefault) {
  for (rt::Control* control : form_.Controls()) {
    if (control->Kind() != rt::ControlKind::PushButton || !control->Visible() || !control->Enabled()) continue;
    auto* button = static_cast<rt::PushButton*>(control);
    if (isDefault ? button->Default() : button->Cancel()) {
      button->RaiseClick();
      return true;
    }
  }
  return false;
}

void FormHost::LayOutControls() {
  for (auto& peer : peers_) peer->LayOut();
}

void FormHost::FitToForm(std::optional<POINT> topLeft) {
  OwnChange own(ownStateChanges_);
  const SIZE client{rt::TwipsToPixels(form_.ClientWidth(), dpi_), rt::TwipsToPixels(form_.ClientHeight(), dpi_)};
  FitClientArea(window_.get(), client, dpi_, topLeft);
}

void FormHost::OnChanged(rt::Control&, rt::Property property) {
  HWND window = window_.get();
  if (window == nullptr) return;
  switch (property) {
    case rt::Property::Caption:
      ::SetWindowTextW(window, form_.Caption().c_str());
      break;
    case rt::Property::Visible:
      ApplyVisibility();
      break;
    case rt::Property::Enabled:
      ::EnableWindow(window, form_.Enabled() ? TRUE : FALSE);
      break;
    case rt::Property::BackColor:
    case rt::Property::ForeColor:
    case rt::Property::Skinned:
      ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
      break;
    case rt::Property::Font:
      for (auto& peer : peers_) peer->ApplyFont();
      LayOutControls();
      break;
    case rt::Property::WindowState:
      ApplyWindowState();
      break;
    case rt::Property::MousePointer:
    case rt::Property::MouseIcon:
      RefreshPointerOver(window);
      break;
    case rt::Property::Icon:
      ApplyIcon();
      break;
    case rt::Property::Focus:
      Activate();
      break;
    case rt::Property::Bounds: {
      // The client size, laid out anew: the corner stays where the window still fits on its
      // monitor's work area, and moves in as far as it must where it would not.
      RECT outer{};
      ::GetWindowRect(window, &outer);
      FitToForm(POINT{outer.left, outer.top});
      ::GetWindowRect(window, &outer);
      MONITORINFO monitor{};
      monitor.cbSize = sizeof(monitor);
      if (::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor)) {
        const RECT& work = monitor.rcWork;
        const LONG x = std::max(work.left, std::min(outer.left, work.right - (outer.right - outer.left)));
        const LONG y = std::max(work.top, std::min(outer.top, work.bottom - (outer.bottom - outer.top)));
        if (x != outer.left || y != outer.top)
          ::SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      }
      break;
    }
    default:
      break;
  }
}

void FormHost::ApplyVisibility() {
  OwnChange own(ownStateChanges_);
  HWND window = window_.get();
  if (form_.Visible()) {
    // Whoever comes to the window sees where the focus is, also before touching the
    // keyboard: Windows would hide the mark from a user who started us with the mouse.
    ::SendMessageW(window, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    if (dialog_) PlaceDialog();
    // A state the program chose while the window was hidden takes effect now.
    ::ShowWindow(window, form_.WindowState() == rt::windowstate::kMinimized ? SW_SHOWMINIMIZED : SW_SHOWNORMAL);
    ::UpdateWindow(window);
  } else {
    focus_.Remember(window);
    ::ShowWindow(window, SW_HIDE);  // and off the taskbar
  }
}

void FormHost::ApplyWindowState() {
  HWND window = window_.get();
  if (!::IsWindowVisible(window)) return;  // the next show applies it
  const bool minimise = form_.WindowState() == rt::windowstate::kMinimized;
  if (minimise == (::IsIconic(window) != FALSE)) return;
  OwnChange own(ownStateChanges_);
  ::ShowWindow(window, minimise ? SW_MINIMIZE : SW_RESTORE);
}

void FormHost::OnSize(WPARAM kind) {
  // Only the user's minimise or restore is news to the model: the program's own changes
  // have already raised their Resize, and a hidden window cannot be worked by the user.
  if (ownStateChanges_ > 0 || !::IsWindowVisible(window_.get())) return;
  if (kind == SIZE_MINIMIZED)
    form_.WindowStateChangedBySystem(rt::windowstate::kMinimized);
  else if (kind == SIZE_RESTORED)
    form_.WindowStateChangedBySystem(rt::windowstate::kNormal);
}

void FormHost::ApplyIcon() { icons_.Apply(window_.get(), form_.Icon().get(), dpi_); }

void FormHost::Activate() {
  HWND window = window_.get();
  ::SetForegroundWindow(window);
  ::SetActiveWindow(window);
  focus_.Restore(window);
}

void FormHost::MoveFocusAwayFrom(HWND window) { focus_.MoveOnFrom(window_.get(), window); }

void FormHost::PaintBackground(HDC dc) {
  RECT client{};
  ::GetClientRect(window_.get(), &client);
  ::FillRect(dc, &client, BrushFor(LookOf(form_).back));
}

void FormHost::AskHighContrastWith(std::function<bool()> source) {
  highContrastSource_ = std::move(source);
  SystemLookChanged();
}

void FormHost::SystemLookChanged() {
  if (!window_) return;  // still being made: the constructor asked already
  highContrast_ = highContrastSource_();
  brushes_.Clear();  // brushes of system colours hold the old colours
  for (auto& peer : peers_) peer->SystemLookChanged();
  ::RedrawWindow(window_.get(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void FormHost::OnDpiChanged(int dpi, const RECT& suggested) {
  OwnChange own(ownStateChanges_);
  dpi_ = dpi;
  FontCache fresh(dpi);
  std::swap(fonts_, fresh);
  for (auto& peer : peers_) peer->ApplyFont();
  LayOutControls();
  FitToForm(POINT{suggested.left, suggested.top});
  ApplyIcon();
  // The fonts of the old DPI go here, now that no control uses them.
}

bool FormHost::Close(int reason) {
  if (closing_) return false;  // the program is still answering the first request
  closing_ = true;
  const bool accepted = form_.RequestClose(reason);
  closing_ = false;
  // A dialog lives as long as the program holds it; its close is the program's to answer.
  if (!accepted || dialog_) return false;
  // The program's unload handler normally ends the process itself; if it came back, the
  // window goes and the message loop ends.
  if (window_) ::DestroyWindow(window_.get());
  ::PostQuitMessage(0);
  return true;
}

void FormHost::RaiseTaskbarCreated() {
  for (rt::Control* control : form_.Controls())
    if (control->Kind() == rt::ControlKind::UserControl)
      static_cast<rt::UserControlSite*>(control)->TaskbarCreated.Raise();
}

void FormHost::WindowDestroyed() {
  // The controls' windows went before this one; the model stays, with nothing behind it.
  for (auto& peer : peers_) peer->Detach();
  form_.SetHandle(0);
  ::SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0);
  (void)window_.release();
}

LRESULT CALLBACK FormHost::WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
  }
  auto* host = reinterpret_cast<FormHost*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (host == nullptr) return ::DefWindowProcW(window, message, wParam, lParam);
  return Guarded(
      host->failures_, [&] { return host->HandleMessage(window, message, wParam, lParam); },
      [&] { return ::DefWindowProcW(window, message, wParam, lParam); });
}

LRESULT FormHost::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      PaintBackground(reinterpret_cast<HDC>(wParam));
      return 1;
    case WM_PRINTCLIENT:
      PaintBackground(reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
      if (ChildPeer* peer = PeerOf(reinterpret_cast<HWND>(lParam)))
        return reinterpret_cast<LRESULT>(peer->OnCtlColor(reinterpret_cast<HDC>(wParam)));
      break;
    case WM_DRAWITEM: {
      const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (ChildPeer* peer = PeerOf(item.hwndItem); peer != nullptr && peer->OnDrawItem(item)) return TRUE;
      break;
    }
    case WM_COMMAND:
      if (ChildPeer* peer = PeerOf(reinterpret_cast<HWND>(lParam)))
        peer->OnCommand(HIWORD(wParam));
      else if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)
        ClickButton(LOWORD(wParam) == IDOK);  // Enter or Escape, from the dialog keys
      return 0;
    case WM_NEXTDLGCTL: {
      // The dialog keys ask for this to move the focus (a label's mnemonic does: the label,
      // then the control after it); only a dialog's own class would answer it otherwise.
      HWND target = LOWORD(lParam) != 0 ? reinterpret_cast<HWND>(wParam)
                                        : ::GetNextDlgTabItem(window, ::GetFocus(), wParam != 0 ? TRUE : FALSE);
      if (target != nullptr) ::SetFocus(target);
      return 0;
    }
    case WM_HSCROLL:
      if (ChildPeer* peer = PeerOf(reinterpret_cast<HWND>(lParam))) peer->OnScroll();
      return 0;
    case WM_INITMENUPOPUP:
      if (HIWORD(lParam) != 0)  // the system menu
        for (const rt::Form::SystemMenuItem& item : form_.SystemMenuItems())
          ::EnableMenuItem(reinterpret_cast<HMENU>(wParam), static_cast<UINT>(item.id),
                           MF_BYCOMMAND | (item.enabled ? MF_ENABLED : MF_GRAYED));
      break;
    case WM_SYSCOMMAND:
      for (const rt::Form::SystemMenuItem& item : form_.SystemMenuItems())
        if ((wParam & 0xFFF0) == static_cast<WPARAM>(item.id)) {
          if (item.enabled) form_.SystemMenuChosen.Raise(item.id);
          return 0;
        }
      break;
    case WM_MOUSEMOVE: {
      rt::MouseMoveArgs args = MouseMoveArgsFrom(wParam, lParam, dpi_);
      form_.MouseMove.Raise(args);
      return 0;
    }
    case WM_SETCURSOR:
      // Over the client area of the window or any control (they ask their parent first);
      // the title bar and the border keep their own shapes.
      if (LOWORD(lParam) == HTCLIENT) {
        ::SetCursor(CursorFor(form_));
        return TRUE;
      }
      break;
    case WM_SIZE:
      OnSize(wParam);
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) focus_.Remember(window);
      break;
    case WM_SETFOCUS:
      focus_.Restore(window);
      return 0;
    case WM_CLOSE:
      Close(rt::closereason::kUser);
      return 0;
    case WM_QUERYENDSESSION:
      // Only a question: the user may still cancel the shutdown, and then finds Vornatic as
      // it was. The close comes with WM_ENDSESSION.
      return TRUE;
    case WM_ENDSESSION:
      if (wParam != FALSE && !closing_) Close(rt::closereason::kWindowsEnding);
      return 0;
    case WM_DPICHANGED:
      if (!fixedDpi_) OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_SETTINGCHANGE:
      if (settingChanged_) settingChanged_();
      [[fallthrough]];
    case WM_SYSCOLORCHANGE:
      // Switching high contrast sends both; a top-level window passes neither on to its
      // controls, so the controls are told here.
      SystemLookChanged();
      break;
    case WM_NCDESTROY:
      WindowDestroyed();
      break;
    default:
      if (taskbarCreated_ != 0 && message == taskbarCreated_) {
        RaiseTaskbarCreated();
        return 0;
      }
      break;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace win32
