#include "runtime/win32/Win32GlobalShortcuts.h"

#include "runtime/Failure.h"
#include "runtime/win32/Guarded.h"
#include "runtime/win32/SystemMessage.h"

namespace win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"Vornatic.Shortcuts";
constexpr int kShortcutId = 1;

}  // namespace

Win32GlobalShortcuts::Win32GlobalShortcuts(HINSTANCE instance, rt::UnhandledFailureSink& failures)
    : failures_(failures) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = &Win32GlobalShortcuts::WindowProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kWindowClass;
  if (::RegisterClassExW(&windowClass) == 0 && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
    throw rt::Failure(SystemMessage(::GetLastError()));
  window_.reset(::CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr));
  if (!window_) throw rt::Failure(SystemMessage(::GetLastError()));
  ::SetWindowLongPtrW(window_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

Win32GlobalShortcuts::~Win32GlobalShortcuts() { Unregister(); }

UINT Win32GlobalShortcuts::Modifiers(const rt::Shortcut& shortcut) {
  UINT modifiers = MOD_NOREPEAT;
  if (shortcut.win) modifiers |= MOD_WIN;
  if (shortcut.ctrl) modifiers |= MOD_CONTROL;
  if (shortcut.alt) modifiers |= MOD_ALT;
  if (shortcut.shift) modifiers |= MOD_SHIFT;
  return modifiers;
}

bool Win32GlobalShortcuts::Register(const rt::Shortcut& shortcut, std::function<void()> pressed) {
  Unregister();
  if (!::RegisterHotKey(window_.get(), kShortcutId, Modifiers(shortcut), shortcut.key)) return false;
  registered_ = true;
  pressed_ = std::move(pressed);
  return true;
}

void Win32GlobalShortcuts::Unregister() {
  if (registered_) ::UnregisterHotKey(window_.get(), kShortcutId);
  registered_ = false;
  pressed_ = nullptr;
}

LRESULT CALLBACK Win32GlobalShortcuts::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_HOTKEY && wParam == kShortcutId) {
    auto* self = reinterpret_cast<Win32GlobalShortcuts*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self != nullptr && self->pressed_) {
      // A copy: the press may start auto-drag, whose loop runs inside this call and may
      // register the shortcut again.
      const std::function<void()> pressed = self->pressed_;
      Guarded(self->failures_, pressed);
    }
    return 0;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace win32
