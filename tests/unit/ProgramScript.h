// A script of what a user and Windows do to the whole program on the fakes (buttons at
// plain points, on our window and tray icon, the tray menu, the Settings window, close, a
// locked screen with a release on the other desktop, a lost hook, refused injections, a
// failure in the hook, the shortcut, Start/Stop, the latch), played on a fresh program and
// judged by what applications saw. The steps are plain data, so a generator can draw them
// and shrink a failing script to the shortest that still fails.
#pragma once
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "unit/ButtonJudge.h"

namespace script {

enum class Act {
  // The hand presses the button if it is up, releases it if down; off the desktop a
  // release happens there, unseen, and a press not at all.
  Button,
  Move,
  StartStop,
  Shortcut,
  // Locks the screen, or comes back to the desktop.
  LockOrReturn,
  HookLost,
  RefuseInjection,
  FailInjection,
  FailInHook,
  Close,
  Settings,
  // The hand presses the button while Windows takes our next injection: a press racing the put-back.
  PressDuringInjection,
  // The hand lets go of the button if it holds it (the end of every script).
  LetGo,
};

enum class Place { Plain, Near, Far, LeftMonitor, OwnWindow, TrayIcon };

struct Step {
  Act act = Act::Button;
  int button = 0;
  Place place = Place::Plain;
  // Button on the tray icon with the secondary button: the menu item picked at its release
  // (0 none); Close: how (0 the close box, 1 logoff, 2 asked by code); Settings: the latch's
  // bits (1 on, 2 secondary, 4 middle) and its hold time (bits 3 and 4).
  int choice = 0;
  // Milliseconds since the step before.
  int gapMs = 100;
};

struct Setup {
  bool buttonsSwapped = false;
  unsigned doubleClickMs = 500;
  int doubleClickSide = 4;
  // The shell can say where our tray icon is (Wine's cannot).
  bool trayIconKnown = true;
};

struct Script {
  Setup setup;
  std::vector<Step> steps;
};

struct Outcome {
  std::vector<judge::Violation> violations;
  // What applications saw, one word per event (see FakeMouse::Seen).
  std::string seen;
  std::size_t steps = 0;
};

Outcome Play(const Script& script);

std::ostream& operator<<(std::ostream& out, const Step& step);
std::ostream& operator<<(std::ostream& out, const Script& script);

}  // namespace script
