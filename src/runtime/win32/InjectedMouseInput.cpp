#include "runtime/win32/InjectedMouseInput.h"

namespace win32 {
namespace {

DWORD ButtonFlags(std::uint32_t message) {
  switch (message) {
    case WM_LBUTTONDOWN: return MOUSEEVENTF_LEFTDOWN;
    case WM_LBUTTONUP: return MOUSEEVENTF_LEFTUP;
    case WM_RBUTTONDOWN: return MOUSEEVENTF_RIGHTDOWN;
    case WM_RBUTTONUP: return MOUSEEVENTF_RIGHTUP;
    case WM_MBUTTONDOWN: return MOUSEEVENTF_MIDDLEDOWN;
    case WM_MBUTTONUP: return MOUSEEVENTF_MIDDLEUP;
    case WM_XBUTTONDOWN: return MOUSEEVENTF_XDOWN;
    case WM_XBUTTONUP: return MOUSEEVENTF_XUP;
    case WM_MOUSEWHEEL: return MOUSEEVENTF_WHEEL;
    case WM_MOUSEHWHEEL: return MOUSEEVENTF_HWHEEL;
    default: return 0;  // a move: the position is all there is to it
  }
}

// The hook reports the wheel delta and the X button in the high word; SendInput takes
// them as they are.
DWORD InjectedMouseData(std::uint32_t message, std::uint32_t hookMouseData) {
  switch (message) {
    case WM_XBUTTONDOWN:
    case WM_XBUTTONUP: return HIWORD(hookMouseData);
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL: return static_cast<DWORD>(static_cast<LONG>(static_cast<SHORT>(HIWORD(hookMouseData))));
    default: return 0;
  }
}

}  // namespace

LONG NormalisedCoordinate(LONG pixel, LONG desktopOrigin, LONG desktopExtent) {
  if (desktopExtent <= 0) return 0;
  const LONGLONG offset = static_cast<LONGLONG>(pixel) - desktopOrigin;
  return static_cast<LONG>((offset * 65536 + 16384) / desktopExtent);
}

std::vector<INPUT> ToInputRecords(const std::vector<rt::MouseEventToInject>& events, std::uintptr_t extraInfo,
                                  const RECT& virtualDesktop) {
  std::vector<INPUT> records;
  records.reserve(events.size());
  for (const rt::MouseEventToInject& event : events) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = ButtonFlags(event.message);
    input.mi.mouseData = InjectedMouseData(event.message, event.mouseData);
    input.mi.dwExtraInfo = extraInfo;
    if (event.at) {
      // Every monitor, the ones left of and above the primary one too, in physical pixels
      // (the process is per-monitor aware), as the hook reported them.
      input.mi.dwFlags |= MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;
      input.mi.dx = NormalisedCoordinate(event.at->x, virtualDesktop.left, virtualDesktop.right - virtualDesktop.left);
      input.mi.dy = NormalisedCoordinate(event.at->y, virtualDesktop.top, virtualDesktop.bottom - virtualDesktop.top);
    }
    // A move without a point would be no move at all; a move with one keeps its place in the path.
    if (event.message == WM_MOUSEMOVE) input.mi.dwFlags |= MOUSEEVENTF_MOVE_NOCOALESCE;
    records.push_back(input);
  }
  return records;
}

RECT VirtualDesktop() {
  const int left = ::GetSystemMetrics(SM_XVIRTUALSCREEN);
  const int top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
  return RECT{left, top, left + ::GetSystemMetrics(SM_CXVIRTUALSCREEN), top + ::GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

}  // namespace win32
