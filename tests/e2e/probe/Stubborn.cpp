// "stubborn CLASS": a hung copy of a program as Setup sees it: a window of that class that
// hears every request to close, WM_CLOSE and the program's own close request alike, and
// does nothing about any of them.
#include <windows.h>

#include "Modes.h"

namespace probe {

int RunStubbornWindow(const Arguments& args) {
  if (args.size() != 2) return 2;
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
    if (message == WM_CLOSE) return 0;
    return DefWindowProcW(window, message, wParam, lParam);
  };
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  windowClass.lpszClassName = args[1].c_str();
  RegisterClassExW(&windowClass);
  if (CreateWindowExW(0, windowClass.lpszClassName, L"Probe Stubborn", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60, 60, 300,
                      200, nullptr, nullptr, windowClass.hInstance, nullptr) == nullptr) {
    return 1;
  }
  return PumpUntilQuit();
}

}  // namespace probe
