// The tray icon's menu, asked for with the right button or the keyboard: the window's
// commands, offered where the user is when the window is away.
#pragma once
#include <functional>

#include "app/UserSettings.h"
#include "autodrag/AutoDrag.h"
#include "autodrag/modMouse.h"
#include "runtime/PopupMenus.h"
#include "runtime/Texts.h"
#include "runtime/controls/Form.h"
#include "tray/cSysTray.h"

class TrayMenu {
 public:
  // The commands, by the id the menu returns.
  enum Command { kStartStop = 1, kLatch, kSettings, kHelp, kExit };
  struct Parts {
    rt::PopupMenus& menus;
    const rt::Texts& texts;
    AutoDrag& drag;
    modMouse& mouse;
    UserSettings& settings;
    cSysTray& tray;
    // The menu's owner; Exit closes it as the close box does.
    rt::Form& window;
    // What a click on the Start/Stop button does, and on Help.
    std::function<void()> startOrStop;
    std::function<void()> help;
  };
  explicit TrayMenu(Parts parts) : p_(std::move(parts)) {}

  void Show();

 private:
  void Run(int command);

  Parts p_;
};
