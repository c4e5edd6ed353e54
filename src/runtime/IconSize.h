// The sides of the window's icons at a DPI, for systems that cannot tell us themselves
// (before Windows 10's per-monitor metrics): Windows scales its 96-DPI icon sizes.
#pragma once

namespace rt {

inline constexpr int kSmallIconAt96 = 16;  // title bar, taskbar, tray
inline constexpr int kBigIconAt96 = 32;    // Alt+Tab

// Scaled from 96 DPI and rounded to the nearest pixel, as the system metrics are.
constexpr int IconSideAt(int sideAt96, int dpi) { return dpi <= 0 ? sideAt96 : (sideAt96 * dpi + 48) / 96; }

}  // namespace rt
