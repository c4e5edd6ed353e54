// The start/stop shortcut through RegisterHotKey: Windows posts WM_HOTKEY to a message-only
// window of ours while any program has the focus, and we never see the user's typing.
#pragma once
#include <windows.h>

#include "runtime/GlobalShortcuts.h"
#include "runtime/UnhandledFailure.h"
#include "runtime/win32/Handles.h"

namespace win32 {

class Win32GlobalShortcuts : public rt::GlobalShortcuts {
 public:
  Win32GlobalShortcuts(HINSTANCE instance, rt::UnhandledFailureSink& failures);
  Win32GlobalShortcuts(const Win32GlobalShortcuts&) = delete;
  Win32GlobalShortcuts& operator=(const Win32GlobalShortcuts&) = delete;
  ~Win32GlobalShortcuts() override;

  bool Register(const rt::Shortcut& shortcut, std::function<void()> pressed) override;
  void Unregister() override;
  bool Available(const rt::Shortcut& shortcut) override;

  // The modifier flags RegisterHotKey takes for a shortcut (held down does not repeat).
  static UINT Modifiers(const rt::Shortcut& shortcut);

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  rt::UnhandledFailureSink& failures_;
  UniqueWindow window_;
  bool registered_ = false;
  rt::Shortcut current_;
  std::function<void()> pressed_;
};

}  // namespace win32
