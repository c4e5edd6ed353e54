// An executable that imports UxTheme statically, as Vornatic.exe once did: the release
// check must refuse it and name the DLL.
#include <windows.h>
#include <uxtheme.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return ::IsThemeActive() ? 0 : 1; }
