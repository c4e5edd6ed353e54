// Every Windows service behind the seam, owned in one place and bundled as the program's
// Platform. Built before the program; the program is then plugged in as the failure sink.
#pragma once
#include <windows.h>

#include "runtime/Platform.h"
#include "runtime/win32/FailureRoute.h"
#include "runtime/win32/Win32Accessibility.h"
#include "runtime/win32/Win32Application.h"
#include "runtime/win32/Win32Clock.h"
#include "runtime/win32/Win32Dialogs.h"
#include "runtime/win32/Win32EventPump.h"
#include "runtime/win32/Win32FileSystem.h"
#include "runtime/win32/Win32GlobalShortcuts.h"
#include "runtime/win32/Win32MouseInput.h"
#include "runtime/win32/Win32NotifyIcons.h"
#include "runtime/win32/Win32PointerBadge.h"
#include "runtime/win32/Win32PopupMenus.h"
#include "runtime/win32/Win32ProgramStarter.h"
#include "runtime/win32/Win32Random.h"
#include "runtime/win32/Win32RunningPrograms.h"
#include "runtime/win32/Win32Registry.h"
#include "runtime/win32/Win32SessionEvents.h"
#include "runtime/win32/Win32TextMetrics.h"
#include "runtime/win32/Win32TextSource.h"
#include "runtime/win32/Win32WindowHosting.h"
#include "runtime/win32/Win32WindowProcs.h"

namespace win32 {

class Win32Platform {
 public:
  explicit Win32Platform(HINSTANCE instance);
  Win32Platform(const Win32Platform&) = delete;
  Win32Platform& operator=(const Win32Platform&) = delete;

  rt::Platform& Bundle() { return bundle_; }

  // Where failures that escape the program's handlers in a callback are reported.
  void RouteFailuresTo(rt::UnhandledFailureSink& sink) { failures_.RouteTo(&sink); }
  rt::UnhandledFailureSink& Failures() { return failures_; }

  // The main window: owner of message boxes while visible, the window the end takes down,
  // and where the session's news arrives.
  void SetMainWindow(HWND window);

  Win32EventPump& Pump() { return pump_; }
  Win32PointerBadge& Badge() { return badge_; }
  Win32SessionEvents& Session() { return session_; }
  Win32WindowHosting& Windows() { return windows_; }
  Win32TextMetrics& Metrics() { return metrics_; }

 private:
  FailureRoute failures_;
  Win32Application app_;
  Win32EventPump pump_;
  Win32Clock clock_;
  Win32MouseInput mouse_;
  Win32NotifyIcons tray_;
  Win32WindowProcs windowProcs_;
  Win32Registry registry_;
  Win32FileSystem files_;
  Win32Dialogs dialogs_;
  Win32ProgramStarter starter_;
  Win32Random random_;
  Win32GlobalShortcuts shortcuts_;
  Win32PointerBadge badge_;
  Win32SessionEvents session_{failures_};
  Win32Accessibility accessibility_;
  Win32PopupMenus menus_;
  Win32WindowHosting windows_;
  Win32TextSource textSource_;
  rt::Texts texts_;
  Win32TextMetrics metrics_;
  Win32RunningPrograms programs_;
  rt::Platform bundle_;
};

}  // namespace win32
