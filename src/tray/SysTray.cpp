#include "tray/SysTray.h"

#include "tray/cSysTray.h"

void SysTray::InstallTrayHook(cSysTray& control) {
  const rt::WindowHandle window = control.ControlWindow();
  // Procedure first, then the link, with nothing dispatched in between: by the time a
  // message can reach TrayWindowProc, the window already names its control.
  SavedWindowProc = windowProcs_.ReplaceWindowProc(
      window, [this](rt::WindowHandle hWnd, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
        return TrayWindowProc(hWnd, message, wParam, lParam);
      });
  windowProcs_.SetUserData(window, reinterpret_cast<std::uintptr_t>(&control));
}

void SysTray::RemoveTrayHook(cSysTray& control) {
  windowProcs_.RestoreWindowProc(control.ControlWindow(), SavedWindowProc);
}

std::intptr_t SysTray::TrayWindowProc(rt::WindowHandle hWnd, std::uint32_t message, std::uintptr_t wParam,
                                      std::intptr_t lParam) {
  if (message == cSysTray::TrayCallbackMessage) {
    // Classic notifications: the mouse message in lParam, the icon id in wParam.
    if (auto* control = reinterpret_cast<cSysTray*>(windowProcs_.GetUserData(hWnd))) {
      auto trayMessage = static_cast<std::int32_t>(lParam);
      auto iconId = static_cast<std::int32_t>(wParam);
      control->HandleTrayMessage(trayMessage, iconId);
    }
  }
  return windowProcs_.CallWindowProc(SavedWindowProc, hWnd, message, wParam, lParam);
}
