#include "runtime/win32/BringBackMessage.h"

#include "runtime/win32/MessageFilter.h"
#include "runtime/win32/WindowClasses.h"

namespace win32 {

UINT BringBackMessage() { return ::RegisterWindowMessageW(L"Vornatic.BringBack"); }

void LetBringBackIn(HWND mainWindow) {
  const UINT message = BringBackMessage();
  if (message != 0) LetThroughMessageFilter(mainWindow, message);
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
