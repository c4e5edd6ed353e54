// How Setup and the uninstaller ask a running Vornatic to close: the message registered
// under kCloseRequestName, posted to the main window. A copy started as administrator
// would not hear their WM_CLOSE, which Windows drops on its way up from a lower integrity
// level; this message the window lets through its filter, and answers it as it answers its
// close box: the tray icon goes, a held button is let go, the program ends.
#pragma once
#include <windows.h>

namespace win32 {

// Packaging/Vornatic.nsi posts a message of the same name.
inline constexpr wchar_t kCloseRequestName[] = L"Vornatic.CloseRequest";

// Listens on the main window from construction until it or the window goes.
class CloseRequestListener {
 public:
  explicit CloseRequestListener(HWND mainWindow);
  CloseRequestListener(const CloseRequestListener&) = delete;
  CloseRequestListener& operator=(const CloseRequestListener&) = delete;
  ~CloseRequestListener();

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                    DWORD_PTR self);

  HWND window_;
  UINT closeRequest_;
};

}  // namespace win32
