#include "runtime/win32/CloseRequest.h"

#include <commctrl.h>

#include "runtime/win32/MessageFilter.h"

namespace win32 {
namespace {
constexpr UINT_PTR kSubclassId = 0x436C6F73;  // "Clos": apart from the window's other subclasses
}  // namespace

CloseRequestListener::CloseRequestListener(HWND mainWindow)
    : window_(mainWindow), closeRequest_(::RegisterWindowMessageW(kCloseRequestName)) {
  if (closeRequest_ == 0 || !::SetWindowSubclass(window_, &Procedure, kSubclassId, reinterpret_cast<DWORD_PTR>(this))) {
    // Setup's WM_CLOSE still reaches a copy that runs at the user's own level.
    window_ = nullptr;
    return;
  }
  LetThroughMessageFilter(window_, closeRequest_);
}

CloseRequestListener::~CloseRequestListener() {
  if (window_ != nullptr) ::RemoveWindowSubclass(window_, &Procedure, kSubclassId);
}

LRESULT CALLBACK CloseRequestListener::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                                 DWORD_PTR self) {
  auto& listener = *reinterpret_cast<CloseRequestListener*>(self);
  if (message == listener.closeRequest_) {
    // Sent from the window's own thread, it takes the path of the close box.
    ::SendMessageW(window, WM_CLOSE, 0, 0);
    return 0;
  }
  if (message == WM_NCDESTROY) {
    ::RemoveWindowSubclass(window, &Procedure, kSubclassId);
    listener.window_ = nullptr;
  }
  return ::DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace win32
