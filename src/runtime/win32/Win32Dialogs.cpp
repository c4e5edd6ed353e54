#include "runtime/win32/Win32Dialogs.h"

namespace win32 {

int Win32Dialogs::MessageBox(const std::wstring& text, int style, const std::wstring& title) {
  // A box owned by a hidden window (the main window in the tray) would be hidden with it.
  HWND owner = owner_ != nullptr && ::IsWindowVisible(owner_) ? owner_ : nullptr;
  return ::MessageBoxW(owner, text.c_str(), title.c_str(), static_cast<UINT>(style) | MB_SETFOREGROUND);
}

}  // namespace win32
