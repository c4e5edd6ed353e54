// WM_WTSSESSION_CHANGE for one window, for as long as this object lives (or until Stop):
// the lock, the unlock, a user switch, a remote connection coming or going.
#pragma once
#include <windows.h>

#include "runtime/win32/SystemLibrary.h"

namespace win32 {

class SessionNotification {
 public:
  explicit SessionNotification(HWND window);
  SessionNotification(const SessionNotification&) = delete;
  SessionNotification& operator=(const SessionNotification&) = delete;
  ~SessionNotification() { Stop(); }

  // False when Windows would not tell us (wtsapi32 missing, or the call refused).
  bool Registered() const { return window_ != nullptr; }
  // Before the window goes: Windows keeps the registration otherwise.
  void Stop();

 private:
  SystemLibrary wtsapi_{L"wtsapi32.dll"};
  HWND window_ = nullptr;
};

}  // namespace win32
