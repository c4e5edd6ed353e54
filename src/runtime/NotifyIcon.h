// The shell's notification area, fed with our tray record (the NOTIFYICONDATAW fields).
#pragma once
#include <array>
#include <cstdint>
#include <optional>

#include "runtime/MouseInput.h"
#include "runtime/Types.h"

namespace rt {

namespace nim {
constexpr std::uint32_t kAdd = 0;
constexpr std::uint32_t kModify = 1;
constexpr std::uint32_t kDelete = 2;
constexpr std::uint32_t kSetVersion = 4;
}  // namespace nim
namespace nif {
constexpr std::uint32_t kMessage = 1;
constexpr std::uint32_t kIcon = 2;
constexpr std::uint32_t kTip = 4;
constexpr std::uint32_t kInfo = 16;
// With version 4 the shell shows the tip only when asked to.
constexpr std::uint32_t kShowTip = 0x80;
}  // namespace nif
// The notification behaviour that lets the icon be worked from the keyboard (Win+B,
// arrows, Enter or Space) and sends its notices as (message | icon id << 16) in lParam.
constexpr std::uint32_t kNotifyIconVersion4 = 4;

// Text fields hold UTF-16 code units, as the W record does.
struct TrayRecord {
  WindowHandle hWnd = 0;
  std::uint32_t uID = 0;
  std::uint32_t uFlags = 0;
  std::uint32_t uCallbackMessage = 0;
  std::uintptr_t hIcon = 0;
  std::array<char16_t, 128> szTip{};
  std::uint32_t dwState = 0;
  std::uint32_t dwStateMask = 0;
  std::array<char16_t, 256> szInfo{};
  std::uint32_t uTimeout = 0;
  // The shell keeps uTimeout and uVersion in one field; NIM_SETVERSION reads it as this.
  std::uint32_t uVersion = 0;
  std::array<char16_t, 64> szInfoTitle{};
  std::uint32_t dwInfoFlags = 0;
};

class NotifyIcons {
 public:
  virtual ~NotifyIcons() = default;
  virtual bool Send(std::uint32_t command, const TrayRecord& record) = 0;
  // Where the shell shows our icon now; none when it is hidden in the overflow or the
  // shell cannot say. Asks the shell, so never from inside the mouse hook.
  virtual std::optional<ScreenRect> IconRect(WindowHandle hWnd, std::uint32_t id) = 0;
};

}  // namespace rt
