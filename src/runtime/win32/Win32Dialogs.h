// Message boxes, owned by the main window while the user can see it.
#pragma once
#include <windows.h>

#include "runtime/Dialogs.h"

namespace win32 {

class Win32Dialogs : public rt::Dialogs {
 public:
  void SetOwner(HWND owner) { owner_ = owner; }
  int MessageBox(const std::wstring& text, int style, const std::wstring& title) override;

 private:
  HWND owner_ = nullptr;
};

}  // namespace win32
