// The tray icon's menu through TrackPopupMenuEx, which runs its own message loop until a
// choice is made or the menu is dismissed.
#pragma once
#include <windows.h>

#include "runtime/PopupMenus.h"

namespace win32 {

class Win32PopupMenus : public rt::PopupMenus {
 public:
  int Show(const std::vector<rt::MenuItem>& items, rt::WindowHandle owner, std::optional<rt::ScreenPoint> at) override;
};

}  // namespace win32
