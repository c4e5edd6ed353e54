// "tray FILE": puts an icon in the notification area and writes each callback it gets,
// so the harness can find the tray and check its clicks apart from the program under test.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

#include "Modes.h"
#include "Text.h"
#include "Win32Handles.h"

namespace probe {
namespace {

constexpr UINT kCallbackMessage = WM_APP + 1;

LRESULT CALLBACK TrayWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
  } else if (message == kCallbackMessage) {
    HANDLE file = reinterpret_cast<HANDLE>(GetWindowLongPtrW(window, GWLP_USERDATA));
    char line[64];
    const int length = std::snprintf(line, sizeof line, "callback=%u\n", static_cast<unsigned>(lParam));
    DWORD written = 0;
    WriteFile(file, line, static_cast<DWORD>(length), &written, nullptr);
    return 0;
  } else if (message == WM_DESTROY) {
    PostQuitMessage(0);
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int RunTrayIcon(const Arguments& args) {
  if (args.size() != 2) {
    WriteStdout("usage: probe tray FILE\n");
    return 2;
  }
  UniqueFile file(CreateFileW(args[1].c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.get() == INVALID_HANDLE_VALUE) return 2;

  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = TrayWindowProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"VornaticProbeTray";
  RegisterClassExW(&windowClass);
  HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"Probe Tray", WS_OVERLAPPED, 0, 0, 0, 0, nullptr,
                                nullptr, windowClass.hInstance, file.get());
  if (window == nullptr) return 1;

  NOTIFYICONDATAW icon{};
  icon.cbSize = sizeof icon;
  icon.hWnd = window;
  icon.uID = 1;
  icon.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
  icon.uCallbackMessage = kCallbackMessage;
  icon.hIcon = LoadIconW(nullptr, IDI_INFORMATION);
  lstrcpynW(icon.szTip, L"Probe", ARRAYSIZE(icon.szTip));
  const BOOL added = Shell_NotifyIconW(NIM_ADD, &icon);
  const char* ready = added ? "ready\n" : "failed\n";
  DWORD written = 0;
  WriteFile(file.get(), ready, static_cast<DWORD>(std::char_traits<char>::length(ready)), &written, nullptr);
  const int exitCode = PumpUntilQuit();
  Shell_NotifyIconW(NIM_DELETE, &icon);
  return exitCode;
}

}  // namespace probe
