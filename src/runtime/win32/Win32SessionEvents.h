// The session's news, read from the main window's messages: a lock or a disconnect
// (WM_WTSSESSION_CHANGE), a coming sleep (WM_POWERBROADCAST), a switch to a desktop that
// is not ours (a WinEvent), and a second copy's request to show the window. It translates;
// what to do about each is the program's.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <type_traits>

#include "runtime/SessionEvents.h"
#include "runtime/UnhandledFailure.h"
#include "runtime/win32/SessionNotification.h"
#include "runtime/win32/WindowSubclass.h"

namespace win32 {

class Win32SessionEvents final : public rt::SessionEvents, private SubclassHandler {
 public:
  explicit Win32SessionEvents(rt::UnhandledFailureSink& failures) : failures_(failures) {}
  Win32SessionEvents(const Win32SessionEvents&) = delete;
  Win32SessionEvents& operator=(const Win32SessionEvents&) = delete;

  void OnLeavingDesktop(std::function<void()> leaving) override { leaving_ = std::move(leaving); }
  void OnStartedAgain(std::function<void()> startedAgain) override { startedAgain_ = std::move(startedAgain); }
  void OnReturnedToDesktop(std::function<void()> returned) override { returned_ = std::move(returned); }

  // Listens on the main window from now on; Windows sends the session's news and the
  // power broadcast only to top-level windows.
  void Attach(HWND mainWindow);
  bool HearsSessionChanges() const { return notification_ && notification_->Registered(); }

  // True while the desktop that takes the user's input is the one our windows are on.
  static bool InputDesktopIsOurs();

 private:
  std::optional<LRESULT> OnSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
  static void CALLBACK DesktopSwitched(HWINEVENTHOOK hook, DWORD event, HWND window, LONG object, LONG child,
                                       DWORD thread, DWORD time);
  static void Run(const std::function<void()>& handler);

  struct WinEventUnhooker {
    void operator()(HWINEVENTHOOK hook) const noexcept { ::UnhookWinEvent(hook); }
  };

  rt::UnhandledFailureSink& failures_;
  std::function<void()> leaving_;
  std::function<void()> startedAgain_;
  std::function<void()> returned_;
  UINT bringBack_ = 0;
  UINT desktopSwitched_ = 0;
  std::unique_ptr<WindowSubclass> subclass_;
  std::unique_ptr<SessionNotification> notification_;
  std::unique_ptr<std::remove_pointer_t<HWINEVENTHOOK>, WinEventUnhooker> desktopSwitch_;
};

}  // namespace win32
