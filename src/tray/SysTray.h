// SysTray, the tray message routing: the shell's tray notifications arrive as a message to
// the tray control's own window, and this takes over that window's procedure to hand each
// one to whoever installed the routing, before the window's own procedure sees it.
#pragma once
#include <cstdint>
#include <functional>

#include "runtime/Types.h"
#include "runtime/WindowProcs.h"

class SysTray {
 public:
  // The message the shell sends to the control's window for its icon.
  static constexpr std::uint32_t TrayCallbackMessage = rt::msg::kUser + 101;  // 1125
  // The callback message's two parameters, as the shell sent them.
  using Callback = std::function<void(std::uintptr_t wParam, std::intptr_t lParam)>;

  explicit SysTray(rt::WindowProcs& windowProcs) : windowProcs_(windowProcs) {}
  SysTray(const SysTray&) = delete;
  SysTray& operator=(const SysTray&) = delete;

  // Makes TrayWindowProc the procedure of the window and lets the window name where its
  // callback messages go (a non-owning link: the installer removes it before it goes).
  void InstallTrayHook(rt::WindowHandle window, Callback callback);
  // Puts the procedure that InstallTrayHook replaced back.
  void RemoveTrayHook(rt::WindowHandle window);
  // Hands the tray callback message on, then every message, the callback included, to the
  // replaced procedure, and returns what it returns.
  std::intptr_t TrayWindowProc(rt::WindowHandle hWnd, std::uint32_t message, std::uintptr_t wParam,
                               std::intptr_t lParam);

  // The procedure TrayWindowProc replaced; one slot, so one hooked window at a time.
  std::uintptr_t SavedWindowProc() const { return savedWindowProc_; }

 private:
  rt::WindowProcs& windowProcs_;
  std::uintptr_t savedWindowProc_ = 0;
  Callback callback_;
};
