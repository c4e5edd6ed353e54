#include "runtime/win32/CloseRequest.h"

#include "runtime/win32/MessageFilter.h"

namespace win32 {

CloseRequestListener::CloseRequestListener(HWND mainWindow, rt::UnhandledFailureSink& failures)
    : closeRequest_(::RegisterWindowMessageW(kCloseRequestName)) {
  // Without it, Setup's WM_CLOSE still reaches a copy that runs at the user's own level.
  if (closeRequest_ == 0) return;
  subclass_ = std::make_unique<WindowSubclass>(mainWindow, *this, failures);
  LetThroughMessageFilter(mainWindow, closeRequest_);
}

std::optional<LRESULT> CloseRequestListener::OnSubclassMessage(HWND window, UINT message, WPARAM, LPARAM) {
  if (message != closeRequest_) return std::nullopt;
  // Sent from the window's own thread, it takes the path of the close box.
  ::SendMessageW(window, WM_CLOSE, 0, 0);
  return 0;
}

}  // namespace win32
