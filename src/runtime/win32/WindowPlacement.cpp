#include "runtime/win32/WindowPlacement.h"

#include "runtime/win32/DpiScaling.h"

namespace win32 {

void FitClientArea(HWND window, SIZE client, int dpi, std::optional<POINT> topLeft) {
  const auto style = static_cast<DWORD>(::GetWindowLongW(window, GWL_STYLE));
  const auto exStyle = static_cast<DWORD>(::GetWindowLongW(window, GWL_EXSTYLE));
  SIZE outer = WindowSizeForClient(client.cx, client.cy, style, exStyle, dpi);
  ::SetWindowPos(window, nullptr, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  // The frame the system really draws can differ from its own sums (a DPI other than the
  // system's, an emulated frame): measure, and make the client area come out exact.
  RECT measured{};
  ::GetClientRect(window, &measured);
  outer.cx += client.cx - measured.right;
  outer.cy += client.cy - measured.bottom;
  POINT place{};
  if (topLeft) {
    place = *topLeft;
  } else {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    ::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& work = monitor.rcWork;
    place.x = work.left + (work.right - work.left - outer.cx) / 2;
    place.y = work.top + (work.bottom - work.top - outer.cy) / 2;
  }
  ::SetWindowPos(window, nullptr, place.x, place.y, outer.cx, outer.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

POINT PrimaryWorkAreaCorner() {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  ::GetMonitorInfoW(::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor);
  return POINT{monitor.rcWork.left, monitor.rcWork.top};
}

}  // namespace win32
