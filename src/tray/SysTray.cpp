#include "tray/SysTray.h"

void SysTray::InstallTrayHook(TrayNotificationTarget& control) {
  const rt::WindowHandle window = control.ControlWindow();
  // Procedure first, then the link, with nothing dispatched in between: by the time a
  // message can reach TrayWindowProc, the window already names its control.
  savedWindowProc_ = windowProcs_.ReplaceWindowProc(
      window, [this](rt::WindowHandle hWnd, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
        return TrayWindowProc(hWnd, message, wParam, lParam);
      });
  windowProcs_.SetUserData(window, reinterpret_cast<std::uintptr_t>(&control));
}

void SysTray::RemoveTrayHook(TrayNotificationTarget& control) {
  windowProcs_.RestoreWindowProc(control.ControlWindow(), savedWindowProc_);
}

std::intptr_t SysTray::TrayWindowProc(rt::WindowHandle hWnd, std::uint32_t message, std::uintptr_t wParam,
                                      std::intptr_t lParam) {
  if (message == TrayCallbackMessage) {
    if (auto* control = reinterpret_cast<TrayNotificationTarget*>(windowProcs_.GetUserData(hWnd))) {
      if (control->UsesVersion4()) {
        const auto packed = static_cast<std::uint32_t>(lParam);
        control->HandleTrayMessage(static_cast<std::int32_t>(packed & 0xFFFFu),
                                   static_cast<std::int32_t>(packed >> 16));
      } else {
        control->HandleTrayMessage(static_cast<std::int32_t>(lParam), static_cast<std::int32_t>(wParam));
      }
    }
  }
  return windowProcs_.CallWindowProc(savedWindowProc_, hWnd, message, wParam, lParam);
}
