#include "runtime/win32/MessageWindow.h"

#include "runtime/Failure.h"
#include "runtime/win32/SystemMessage.h"

namespace win32 {

UniqueWindow MakeMessageWindow(HINSTANCE instance, const wchar_t* windowClass, WNDPROC procedure, void* owner) {
  WNDCLASSEXW description{};
  description.cbSize = sizeof(description);
  description.lpfnWndProc = procedure;
  description.hInstance = instance;
  description.lpszClassName = windowClass;
  if (::RegisterClassExW(&description) == 0 && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
    throw rt::Failure(SystemMessage(::GetLastError()));
  UniqueWindow window(::CreateWindowExW(0, windowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr));
  if (!window) throw rt::Failure(SystemMessage(::GetLastError()));
  ::SetWindowLongPtrW(window.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
  return window;
}

}  // namespace win32
