// A WM_MOUSEMOVE as the model's pointer-move arguments: buttons 1 left, 2 right, 4 middle;
// shift 1 Shift, 2 Ctrl, 4 Alt; the position in twips from the control's own corner.
#pragma once
#include <windows.h>
#include <windowsx.h>

#include "runtime/controls/Control.h"

namespace win32 {

inline rt::MouseMoveArgs MouseMoveArgsFrom(WPARAM keys, LPARAM position, int dpi) {
  rt::MouseMoveArgs args;
  if (keys & MK_LBUTTON) args.button |= 1;
  if (keys & MK_RBUTTON) args.button |= 2;
  if (keys & MK_MBUTTON) args.button |= 4;
  if (keys & MK_SHIFT) args.shift |= 1;
  if (keys & MK_CONTROL) args.shift |= 2;
  if (::GetKeyState(VK_MENU) < 0) args.shift |= 4;
  args.x = static_cast<float>(GET_X_LPARAM(position) * 1440.0 / dpi);
  args.y = static_cast<float>(GET_Y_LPARAM(position) * 1440.0 / dpi);
  return args;
}

}  // namespace win32
