// SysTray, the tray message routing: the shell's tray notifications arrive as a message to
// the tray control's own window, and this takes over that window's procedure to hand them
// to the control's decoder.
#pragma once
#include <cstdint>

#include "runtime/Types.h"
#include "runtime/WindowProcs.h"

// What the routing needs of a tray control: the window the shell talks to, how the shell
// packs its notices for it, and the decoder for what it says.
class TrayNotificationTarget {
 public:
  virtual rt::WindowHandle ControlWindow() = 0;
  // True once the shell took the control's request for version 4: the notice is then in
  // lParam's low word and the icon id in its high word, and wParam holds where the icon is.
  // Otherwise (the classic form) lParam is the notice and wParam the icon id.
  virtual bool UsesVersion4() const = 0;
  // message is a mouse message, a selection or a balloon notice; id the icon's.
  virtual void HandleTrayMessage(std::int32_t message, std::int32_t id) = 0;

 protected:
  ~TrayNotificationTarget() = default;
};

class SysTray {
 public:
  // The message the shell sends to the control's window for its icon.
  static constexpr std::uint32_t TrayCallbackMessage = rt::msg::kUser + 101;  // 1125

  explicit SysTray(rt::WindowProcs& windowProcs) : windowProcs_(windowProcs) {}
  SysTray(const SysTray&) = delete;
  SysTray& operator=(const SysTray&) = delete;

  // Makes TrayWindowProc the procedure of the control's window and lets the window name
  // the control (a non-owning link: the control outlives its hook).
  void InstallTrayHook(TrayNotificationTarget& control);
  // Puts the procedure that InstallTrayHook replaced back.
  void RemoveTrayHook(TrayNotificationTarget& control);
  // Decodes the tray callback message for the control, then hands every message, the
  // callback included, to the replaced procedure and returns what it returns.
  std::intptr_t TrayWindowProc(rt::WindowHandle hWnd, std::uint32_t message, std::uintptr_t wParam,
                               std::intptr_t lParam);

  // The procedure TrayWindowProc replaced; one slot, so one hooked control at a time.
  std::uintptr_t SavedWindowProc() const { return savedWindowProc_; }

 private:
  rt::WindowProcs& windowProcs_;
  std::uintptr_t savedWindowProc_ = 0;
};
