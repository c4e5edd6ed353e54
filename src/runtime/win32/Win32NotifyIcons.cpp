#include "runtime/win32/Win32NotifyIcons.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace win32 {
namespace {

template <std::size_t From, std::size_t To>
void CopyText(const std::array<char16_t, From>& from, WCHAR (&to)[To]) {
  static_assert(From == To, "the tray record mirrors the shell's field sizes");
  std::transform(from.begin(), from.end(), std::begin(to), [](char16_t c) { return static_cast<WCHAR>(c); });
  to[To - 1] = L'\0';
}

}  // namespace

NOTIFYICONDATAW ToNotifyIconData(const rt::TrayRecord& record) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof(data);
  data.hWnd = reinterpret_cast<HWND>(record.hWnd);
  data.uID = record.uID;
  data.uFlags = record.uFlags;
  data.uCallbackMessage = record.uCallbackMessage;
  data.hIcon = reinterpret_cast<HICON>(record.hIcon);
  CopyText(record.szTip, data.szTip);
  data.dwState = record.dwState;
  data.dwStateMask = record.dwStateMask;
  CopyText(record.szInfo, data.szInfo);
  data.uTimeout = record.uTimeout;
  if (record.uVersion != 0) data.uVersion = record.uVersion;
  CopyText(record.szInfoTitle, data.szInfoTitle);
  data.dwInfoFlags = record.dwInfoFlags;
  return data;
}

bool Win32NotifyIcons::Send(std::uint32_t command, const rt::TrayRecord& record) {
  NOTIFYICONDATAW data = ToNotifyIconData(record);
  return ::Shell_NotifyIconW(command, &data) != FALSE;
}

std::optional<rt::ScreenRect> Win32NotifyIcons::IconRect(rt::WindowHandle hWnd, std::uint32_t id) {
  NOTIFYICONIDENTIFIER icon{};
  icon.cbSize = sizeof(icon);
  icon.hWnd = reinterpret_cast<HWND>(hWnd);
  icon.uID = id;
  RECT rect{};
  if (FAILED(::Shell_NotifyIconGetRect(&icon, &rect)) || rect.right <= rect.left || rect.bottom <= rect.top)
    return std::nullopt;
  return rt::ScreenRect{rect.left, rect.top, rect.right, rect.bottom};
}

}  // namespace win32
