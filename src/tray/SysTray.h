// Routes the shell's tray notifications, which arrive as a message to the tray control's
// own window, to that control's decoder by taking over the window's procedure.
#pragma once
#include <cstdint>

#include "runtime/WindowProcs.h"

class cSysTray;

class SysTray {
 public:
  explicit SysTray(rt::WindowProcs& windowProcs) : windowProcs_(windowProcs) {}
  SysTray(const SysTray&) = delete;
  SysTray& operator=(const SysTray&) = delete;

  // Makes TrayWindowProc the procedure of the control's window and lets the window name
  // the control (a non-owning link: the control outlives its hook).
  void InstallTrayHook(cSysTray& control);
  // Puts the procedure that InstallTrayHook replaced back.
  void RemoveTrayHook(cSysTray& control);
  // Decodes the tray callback message for the control, then hands every message, the
  // callback included, to the replaced procedure and returns what it returns.
  std::intptr_t TrayWindowProc(rt::WindowHandle hWnd, std::uint32_t message, std::uintptr_t wParam,
                               std::intptr_t lParam);

  // The procedure TrayWindowProc replaced; one slot, so one hooked control at a time.
  std::uintptr_t SavedWindowProc = 0;

 private:
  rt::WindowProcs& windowProcs_;
};
