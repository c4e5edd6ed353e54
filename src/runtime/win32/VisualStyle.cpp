#include "runtime/win32/VisualStyle.h"

#include "runtime/win32/SystemLibrary.h"

namespace win32 {
namespace {

using SetWindowThemeFn = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);

// Loaded once, the first time a control needs it, and kept until the process ends. Without
// UxTheme (a stripped-down Windows) there are no visual styles to switch.
void SetTheme(HWND control, const wchar_t* appName, const wchar_t* idList) {
  static const SystemLibrary uxtheme(L"uxtheme.dll");
  static const auto setWindowTheme = uxtheme.Find<SetWindowThemeFn>("SetWindowTheme");
  if (setWindowTheme != nullptr) setWindowTheme(control, appName, idList);
}

}  // namespace

// A name no style has (the documented single space; Wine refuses an empty one).
void TurnVisualStyleOff(HWND control) { SetTheme(control, L" ", L" "); }
void TurnVisualStyleOn(HWND control) { SetTheme(control, nullptr, nullptr); }

}  // namespace win32
