// How Setup and the uninstaller ask a running Vornatic to close: the message registered
// under kCloseRequestName, posted to the main window. A copy started as administrator
// would not hear their WM_CLOSE, which Windows drops on its way up from a lower integrity
// level; this message the window lets through its filter, and answers it as it answers its
// close box: the tray icon goes, a held button is let go, the program ends.
#pragma once
#include <windows.h>

#include <memory>
#include <optional>

#include "runtime/UnhandledFailure.h"
#include "runtime/win32/WindowSubclass.h"

namespace win32 {

// packaging/Vornatic.nsi and the MSI package's CloseVornatic action (packaging/actions)
// post a message of the same name.
inline constexpr wchar_t kCloseRequestName[] = L"Vornatic.CloseRequest";

// Listens on the main window from construction until it or the window goes.
class CloseRequestListener final : public SubclassHandler {
 public:
  CloseRequestListener(HWND mainWindow, rt::UnhandledFailureSink& failures);
  CloseRequestListener(const CloseRequestListener&) = delete;
  CloseRequestListener& operator=(const CloseRequestListener&) = delete;

  std::optional<LRESULT> OnSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  UINT closeRequest_;
  std::unique_ptr<WindowSubclass> subclass_;
};

}  // namespace win32
