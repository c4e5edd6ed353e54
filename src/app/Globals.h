// Program-wide state shared between the main window, the tray and the auto-drag engine.
// One instance lives in the Program; tests make their own, so nothing leaks between them.
#pragma once
#include <string>

struct Globals {
  // True while the main window is hidden in the tray.
  bool HiddenInTray = false;
  // The title of message boxes that have none of their own.
  std::wstring AppTitle = L"Vornatic";
};
