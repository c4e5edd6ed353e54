#include "runtime/win32/WindowSubclass.h"

#include <commctrl.h>

#include "runtime/Failure.h"
#include "runtime/win32/Guarded.h"

namespace win32 {
namespace {
// Each subclass is told apart by its own address, so several can live on one window (the
// main window has the session watch and the close request).
UINT_PTR IdOf(const WindowSubclass* subclass) { return reinterpret_cast<UINT_PTR>(subclass); }
}  // namespace

WindowSubclass::WindowSubclass(HWND window, SubclassHandler& handler, rt::UnhandledFailureSink& failures)
    : window_(window), handler_(handler), failures_(failures) {
  if (!::SetWindowSubclass(window, &WindowSubclass::Procedure, IdOf(this), reinterpret_cast<DWORD_PTR>(this)))
    throw rt::Failure(L"A control of the main window could not be set up.");
}

WindowSubclass::~WindowSubclass() {
  if (window_ != nullptr) ::RemoveWindowSubclass(window_, &WindowSubclass::Procedure, IdOf(this));
}

LRESULT CALLBACK WindowSubclass::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                           DWORD_PTR self) {
  auto& subclass = *reinterpret_cast<WindowSubclass*>(self);
  if (message == WM_NCDESTROY) {
    ::RemoveWindowSubclass(window, &WindowSubclass::Procedure, IdOf(&subclass));
    subclass.window_ = nullptr;
    return ::DefSubclassProc(window, message, wParam, lParam);
  }
  return Guarded(
      subclass.failures_,
      [&] {
        const std::optional<LRESULT> answer = subclass.handler_.OnSubclassMessage(window, message, wParam, lParam);
        return answer ? *answer : ::DefSubclassProc(window, message, wParam, lParam);
      },
      [&] { return ::DefSubclassProc(window, message, wParam, lParam); });
}

}  // namespace win32
