// The running executable: where it lives, its icons, and its end.
#pragma once
#include <windows.h>

#include <string>

#include "runtime/Application.h"

namespace win32 {

// The folder part of a full path: no trailing backslash, except at a drive's root ("C:\").

class Win32Application : public rt::Application {
 public:
  explicit Win32Application(HINSTANCE instance) : instance_(instance) {}

  // The window EndProgram takes down before the process goes.
  void SetMainWindow(HWND window) { mainWindow_ = window; }

  std::wstring ProgramFolder() override;
  std::wstring ExecutablePath() override;
  bool IsThisExecutable(const std::wstring& path) override;
  rt::PicturePtr ApplicationIcon() override;
  rt::PicturePtr TrayIconPicture() override;
  [[noreturn]] void EndProgram() override;

 private:
  rt::PicturePtr LoadIconResource(int id, int width, int height);

  HINSTANCE instance_;
  HWND mainWindow_ = nullptr;
};

}  // namespace win32
