// Makes the windows of the program's dialogs, owned by the main window, and offers their
// dialog keys (Tab, Enter, Escape, mnemonics) to every message loop of the thread.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "runtime/UnhandledFailure.h"
#include "runtime/WindowHosting.h"

namespace win32 {

class FormHost;

class Win32WindowHosting : public rt::WindowHosting {
 public:
  Win32WindowHosting(HINSTANCE instance, rt::UnhandledFailureSink& failures)
      : instance_(instance), failures_(failures) {}
  Win32WindowHosting(const Win32WindowHosting&) = delete;
  Win32WindowHosting& operator=(const Win32WindowHosting&) = delete;

  // The owner of every dialog made from now on.
  void SetMainWindow(HWND window) { owner_ = window; }
  // What a screen reader names a push button's action in the dialogs, in the user's language.
  void SetPressActionName(std::wstring name) { pressActionName_ = std::move(name); }
  std::unique_ptr<rt::HostedWindow> HostDialog(rt::Form& form) override;
  // True when one of the dialogs handled the message as a dialog key.
  bool PreTranslate(MSG& message);

 private:
  class HostedDialog;
  HINSTANCE instance_;
  rt::UnhandledFailureSink& failures_;
  HWND owner_ = nullptr;
  std::wstring pressActionName_ = L"Press";
  std::vector<FormHost*> dialogs_;
};

}  // namespace win32
