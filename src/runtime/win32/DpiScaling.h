// The window's DPI and the sums that turn the layout's twips into pixels at that DPI.
// The DPI functions of newer systems are looked up at run time, so the program still
// starts on a system that lacks them (it then runs at the screen's DPI).
#pragma once
#include <windows.h>

#include "runtime/controls/Control.h"

namespace win32 {

constexpr int kDefaultDpi = 96;

// GetDpiForWindow where the system has it, else the screen's logical DPI.
int DpiOfWindow(HWND window);

// The outer size of a window with this style whose client area is width x height pixels.
SIZE WindowSizeForClient(int width, int height, DWORD style, DWORD exStyle, int dpi);

// A rectangle in twips as pixels. Each edge is rounded on its own, so controls that share
// an edge in twips share it in pixels too.
RECT PixelRect(const rt::TwipsRect& twips, int dpi);

// The bounds of a control in twips from the client area's corner: a control in a frame is
// placed relative to its frame.
rt::TwipsRect BoundsInClient(const rt::Control& control);

}  // namespace win32
