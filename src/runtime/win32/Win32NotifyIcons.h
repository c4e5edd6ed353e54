// The notification area, fed through Shell_NotifyIconW.
#pragma once
#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include "runtime/NotifyIcon.h"

namespace win32 {

// The shell's record for one call, every field copied from the program's; each text field
// ends in a NUL even if the program's did not.
NOTIFYICONDATAW ToNotifyIconData(const rt::TrayRecord& record);

class Win32NotifyIcons : public rt::NotifyIcons {
 public:
  bool Send(std::uint32_t command, const rt::TrayRecord& record) override;
  std::optional<rt::ScreenRect> IconRect(rt::WindowHandle hWnd, std::uint32_t id) override;
};

}  // namespace win32
