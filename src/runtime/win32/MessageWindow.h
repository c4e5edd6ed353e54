// A message-only window of our own: where Windows posts what the backend asks for (tasks,
// the shortcut, raw input). Its owner is found again through the window's user data.
#pragma once
#include <windows.h>

#include "runtime/win32/Handles.h"

namespace win32 {

// Registers the class once per process (a later call finds it registered), creates the
// window and names the owner in its user data; throws when Windows refuses.
UniqueWindow MakeMessageWindow(HINSTANCE instance, const wchar_t* windowClass, WNDPROC procedure, void* owner);

template <typename Owner>
Owner* OwnerOf(HWND window) {
  return reinterpret_cast<Owner*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
}

}  // namespace win32
