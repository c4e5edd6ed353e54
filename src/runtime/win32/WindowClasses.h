// The window classes of our own: the main window and the plain window a user control
// (the tray control) lives in.
#pragma once
#include <windows.h>

namespace win32 {

inline constexpr wchar_t kMainWindowClass[] = L"Vornatic.MainWindow";
inline constexpr wchar_t kControlSiteClass[] = L"Vornatic.ControlSite";

// Registers both once per process; later calls find them registered.
void RegisterHostWindowClasses(HINSTANCE instance, WNDPROC mainWindowProcedure);

}  // namespace win32
