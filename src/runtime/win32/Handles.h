// Owning wrappers for the Windows handles the backend creates: each is closed with its own
// function on every path out of its scope.
#pragma once
#include <windows.h>

#include <memory>
#include <type_traits>

namespace win32 {

struct HookCloser {
  void operator()(HHOOK hook) const noexcept { ::UnhookWindowsHookEx(hook); }
};
struct KeyCloser {
  void operator()(HKEY key) const noexcept { ::RegCloseKey(key); }
};
struct IconCloser {
  void operator()(HICON icon) const noexcept { ::DestroyIcon(icon); }
};
struct CursorCloser {
  void operator()(HCURSOR cursor) const noexcept { ::DestroyCursor(cursor); }
};
struct WindowCloser {
  void operator()(HWND window) const noexcept { ::DestroyWindow(window); }
};
struct MenuCloser {
  void operator()(HMENU menu) const noexcept { ::DestroyMenu(menu); }
};
struct KernelHandleCloser {
  void operator()(HANDLE handle) const noexcept { ::CloseHandle(handle); }
};

using UniqueHook = std::unique_ptr<std::remove_pointer_t<HHOOK>, HookCloser>;
using UniqueKey = std::unique_ptr<std::remove_pointer_t<HKEY>, KeyCloser>;
using UniqueIcon = std::unique_ptr<std::remove_pointer_t<HICON>, IconCloser>;
using UniqueCursor = std::unique_ptr<std::remove_pointer_t<HCURSOR>, CursorCloser>;
using UniqueWindow = std::unique_ptr<std::remove_pointer_t<HWND>, WindowCloser>;
using UniqueMenu = std::unique_ptr<std::remove_pointer_t<HMENU>, MenuCloser>;
using UniqueKernelHandle = std::unique_ptr<void, KernelHandleCloser>;

// CreateFileW reports failure as INVALID_HANDLE_VALUE, not as null.
inline UniqueKernelHandle AdoptFileHandle(HANDLE handle) {
  return UniqueKernelHandle(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}

}  // namespace win32
