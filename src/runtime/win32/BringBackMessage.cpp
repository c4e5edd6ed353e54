#include "runtime/win32/BringBackMessage.h"

#include "runtime/win32/WindowClasses.h"

namespace win32 {

UINT BringBackMessage() { return ::RegisterWindowMessageW(L"Vornatic.BringBack"); }

void LetBringBackIn(HWND mainWindow) {
  // Looked up, as the function is missing before Windows 7, where nothing needs letting in.
  using ChangeFilterFn = BOOL(WINAPI*)(HWND, UINT, DWORD, PCHANGEFILTERSTRUCT);
  const HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
  const UINT message = BringBackMessage();
  if (user32 == nullptr || message == 0) return;
  const auto change = reinterpret_cast<ChangeFilterFn>(
      reinterpret_cast<void*>(::GetProcAddress(user32, "ChangeWindowMessageFilterEx")));
  if (change != nullptr) change(mainWindow, message, MSGFLT_ALLOW, nullptr);
}

bool AskTheFirstCopyToComeBack() {
  const HWND first = ::FindWindowW(kMainWindowClass, nullptr);
  const UINT message = BringBackMessage();
  if (first == nullptr || message == 0) return false;
  // Windows lets only the program the user just started take the foreground; that is us,
  // and the window that should come to the front is the first copy's.
  DWORD firstProcess = 0;
  ::GetWindowThreadProcessId(first, &firstProcess);
  ::AllowSetForegroundWindow(firstProcess);
  return ::PostMessageW(first, message, 0, 0) != FALSE;
}

}  // namespace win32
