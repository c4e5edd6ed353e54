// Turning the program's mouse events into SendInput records: which flags a window
// message needs, and where on the virtual desktop an absolute point lands.
#pragma once
#include <windows.h>

#include <vector>

#include "runtime/MouseInput.h"

namespace win32 {

// The 0..65535 coordinate SendInput wants for a pixel of the virtual desktop, chosen a
// quarter pixel into it, so that both ways Windows versions scale it back (by 65536 and
// rounding down, or by 65535 and rounding) land on that very pixel.
LONG NormalisedCoordinate(LONG pixel, LONG desktopOrigin, LONG desktopExtent);

// One INPUT record per event; the virtual desktop's rectangle places absolute points.
std::vector<INPUT> ToInputRecords(const std::vector<rt::MouseEventToInject>& events, std::uintptr_t extraInfo,
                                  const RECT& virtualDesktop);

RECT VirtualDesktop();

}  // namespace win32
