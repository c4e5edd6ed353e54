#include "runtime/win32/Win32GlobalShortcuts.h"

#include "runtime/win32/Guarded.h"
#include "runtime/win32/MessageWindow.h"

namespace win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"Vornatic.Shortcuts";
constexpr int kShortcutId = 1;
// Taken for a moment only, to learn whether a combination is free.
constexpr int kTrialId = 2;

}  // namespace

Win32GlobalShortcuts::Win32GlobalShortcuts(HINSTANCE instance, rt::UnhandledFailureSink& failures)
    : failures_(failures),
      window_(MakeMessageWindow(instance, kWindowClass, &Win32GlobalShortcuts::WindowProc, this)) {}

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
  current_ = shortcut;
  pressed_ = std::move(pressed);
  return true;
}

bool Win32GlobalShortcuts::Available(const rt::Shortcut& shortcut) {
  if (registered_ && shortcut == current_) return true;
  if (!::RegisterHotKey(window_.get(), kTrialId, Modifiers(shortcut), shortcut.key)) return false;
  ::UnregisterHotKey(window_.get(), kTrialId);
  return true;
}

void Win32GlobalShortcuts::Unregister() {
  if (registered_) ::UnregisterHotKey(window_.get(), kShortcutId);
  registered_ = false;
  pressed_ = nullptr;
}

LRESULT CALLBACK Win32GlobalShortcuts::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_HOTKEY && wParam == kShortcutId) {
    auto* self = OwnerOf<Win32GlobalShortcuts>(window);
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
