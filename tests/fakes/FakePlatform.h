// Every fake behind the seam, bundled as the program's Platform.
#pragma once
#include "fakes/FakeMenusAndWindows.h"
#include "fakes/FakeMouse.h"
#include "fakes/FakeRegistry.h"
#include "fakes/FakeRunningPrograms.h"
#include "fakes/FakeServices.h"
#include "fakes/FakeSessionEvents.h"
#include "fakes/FakeShortcutsAndBadge.h"
#include "fakes/FakeTexts.h"
#include "fakes/VirtualTime.h"
#include "runtime/Platform.h"

namespace fake {

struct FakePlatform {
  explicit FakePlatform(double timeOfDayAtStart = 10 * 3600.0) : clock(timeOfDayAtStart) {}

  VirtualClock clock;
  FakePump pump{clock};
  FakeMouse mouse{pump, clock};
  FakeApplication app;
  FakeNotifyIcons tray;
  FakeWindowProcs windowProcs;
  FakeRegistry registry;
  FakeFileSystem files;
  FakeDialogs dialogs;
  FakeStarter starter;
  FakeRandom random;
  FakeShortcuts shortcuts{pump};
  FakeBadge badge{clock};
  FakeSessionEvents session{pump};
  FakeAccessibility accessibility;
  FakeMenus menus;
  FakeWindowHosting windows;
  CatalogueTexts catalogue;
  rt::Texts texts{catalogue, rt::Language::English};
  FakeTextMetrics metrics;
  FakeRunningPrograms programs;
  // The screen locks: Windows refuses what is injected until it is unlocked, and says so.
  void LockScreenAt(double at) {
    pump.At(at, [this] { mouse.desktopLocked = true; });
    session.LeaveAt(at);
  }
  void UnlockScreenAt(double at) {
    pump.At(at, [this] { mouse.desktopLocked = false; });
    session.ReturnAt(at);
  }

  rt::Platform platform{app,     pump,   clock,     mouse, tray,    windowProcs,   registry, files,  dialogs, starter,
                        random,  shortcuts, badge, session, accessibility, menus, windows, texts, metrics, programs};
};

}  // namespace fake
