#include "runtime/win32/Win32PopupMenus.h"

#include "runtime/win32/Handles.h"

namespace win32 {

int Win32PopupMenus::Show(const std::vector<rt::MenuItem>& items, rt::WindowHandle owner,
                          std::optional<rt::ScreenPoint> at) {
  const UniqueMenu menu(::CreatePopupMenu());
  if (!menu) return 0;
  for (const rt::MenuItem& item : items) {
    if (item.command == 0)
      ::AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
    else
      ::AppendMenuW(menu.get(), MF_STRING | (item.checked ? MF_CHECKED : MF_UNCHECKED) | (item.grayed ? MF_GRAYED : MF_ENABLED),
                    static_cast<UINT_PTR>(item.command), item.text.c_str());
  }
  POINT point{};
  if (at)
    point = POINT{at->x, at->y};
  else
    ::GetCursorPos(&point);
  HWND window = reinterpret_cast<HWND>(owner);
  // Without our window in front, a click elsewhere would not close the menu (a known trait
  // of menus opened from the notification area), and the message after it lets the
  // menu's loop see that it is over.
  ::SetForegroundWindow(window);
  const int chosen = static_cast<int>(::TrackPopupMenuEx(
      menu.get(), TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_BOTTOMALIGN, point.x, point.y,
      window, nullptr));
  ::PostMessageW(window, WM_NULL, 0, 0);
  return chosen;
}

}  // namespace win32
