// How the main window behaves after start-up: minimising takes it into the tray, the tray
// icon and Windows' word of the session bring it back or give up what is held, closing
// takes the tray icon and the mouse hook away and ends the program, and the pointer shape
// follows one rule everywhere.
#pragma once
#include <cstdint>
#include <functional>

#include "app/Globals.h"
#include "autodrag/AutoDrag.h"
#include "autodrag/modMouse.h"
#include "runtime/Platform.h"
#include "runtime/controls/Form.h"
#include "tray/cSysTray.h"

class WindowBehaviour {
 public:
  struct Parts {
    rt::Platform& platform;
    Globals& globals;
    modMouse& mouse;
    AutoDrag& drag;
    rt::Form& window;
    cSysTray& tray;
    // What a click on the Start/Stop button does: gives up a Start or a latched hold.
    std::function<void()> startOrStop;
  };
  explicit WindowBehaviour(Parts parts) : p_(std::move(parts)) {}

  void Resize();
  void QueryUnload();
  void Unload();
  // On every way out: lets go of the button we keep down for the user.
  void LetGoOfTheButton();
  // The hourglass, once set, stays; otherwise the shape asked for.
  void SetPointer(int shape);
  void TrayMouseDown(std::int16_t button);
  void TrayMouseUp(std::int16_t button);
  // Out of the tray and in front, as a click on the tray icon brings it.
  void BringWindowBack();
  void LeavingDesktop();
  void ReturnedToDesktop();

 private:
  Parts p_;
};
