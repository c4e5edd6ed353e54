#include "tray/SysTray.h"

void SysTray::InstallTrayHook(rt::WindowHandle window, Callback callback) {
  callback_ = std::move(callback);
  // Procedure first, then the link, with nothing dispatched in between: by the time a
  // message can reach TrayWindowProc, the window already names where it goes.
  savedWindowProc_ = windowProcs_.ReplaceWindowProc(
      window, [this](rt::WindowHandle hWnd, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
        return TrayWindowProc(hWnd, message, wParam, lParam);
      });
  windowProcs_.SetUserData(window, reinterpret_cast<std::uintptr_t>(&callback_));
}

void SysTray::RemoveTrayHook(rt::WindowHandle window) {
  windowProcs_.RestoreWindowProc(window, savedWindowProc_);
  windowProcs_.SetUserData(window, 0);
}

std::intptr_t SysTray::TrayWindowProc(rt::WindowHandle hWnd, std::uint32_t message, std::uintptr_t wParam,
                                      std::intptr_t lParam) {
  if (message == TrayCallbackMessage)
    if (const auto* link = reinterpret_cast<const Callback*>(windowProcs_.GetUserData(hWnd)); link && *link)
      (*link)(wParam, lParam);
  return windowProcs_.CallWindowProc(savedWindowProc_, hWnd, message, wParam, lParam);
}
