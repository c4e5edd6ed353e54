// Where the keyboard focus goes back to inside the main window: the control that had it
// when the window was last left, else the first control in the tab order.
#pragma once
#include <windows.h>

namespace win32 {

class FocusMemory {
 public:
  // Notes the focused control, if it is one of the window's.
  void Remember(HWND window);
  void Restore(HWND window);
  // The focused control is being hidden or disabled: the focus moves on in the tab order.
  void MoveOnFrom(HWND window, HWND leaving);

 private:
  HWND last_ = nullptr;
};

// The first control that can take the focus; stacking order is tab order.
HWND FirstTabStop(HWND window);

}  // namespace win32
