// Switching a control's visual style (UxTheme's SetWindowTheme) off and back on, through
// UxTheme loaded from System32 at run time rather than imported.
#pragma once
#include <windows.h>

namespace win32 {

// Leaves the control to the classic drawing, which takes the program's colours.
void TurnVisualStyleOff(HWND control);
// Gives the control the system's visual style again.
void TurnVisualStyleOn(HWND control);

}  // namespace win32
