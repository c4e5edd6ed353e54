// Windows drops most messages that a program of a lower integrity level sends to a program
// started as administrator. A window names here the messages it wants to hear from them.
#pragma once
#include <windows.h>

namespace win32 {

// Lets programs of any integrity level deliver this message to the window.
void LetThroughMessageFilter(HWND window, UINT message);

}  // namespace win32
