// "forget-icon HWND ID" and "broadcast NAME": what a restarting Explorer does to the tray.
// Its new taskbar knows none of the old icons, and it tells every top-level window that it
// is back with the registered message "TaskbarCreated".
#include <windows.h>
#include <shellapi.h>

#include <cwchar>

#include "Modes.h"
#include "Text.h"

namespace probe {

int RunForgetIcon(const Arguments& args) {
  if (args.size() != 3) {
    WriteStdout("usage: probe forget-icon HWND ID\n");
    return 2;
  }
  NOTIFYICONDATAW icon{};
  icon.cbSize = sizeof icon;
  icon.hWnd = reinterpret_cast<HWND>(static_cast<UINT_PTR>(std::wcstoull(args[1].c_str(), nullptr, 16)));
  icon.uID = static_cast<UINT>(std::wcstoul(args[2].c_str(), nullptr, 10));
  return Shell_NotifyIconW(NIM_DELETE, &icon) ? 0 : 1;
}

int RunBroadcast(const Arguments& args) {
  if (args.size() != 2) {
    WriteStdout("usage: probe broadcast NAME\n");
    return 2;
  }
  const UINT message = RegisterWindowMessageW(args[1].c_str());
  return message != 0 && PostMessageW(HWND_BROADCAST, message, 0, 0) ? 0 : 1;
}

}  // namespace probe
