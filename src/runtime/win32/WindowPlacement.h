// Sizing a window so that its client area comes out at an exact pixel size, and placing it.
#pragma once
#include <windows.h>

#include <optional>

namespace win32 {

// Centred on the work area of the window's monitor, or with its corner at topLeft.
void FitClientArea(HWND window, SIZE client, int dpi, std::optional<POINT> topLeft);

// The corner of the primary monitor's work area, where a window is made before it is placed.
POINT PrimaryWorkAreaCorner();

}  // namespace win32
