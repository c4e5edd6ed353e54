// Vornatic as Setup meets a copy started as administrator. Windows drops the WM_CLOSE that
// a program of the user's own level (Setup, the uninstaller, taskkill) posts to it, and
// delivers only what the window lets through its message filter. Wine has no integrity
// levels, so this test build of the real program drops every posted WM_CLOSE itself,
// before any of its message loops sees it, and says so on standard error. The close box
// sends WM_CLOSE rather than posting it, so the user can still close the window.
#include <windows.h>

#include "runtime/win32/Handles.h"

namespace {

void Say(const char* text) {
  DWORD written = 0;
  ::WriteFile(::GetStdHandle(STD_ERROR_HANDLE), text, static_cast<DWORD>(::lstrlenA(text)), &written, nullptr);
}

LRESULT CALLBACK DropPostedClose(int code, WPARAM removal, LPARAM lParam) {
  auto& message = *reinterpret_cast<MSG*>(lParam);
  if (code == HC_ACTION && removal == PM_REMOVE && message.message == WM_CLOSE) {
    message.message = WM_NULL;
    Say("elevated model: refused a posted WM_CLOSE\n");
  }
  return ::CallNextHookEx(nullptr, code, removal, lParam);
}

// Made before wWinMain runs, on the thread that runs the program's message loops.
const win32::UniqueHook filter(::SetWindowsHookExW(WH_GETMESSAGE, &DropPostedClose, nullptr, ::GetCurrentThreadId()));

}  // namespace
