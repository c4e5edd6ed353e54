// The window classes of our own: the main window, a dialog, and the plain window a user
// control (the tray control) lives in.
#pragma once
#include <windows.h>

namespace win32 {

inline constexpr wchar_t kMainWindowClass[] = L"Vornatic.MainWindow";
inline constexpr wchar_t kControlSiteClass[] = L"Vornatic.ControlSite";
// A dialog beside the main window (Settings): the same procedure under another name, so that
// a second copy of the program looking for the main window never finds the dialog.
inline constexpr wchar_t kDialogClass[] = L"Vornatic.Dialog";

// Registers them once per process; later calls find them registered.
void RegisterHostWindowClasses(HINSTANCE instance, WNDPROC mainWindowProcedure);

}  // namespace win32
