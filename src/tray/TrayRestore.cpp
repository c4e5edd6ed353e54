// A button released over the tray icon brings the main window back. Which button, and
// which icon, does not matter.
#include "app/Form1.h"

void Form1::cSysTray1_MouseUp(std::int16_t& /*button*/, std::int32_t& /*id*/) {
  Me.SetVisible(true);
  Me.SetFocus();
  globals_.HiddenInTray = false;
}
