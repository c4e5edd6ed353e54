#include "runtime/win32/FocusMemory.h"

namespace win32 {
namespace {

bool CanTakeFocus(HWND control) {
  const LONG style = ::GetWindowLongW(control, GWL_STYLE);
  // The style bit, not IsWindowVisible: this is also asked while the window is hidden.
  return (style & WS_VISIBLE) != 0 && (style & WS_TABSTOP) != 0 && ::IsWindowEnabled(control);
}

}  // namespace

HWND FirstTabStop(HWND window) {
  for (HWND child = ::GetWindow(window, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT))
    if (CanTakeFocus(child)) return child;
  return nullptr;
}

void FocusMemory::Remember(HWND window) {
  HWND focus = ::GetFocus();
  if (focus != nullptr && ::IsChild(window, focus)) last_ = focus;
}

void FocusMemory::Restore(HWND window) {
  HWND target = last_;
  if (target == nullptr || !::IsChild(window, target) || !CanTakeFocus(target)) target = FirstTabStop(window);
  ::SetFocus(target != nullptr ? target : window);
}

void FocusMemory::MoveOnFrom(HWND window, HWND leaving) {
  if (last_ == leaving) last_ = nullptr;
  HWND next = ::GetNextDlgTabItem(window, leaving, FALSE);
  if (next == nullptr || next == leaving) next = FirstTabStop(window);
  ::SetFocus(next != nullptr ? next : window);
}

}  // namespace win32
