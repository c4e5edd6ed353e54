// What the user's display settings say about how our window should look: high contrast,
// and the icon sizes of a DPI. Asked of Windows each time; nothing is decided here.
#pragma once
#include <windows.h>

namespace win32 {

// One of the system's high-contrast themes is on.
bool HighContrastOn();

// The system's small (title bar, tray) and big (Alt+Tab) icon sides at a DPI.
int SmallIconSide(int dpi);
int BigIconSide(int dpi);

// The DPI the taskbar and its tray were laid out at when we started.
int SystemDpi();

}  // namespace win32
