// The pointer over the main window's client area, from the form's pointer setting:
// 0 the arrow, 11 the hourglass, 99 the form's own cursor (the arrow while it has none).
#pragma once
#include <windows.h>

#include "runtime/controls/Form.h"

namespace win32 {

HCURSOR CursorFor(const rt::Form& form);

// The setting changed while the pointer may be resting on the window: shows the new shape
// now, the same way a move of the pointer would.
void RefreshPointerOver(HWND window);

}  // namespace win32
