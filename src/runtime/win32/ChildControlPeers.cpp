#include "runtime/win32/ChildControlPeers.h"

#include <optional>
#include <vector>

#include "runtime/controls/Controls.h"
#include "runtime/controls/UserControlSite.h"
#include "runtime/win32/DialogControlPeers.h"
#include "runtime/win32/DpiScaling.h"
#include "runtime/win32/Gdi.h"
#include "runtime/win32/MouseMoveArgs.h"
#include "runtime/win32/PushButtonPeer.h"
#include "runtime/win32/WindowClasses.h"
#include "runtime/win32/WindowSubclass.h"

namespace win32 {
namespace {

// Not an automatic check box: the model owns the value. A click asks the model to
// toggle, and the tick follows the model's value, whoever changed it.
class CheckBoxPeer final : public ChildPeer {
 public:
  CheckBoxPeer(PeerHost& host, rt::CheckBox& box) : ChildPeer(host, box), box_(box) {}
  void OnCommand(WORD notification) override {
    if (notification != BN_CLICKED) return;
    LetGoOfTheMouse();
    box_.ToggleByUser();
  }

 protected:
  WindowKind Kind() const override { return {L"BUTTON", BS_CHECKBOX | BS_MULTILINE | WS_GROUP, 0}; }
  bool StyleHidesColours() const override { return true; }
  void AfterCreate() override { ShowValue(); }
  void OnOwnPropertyChanged(rt::Property property) override {
    if (property == rt::Property::Value) ShowValue();
  }

 private:
  void ShowValue() {
    const int value = box_.Value();
    const WPARAM check = value == 1 ? BST_CHECKED : value == 2 ? BST_INDETERMINATE : BST_UNCHECKED;
    ::SendMessageW(Window(), BM_SETCHECK, check, 0);
  }
  rt::CheckBox& box_;
};

// Calls visit(window, its rectangle on the screen) for each shown window that lies under
// the given one, in the same parent, and overlaps it.
template <typename Visit>
void ForEachShownWindowBelow(HWND window, Visit visit) {
  RECT area{};
  ::GetWindowRect(window, &area);
  for (HWND below = ::GetWindow(window, GW_HWNDNEXT); below != nullptr; below = ::GetWindow(below, GW_HWNDNEXT)) {
    RECT place{}, overlap{};
    if (::IsWindowVisible(below) && ::GetWindowRect(below, &place) && ::IntersectRect(&overlap, &area, &place))
      visit(below, place);
  }
}

// A group box that paints its inside in its own colour and, unlike a plain group box,
// takes the pointer: the program resets the pointer shape when it moves over a frame.
// It comes before the controls it holds in the reading order, so its window lies above
// theirs: it lets the pointer through to them and leaves them out of its painting.
class FramePeer final : public ChildPeer, private SubclassHandler {
 public:
  FramePeer(PeerHost& host, rt::Frame& frame) : ChildPeer(host, frame), frame_(frame) {}

 protected:
  WindowKind Kind() const override { return {L"BUTTON", BS_GROUPBOX, 0}; }
  bool StyleHidesColours() const override { return true; }
  void AfterCreate() override { subclass_.emplace(Window(), static_cast<SubclassHandler&>(*this), host_.Failures()); }

 private:
  std::optional<LRESULT> OnSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_NCHITTEST:
        return AControlBelowAnswers(window, lParam) ? HTTRANSPARENT : HTCLIENT;
      case WM_MOUSEMOVE: {
        rt::MouseMoveArgs args = MouseMoveArgsFrom(wParam, lParam, host_.Dpi());
        frame_.MouseMove.Raise(args);
        return 0;
      }
      case WM_LBUTTONDOWN:
      case WM_LBUTTONDBLCLK:
      case WM_LBUTTONUP:
      case WM_RBUTTONDOWN:
      case WM_RBUTTONUP:
      case WM_MBUTTONDOWN:
      case WM_MBUTTONUP:
        return 0;  // a frame never takes the focus
      case WM_ERASEBKGND: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        const int saved = ::SaveDC(dc);
        ForEachShownWindowBelow(window, [&](HWND, RECT place) {
          ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&place), 2);
          ::ExcludeClipRect(dc, place.left, place.top, place.right, place.bottom);
        });
        RECT inside{};
        ::GetClientRect(window, &inside);
        ::FillRect(dc, &inside, host_.BrushFor(host_.LookOf(frame_).back));
        ::RestoreDC(dc, saved);
        return 1;
      }
      default:
        return std::nullopt;
    }
  }
  // A control under the point that takes the pointer itself (a label lets it through).
  static bool AControlBelowAnswers(HWND frame, LPARAM screenPoint) {
    const POINT point{static_cast<short>(LOWORD(screenPoint)), static_cast<short>(HIWORD(screenPoint))};
    bool answers = false;
    ForEachShownWindowBelow(frame, [&](HWND below, RECT place) {
      if (!answers && ::PtInRect(&place, point))
        answers = ::SendMessageW(below, WM_NCHITTEST, 0, screenPoint) != HTTRANSPARENT;
    });
    return answers;
  }
  rt::Frame& frame_;
  std::optional<WindowSubclass> subclass_;
};

// Static text that fits itself to its caption (unless it wraps) and lets its container's
// colour show.
class LabelPeer final : public ChildPeer {
 public:
  LabelPeer(PeerHost& host, rt::Label& label) : ChildPeer(host, label), label_(label) {}

  void LayOut() override {
    // A label that wraps keeps the place the layout gave it, lines and all.
    if (label_.WordWrap()) return ChildPeer::LayOut();
    const RECT place = PixelRect(BoundsInClient(label_), host_.Dpi());
    SIZE text{};
    {
      WindowDc dc(Window());
      SelectedObject font(dc.get(), host_.FontFor(label_));
      ::GetTextExtentPoint32W(dc.get(), label_.Caption().c_str(), static_cast<int>(label_.Caption().size()), &text);
    }
    ::SetWindowPos(Window(), nullptr, place.left, place.top, text.cx, text.cy, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  HBRUSH OnCtlColor(HDC dc) override {
    const rt::Control& behind =
        label_.Container() != nullptr ? *label_.Container() : static_cast<const rt::Control&>(host_.HostedForm());
    const rt::OleColor back = host_.LookOf(behind).back;
    ::SetTextColor(dc, ToColorRef(host_.LookOf(label_).text));
    ::SetBkColor(dc, ToColorRef(back));
    return host_.BrushFor(back);
  }

 protected:
  WindowKind Kind() const override {
    // With a mnemonic, Alt and the letter take the focus to the control after the label.
    return {L"STATIC",
            (label_.WordWrap() ? SS_LEFT : SS_LEFTNOWORDWRAP) |
                (label_.UseMnemonic() ? 0u : static_cast<DWORD>(SS_NOPREFIX)),
            0};
  }
  void ShowCaption(const std::wstring& caption) override {
    ChildPeer::ShowCaption(caption);
    LayOut();
  }

 private:
  rt::Label& label_;
};

// The text typed into the box goes back into the model, which holds the text.
class TextBoxPeer final : public ChildPeer {
 public:
  TextBoxPeer(PeerHost& host, rt::TextBox& box) : ChildPeer(host, box), box_(box) {}
  void OnCommand(WORD notification) override {
    if (notification == EN_CHANGE) box_.SetCaption(WindowText());
  }

 protected:
  WindowKind Kind() const override { return {L"EDIT", ES_LEFT | ES_AUTOHSCROLL | WS_GROUP, WS_EX_CLIENTEDGE}; }
  void ShowCaption(const std::wstring& caption) override {
    // Setting the text the box already shows would only move the caret to the start.
    if (WindowText() != caption) ChildPeer::ShowCaption(caption);
  }

 private:
  std::wstring WindowText() const {
    std::vector<wchar_t> buffer(static_cast<std::size_t>(::GetWindowTextLengthW(Window())) + 1);
    const int length = ::GetWindowTextW(Window(), buffer.data(), static_cast<int>(buffer.size()));
    return std::wstring(buffer.data(), static_cast<std::size_t>(length));
  }
  rt::TextBox& box_;
};

// The tray control's own window: never seen, it only receives the shell's notices.
class ControlSitePeer final : public ChildPeer {
 public:
  ControlSitePeer(PeerHost& host, rt::UserControlSite& site) : ChildPeer(host, site), site_(site) {}
  ~ControlSitePeer() override { site_.SetHandle(0); }

 protected:
  WindowKind Kind() const override { return {kControlSiteClass, 0, 0}; }
  bool HasFace() const override { return false; }

 private:
  rt::UserControlSite& site_;
};

}  // namespace

std::unique_ptr<ChildPeer> MakeChildPeer(PeerHost& host, rt::Control& control) {
  switch (control.Kind()) {
    case rt::ControlKind::PushButton:
      return std::make_unique<PushButtonPeer>(host, static_cast<rt::PushButton&>(control));
    case rt::ControlKind::CheckBox:
      return std::make_unique<CheckBoxPeer>(host, static_cast<rt::CheckBox&>(control));
    case rt::ControlKind::Frame:
      return std::make_unique<FramePeer>(host, static_cast<rt::Frame&>(control));
    case rt::ControlKind::Label:
      return std::make_unique<LabelPeer>(host, static_cast<rt::Label&>(control));
    case rt::ControlKind::TextBox:
      return std::make_unique<TextBoxPeer>(host, static_cast<rt::TextBox&>(control));
    case rt::ControlKind::UserControl:
      return std::make_unique<ControlSitePeer>(host, static_cast<rt::UserControlSite&>(control));
    case rt::ControlKind::Slider:
      return MakeSliderPeer(host, static_cast<rt::Slider&>(control));
    case rt::ControlKind::ShortcutBox:
      return MakeShortcutBoxPeer(host, static_cast<rt::ShortcutBox&>(control));
    case rt::ControlKind::PressArea:
      return MakePressAreaPeer(host, static_cast<rt::PressArea&>(control));
    case rt::ControlKind::ListBox:
      return MakeListBoxPeer(host, static_cast<rt::ListBox&>(control));
    default:
      return nullptr;  // option buttons are not used on our window; components have no face
  }
}

}  // namespace win32
