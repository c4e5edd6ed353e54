// Window procedures replaced by program code, and the windows' user-data slot.
#pragma once
#include <windows.h>

#include <map>
#include <memory>

#include "runtime/UnhandledFailure.h"
#include "runtime/WindowProcs.h"

namespace win32 {

class Win32WindowProcs : public rt::WindowProcs {
 public:
  explicit Win32WindowProcs(rt::UnhandledFailureSink& failures) : failures_(failures) {}
  Win32WindowProcs(const Win32WindowProcs&) = delete;
  Win32WindowProcs& operator=(const Win32WindowProcs&) = delete;
  ~Win32WindowProcs() override;

  // One program procedure per window at a time: a second replacement throws rt::Failure.
  std::uintptr_t ReplaceWindowProc(rt::WindowHandle window, rt::ProgramWindowProc procedure) override;
  void RestoreWindowProc(rt::WindowHandle window, std::uintptr_t previous) override;
  std::intptr_t CallWindowProc(std::uintptr_t procedure, rt::WindowHandle window, std::uint32_t message,
                               std::uintptr_t wParam, std::intptr_t lParam) override;
  void SetUserData(rt::WindowHandle window, std::uintptr_t value) override;
  std::uintptr_t GetUserData(rt::WindowHandle window) override;

 private:
  struct Replacement;
  static LRESULT CALLBACK Trampoline(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  // Puts the window's own procedure back and lets go of the program's.
  void Forget(HWND window, WNDPROC previous);

  rt::UnhandledFailureSink& failures_;
  // Shared, because a replacement may be undone from inside its own procedure: the call
  // in flight keeps it alive until it returns.
  std::map<HWND, std::shared_ptr<Replacement>> replacements_;
};

}  // namespace win32
