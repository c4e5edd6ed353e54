#include "runtime/win32/DialogControlPeers.h"

// after windows.h, which ChildPeer.h brings
#include <commctrl.h>

#include <optional>

#include "runtime/win32/WindowSubclass.h"

namespace win32 {
namespace {

// A trackbar with a tick every TickEvery; the position the user gives goes into the model.
class SliderPeer final : public ChildPeer {
 public:
  SliderPeer(PeerHost& host, rt::Slider& slider) : ChildPeer(host, slider), slider_(slider) {}
  void OnScroll() override {
    slider_.DragTo(static_cast<int>(::SendMessageW(Window(), TBM_GETPOS, 0, 0)));
    ShowValue();  // the model may have kept it within its range
  }

 protected:
  WindowKind Kind() const override { return {TRACKBAR_CLASSW, TBS_HORZ | TBS_AUTOTICKS | WS_GROUP, 0}; }
  void AfterCreate() override {
    ShowRange();
    ShowValue();
  }
  void OnOwnPropertyChanged(rt::Property property) override {
    if (property == rt::Property::Range) ShowRange();
    if (property == rt::Property::Value) ShowValue();
  }

 private:
  void ShowRange() {
    ::SendMessageW(Window(), TBM_SETRANGEMIN, FALSE, slider_.Min());
    ::SendMessageW(Window(), TBM_SETRANGEMAX, TRUE, slider_.Max());
    ::SendMessageW(Window(), TBM_SETTICFREQ, static_cast<WPARAM>(slider_.TickEvery()), 0);
    ::SendMessageW(Window(), TBM_SETLINESIZE, 0, slider_.SmallChange());
    ::SendMessageW(Window(), TBM_SETPAGESIZE, 0, slider_.LargeChange());
  }
  void ShowValue() {
    if (::SendMessageW(Window(), TBM_GETPOS, 0, 0) != slider_.Value())
      ::SendMessageW(Window(), TBM_SETPOS, TRUE, slider_.Value());
  }
  rt::Slider& slider_;
};

bool Down(int key) { return ::GetKeyState(key) < 0; }

// A read-only edit box that reports the keys pressed in it instead of typing them. Tab,
// Enter and Escape alone keep their dialog meanings, so the keyboard can leave the box.
class ShortcutBoxPeer final : public ChildPeer, private SubclassHandler {
 public:
  ShortcutBoxPeer(PeerHost& host, rt::ShortcutBox& box) : ChildPeer(host, box), box_(box) {}

 protected:
  WindowKind Kind() const override {
    return {L"EDIT", ES_LEFT | ES_READONLY | ES_AUTOHSCROLL | WS_GROUP, WS_EX_CLIENTEDGE};
  }
  void AfterCreate() override { subclass_.emplace(Window(), static_cast<SubclassHandler&>(*this), host_.Failures()); }

 private:
  static bool Modified() {
    return Down(VK_CONTROL) || Down(VK_MENU) || Down(VK_SHIFT) || Down(VK_LWIN) || Down(VK_RWIN);
  }
  static bool IsDialogKey(WPARAM key) { return key == VK_TAB || key == VK_RETURN || key == VK_ESCAPE; }

  std::optional<LRESULT> OnSubclassMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_GETDLGCODE: {
        const auto* asked = reinterpret_cast<const MSG*>(lParam);
        if (asked != nullptr && asked->message == WM_KEYDOWN && IsDialogKey(asked->wParam) && !Modified())
          return DLGC_HASSETSEL;
        return DLGC_WANTALLKEYS | DLGC_WANTCHARS;
      }
      case WM_KEYDOWN:
      case WM_SYSKEYDOWN: {
        rt::KeyChord chord;
        chord.key = static_cast<std::uint32_t>(wParam);
        chord.win = Down(VK_LWIN) || Down(VK_RWIN);
        chord.ctrl = Down(VK_CONTROL);
        chord.alt = Down(VK_MENU);
        chord.shift = Down(VK_SHIFT);
        box_.KeyPressed.Raise(chord);
        return 0;
      }
      case WM_CHAR:
      case WM_SYSCHAR:
      case WM_KEYUP:
      case WM_SYSKEYUP:
        return 0;  // nothing is typed, and Alt does not open the window's menu
      case WM_SETFOCUS:
      case WM_KILLFOCUS:
        box_.SetFocusedBySystem(message == WM_SETFOCUS);
        return std::nullopt;
      default:
        return std::nullopt;
    }
  }
  rt::ShortcutBox& box_;
  std::optional<WindowSubclass> subclass_;
};

// A framed patch of text that reports presses and releases of any button, keeping the
// mouse while a button is down so the release comes here wherever it happens.
class PressAreaPeer final : public ChildPeer, private SubclassHandler {
 public:
  PressAreaPeer(PeerHost& host, rt::PressArea& area) : ChildPeer(host, area), area_(area) {}

 protected:
  WindowKind Kind() const override {
    return {L"STATIC", SS_CENTER | SS_CENTERIMAGE | SS_NOPREFIX | SS_NOTIFY, WS_EX_CLIENTEDGE};
  }
  void AfterCreate() override { subclass_.emplace(Window(), static_cast<SubclassHandler&>(*this), host_.Failures()); }

 private:
  rt::PressArgs Args(HWND window, int button, LPARAM lParam) const {
    POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    ::ClientToScreen(window, &at);
    return rt::PressArgs{button, rt::ScreenPoint{at.x, at.y}, static_cast<std::uint32_t>(::GetMessageTime())};
  }
  std::optional<LRESULT> OnSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
    constexpr WPARAM kAnyButton = MK_LBUTTON | MK_RBUTTON | MK_MBUTTON;
    switch (message) {
      case WM_LBUTTONDOWN:
      case WM_RBUTTONDOWN:
      case WM_MBUTTONDOWN:
        ::SetCapture(window);
        area_.Pressed.Raise(Args(window, ButtonOf(message), lParam));
        return 0;
      case WM_LBUTTONUP:
      case WM_RBUTTONUP:
      case WM_MBUTTONUP:
        if ((wParam & kAnyButton) == 0 && ::GetCapture() == window) ::ReleaseCapture();
        area_.Released.Raise(Args(window, ButtonOf(message), lParam));
        return 0;
      default:
        return std::nullopt;
    }
  }
  static int ButtonOf(UINT message) {
    return message == WM_RBUTTONDOWN || message == WM_RBUTTONUP   ? 2
           : message == WM_MBUTTONDOWN || message == WM_MBUTTONUP ? 4
                                                                  : 1;
  }
  rt::PressArea& area_;
  std::optional<WindowSubclass> subclass_;
};

// A list with a border and a scroll bar as it fills; the user's selection goes into the model.
class ListBoxPeer final : public ChildPeer {
 public:
  ListBoxPeer(PeerHost& host, rt::ListBox& list) : ChildPeer(host, list), list_(list) {}
  void OnCommand(WORD notification) override {
    if (notification == LBN_SELCHANGE)
      list_.SetSelected(static_cast<int>(::SendMessageW(Window(), LB_GETCURSEL, 0, 0)));
  }

 protected:
  WindowKind Kind() const override {
    return {L"LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_GROUP, WS_EX_CLIENTEDGE};
  }
  void AfterCreate() override {
    ShowItems();
    ShowSelection();
  }
  void OnOwnPropertyChanged(rt::Property property) override {
    if (property == rt::Property::Items) ShowItems();
    if (property == rt::Property::Items || property == rt::Property::Value) ShowSelection();
  }

 private:
  void ShowItems() {
    ::SendMessageW(Window(), LB_RESETCONTENT, 0, 0);
    for (const std::wstring& item : list_.Items())
      ::SendMessageW(Window(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  }
  void ShowSelection() { ::SendMessageW(Window(), LB_SETCURSEL, static_cast<WPARAM>(list_.Selected()), 0); }
  rt::ListBox& list_;
};

}  // namespace

std::unique_ptr<ChildPeer> MakeListBoxPeer(PeerHost& host, rt::ListBox& list) {
  return std::make_unique<ListBoxPeer>(host, list);
}

std::unique_ptr<ChildPeer> MakeSliderPeer(PeerHost& host, rt::Slider& slider) {
  return std::make_unique<SliderPeer>(host, slider);
}
std::unique_ptr<ChildPeer> MakeShortcutBoxPeer(PeerHost& host, rt::ShortcutBox& box) {
  return std::make_unique<ShortcutBoxPeer>(host, box);
}
std::unique_ptr<ChildPeer> MakePressAreaPeer(PeerHost& host, rt::PressArea& area) {
  return std::make_unique<PressAreaPeer>(host, area);
}

}  // namespace win32
