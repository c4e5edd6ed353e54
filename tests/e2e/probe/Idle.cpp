// "idle": a window that only waits for messages, the yardstick for a program at rest.
#include <windows.h>

#include "Modes.h"

namespace probe {

int RunIdleWindow(const Arguments&) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(window, message, wParam, lParam);
  };
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  windowClass.lpszClassName = L"VornaticProbeIdle";
  RegisterClassExW(&windowClass);
  if (CreateWindowExW(0, windowClass.lpszClassName, L"Probe Idle", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 300, 200,
                      nullptr, nullptr, windowClass.hInstance, nullptr) == nullptr) {
    return 1;
  }
  return PumpUntilQuit();
}

int PumpUntilQuit() {
  MSG message{};
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

}  // namespace probe
