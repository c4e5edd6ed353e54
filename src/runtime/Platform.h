// Everything the program may ask of the world, in one bundle handed to its units.
#pragma once
#include "runtime/Accessibility.h"
#include "runtime/Application.h"
#include "runtime/Clock.h"
#include "runtime/Dialogs.h"
#include "runtime/EventPump.h"
#include "runtime/FileSystem.h"
#include "runtime/GlobalShortcuts.h"
#include "runtime/MouseInput.h"
#include "runtime/NotifyIcon.h"
#include "runtime/PointerBadge.h"
#include "runtime/PopupMenus.h"
#include "runtime/ProgramStarter.h"
#include "runtime/Random.h"
#include "runtime/Registry.h"
#include "runtime/RunningPrograms.h"
#include "runtime/SessionEvents.h"
#include "runtime/TextMetrics.h"
#include "runtime/Texts.h"
#include "runtime/WindowHosting.h"
#include "runtime/WindowProcs.h"

namespace rt {

struct Platform {
  Application& app;
  EventPump& pump;
  Clock& clock;
  MouseInput& mouse;
  NotifyIcons& tray;
  WindowProcs& windowProcs;
  Registry& registry;
  FileSystem& files;
  Dialogs& dialogs;
  ProgramStarter& starter;
  RandomSource& random;
  GlobalShortcuts& shortcuts;
  PointerBadge& badge;
  SessionEvents& session;
  Accessibility& accessibility;
  PopupMenus& menus;
  WindowHosting& windows;
  Texts& texts;
  TextMetrics& metrics;
  RunningPrograms& programs;
};

}  // namespace rt
