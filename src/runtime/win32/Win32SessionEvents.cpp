#include "runtime/win32/Win32SessionEvents.h"

#include <string>

#include "runtime/win32/BringBackMessage.h"

namespace win32 {
namespace {

struct DesktopCloser {
  void operator()(HDESK desktop) const noexcept { ::CloseDesktop(desktop); }
};
using UniqueDesktop = std::unique_ptr<std::remove_pointer_t<HDESK>, DesktopCloser>;

std::wstring NameOf(HDESK desktop) {
  wchar_t name[256] = {};
  DWORD needed = 0;
  if (!::GetUserObjectInformationW(desktop, UOI_NAME, name, sizeof(name), &needed)) return {};
  return name;
}

UINT DesktopSwitchedMessage() { return ::RegisterWindowMessageW(L"Vornatic.DesktopSwitched"); }

bool LeavesTheSession(WPARAM change) {
  return change == WTS_SESSION_LOCK || change == WTS_CONSOLE_DISCONNECT || change == WTS_REMOTE_DISCONNECT;
}

bool ReturnsToTheSession(WPARAM change) {
  return change == WTS_SESSION_UNLOCK || change == WTS_CONSOLE_CONNECT || change == WTS_REMOTE_CONNECT;
}

}  // namespace

void Win32SessionEvents::Attach(HWND mainWindow) {
  desktopSwitch_.reset();
  notification_.reset();
  subclass_.reset();
  bringBack_ = BringBackMessage();
  desktopSwitched_ = DesktopSwitchedMessage();
  SubclassHandler& handler = *this;
  subclass_ = std::make_unique<WindowSubclass>(mainWindow, handler, failures_);
  notification_ = std::make_unique<SessionNotification>(mainWindow);
  LetBringBackIn(mainWindow);
  // Out of context: Windows calls back on this thread from its message loop, and nothing
  // runs while nothing switches.
  desktopSwitch_.reset(::SetWinEventHook(EVENT_SYSTEM_DESKTOPSWITCH, EVENT_SYSTEM_DESKTOPSWITCH, nullptr,
                                         &Win32SessionEvents::DesktopSwitched, 0, 0, WINEVENT_OUTOFCONTEXT));
}

bool Win32SessionEvents::InputDesktopIsOurs() {
  // The secure desktop (sign-in, Ctrl+Alt+Del, an elevation prompt) lets no one open it.
  const UniqueDesktop input(::OpenInputDesktop(0, FALSE, DESKTOP_READOBJECTS));
  if (!input) return false;
  return NameOf(input.get()) == NameOf(::GetThreadDesktop(::GetCurrentThreadId()));
}

void CALLBACK Win32SessionEvents::DesktopSwitched(HWINEVENTHOOK, DWORD, HWND, LONG, LONG, DWORD, DWORD) {
  // The callback carries no pointer of ours; the thread's windows hear of it instead, and
  // the main window's subclass takes it up once this callback has returned.
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND window, LPARAM) -> BOOL {
        ::PostMessageW(window, DesktopSwitchedMessage(), 0, 0);
        return TRUE;
      },
      0);
}

void Win32SessionEvents::Run(const std::function<void()>& handler) {
  // A copy: the handler may run the stop path, whose pumping may bring a new handler.
  if (const std::function<void()> copy = handler) copy();
}

std::optional<LRESULT> Win32SessionEvents::OnSubclassMessage(HWND, UINT message, WPARAM wParam, LPARAM) {
  // Windows' own messages go on to the window afterwards; only our two are answered here.
  if (message == WM_WTSSESSION_CHANGE && LeavesTheSession(wParam)) {
    Run(leaving_);
  } else if (message == WM_WTSSESSION_CHANGE && ReturnsToTheSession(wParam)) {
    Run(returned_);
  } else if (message == WM_POWERBROADCAST && wParam == PBT_APMSUSPEND) {
    Run(leaving_);
  } else if (message == WM_POWERBROADCAST && wParam == PBT_APMRESUMEAUTOMATIC) {
    Run(returned_);
  } else if (message == WM_DESTROY && notification_) {
    notification_->Stop();  // Windows keeps the registration past the window otherwise
  } else if (message != 0 && message == bringBack_) {
    Run(startedAgain_);
    return 0;
  } else if (message != 0 && message == desktopSwitched_) {
    Run(InputDesktopIsOurs() ? returned_ : leaving_);
    return 0;
  }
  return std::nullopt;
}

}  // namespace win32
