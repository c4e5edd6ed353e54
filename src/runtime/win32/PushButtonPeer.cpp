#include "runtime/win32/PushButtonPeer.h"

#include <commctrl.h>

#include "runtime/win32/AccessibleAnnotations.h"
#include "runtime/win32/MouseMoveArgs.h"
#include "runtime/win32/OwnerDrawnButton.h"

namespace win32 {
namespace {

// Enter clicks a push button that has the focus, so the default button then gives up its look.
bool OtherPushButtonFocused(HWND button) {
  const HWND focus = ::GetFocus();
  if (focus == nullptr || focus == button || ::GetParent(focus) != ::GetParent(button)) return false;
  wchar_t className[16] = {};
  if (::GetClassNameW(focus, className, 16) == 0 || ::lstrcmpiW(className, L"Button") != 0) return false;
  const LONG_PTR kind = ::GetWindowLongPtrW(focus, GWL_STYLE) & BS_TYPEMASK;
  return kind == BS_OWNERDRAW || kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON;
}

}  // namespace

void PushButtonPeer::AfterCreate() {
  subclass_.emplace(Window(), static_cast<SubclassHandler&>(*this), host_.Failures());
  // Drawn by us, the button could pass for a plain button window to a screen reader: it
  // says what it is and what pressing it does.
  host_.Annotations().SetNumber(Window(), kRoleProperty, ROLE_SYSTEM_PUSHBUTTON);
  host_.Annotations().SetText(Window(), kDefaultActionProperty, host_.PressActionName().c_str());
}

void PushButtonPeer::OnCommand(WORD notification) {
  if (notification != BN_CLICKED) return;
  LetGoOfTheMouse();
  button_.RaiseClick();
}

bool PushButtonPeer::OnDrawItem(const DRAWITEMSTRUCT& item) {
  // A window that went into the tray under the pointer comes back without it.
  POINT pointer{};
  const bool pointerOver = ::GetCursorPos(&pointer) && ::WindowFromPoint(pointer) == item.hwndItem;
  ButtonFaceState state = FaceStateOf(item, hover_ && pointerOver);
  state.isDefault = button_.Default() && !OtherPushButtonFocused(item.hwndItem);
  PaintPushButton(item.hDC, item.rcItem, host_.LookOf(button_).button, button_.Caption(), host_.FontFor(button_), state,
                  host_.Dpi());
  return true;
}

void PushButtonPeer::OnOwnPropertyChanged(rt::Property property) {
  if (property == rt::Property::Look) Repaint();
}

void PushButtonPeer::SetHover(HWND window, bool hover) {
  if (hover_ == hover) return;
  hover_ = hover;
  ::InvalidateRect(window, nullptr, FALSE);
}

std::optional<LRESULT> PushButtonPeer::OnSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MOUSEMOVE: {
      // Asked again on every move: a leave notice can go missing while the window hides.
      TRACKMOUSEEVENT leave{sizeof(leave), TME_LEAVE, window, 0};
      ::TrackMouseEvent(&leave);
      SetHover(window, true);
      rt::MouseMoveArgs args = MouseMoveArgsFrom(wParam, lParam, host_.Dpi());
      button_.RaiseMouseMove(args);
      return std::nullopt;
    }
    case WM_MOUSELEAVE:
      SetHover(window, false);
      return std::nullopt;
    case WM_LBUTTONDBLCLK:
      // An owner-drawn button would turn the second click of a quick pair into a
      // double-click notice and drop it; a push button counts every click.
      return ::DefSubclassProc(window, WM_LBUTTONDOWN, wParam, lParam);
    case WM_GETDLGCODE:
      // Enter presses the focused button, as in a dialog.
      return DLGC_BUTTON | (::GetFocus() == window ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
    case BM_SETSTYLE:
      // The dialog manager makes buttons default by restyling them; that would drop the
      // owner-drawn style, and the default look is part of our own drawing anyway.
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      // The default button's look follows the focus among the buttons.
      ::RedrawWindow(::GetParent(window), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
      return std::nullopt;
    case WM_ERASEBKGND:
      return 1;  // WM_DRAWITEM paints every pixel
    default:
      return std::nullopt;
  }
}

}  // namespace win32
