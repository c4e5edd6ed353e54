#include "runtime/win32/WindowClasses.h"

#include "runtime/Failure.h"
#include "runtime/win32/SystemMessage.h"

namespace win32 {
namespace {

void Register(HINSTANCE instance, const wchar_t* name, WNDPROC procedure) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  windowClass.lpszClassName = name;
  // No background brush: the main window paints its own in the model's colour.
  if (::RegisterClassExW(&windowClass) == 0 && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
    throw rt::Failure(SystemMessage(::GetLastError()));
}

}  // namespace

void RegisterHostWindowClasses(HINSTANCE instance, WNDPROC mainWindowProcedure) {
  Register(instance, kMainWindowClass, mainWindowProcedure);
  Register(instance, kDialogClass, mainWindowProcedure);
  // The tray control replaces this window's procedure with its own; what it calls on
  // with must be the plain default.
  Register(instance, kControlSiteClass, &::DefWindowProcW);
}

}  // namespace win32
