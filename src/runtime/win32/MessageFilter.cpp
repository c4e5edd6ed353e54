#include "runtime/win32/MessageFilter.h"

namespace win32 {

void LetThroughMessageFilter(HWND window, UINT message) {
  // Not running elevated, there is no filter in the way, and the call changes nothing.
  ::ChangeWindowMessageFilterEx(window, message, MSGFLT_ALLOW, nullptr);
}

}  // namespace win32
