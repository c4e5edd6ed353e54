#include "app/TrayMenu.h"

#include <optional>
#include <vector>

#include "settingswindow/SettingsTexts.h"

void TrayMenu::Show() {
  // As a click on the icon does: whatever is held goes back before the menu opens.
  if (p_.mouse.HoldingButton()) p_.startOrStop();
  namespace text = settings_text;
  const rt::Texts& words = p_.texts;
  const std::vector<rt::MenuItem> items{
      // Opening the menu gave a hold up: the Start is ending, and what it offers is a new one.
      {kStartStop, words(p_.drag.IsOn() && !p_.drag.Ending() ? text::kMenuStop : text::kMenuStart)},
      {kLatch, words(text::kMenuLatch), p_.settings.LatchChosen(), p_.settings.LatchDecided()},
      {kSettings, words(text::kMenuSettings), false, p_.settings.SettingsTurnedOff()},
      {kHelp, words(text::kMenuHelp)},
      {0, L""},
      {kExit, words(text::kMenuExit)},
  };
  // Beside the icon when the shell can say where it is (the menu key leaves the pointer
  // anywhere); at the pointer otherwise.
  std::optional<rt::ScreenPoint> at;
  if (const auto icon = p_.tray.IconScreenRect())
    at = rt::ScreenPoint{(icon->left + icon->right) / 2, (icon->top + icon->bottom) / 2};
  Run(p_.menus.Show(items, p_.window.Handle(), at));
}

void TrayMenu::Run(int command) {
  switch (command) {
    case kStartStop:
      p_.startOrStop();
      break;
    case kLatch:
      p_.settings.ToggleLatch();
      break;
    case kSettings:
      p_.settings.OpenSettings();
      break;
    case kHelp:
      p_.help();
      break;
    case kExit:
      p_.window.RequestClose(rt::closereason::kUser);
      break;
    default:
      break;  // dismissed
  }
}
