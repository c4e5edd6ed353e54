// The tray menu, which answers with the choice a test scripted while it records what it
// offered, and the making of a dialog's window, which only counts.
#pragma once
#include <functional>
#include <optional>
#include <vector>

#include "runtime/PopupMenus.h"
#include "runtime/WindowHosting.h"

namespace fake {

class FakeMenus : public rt::PopupMenus {
 public:
  int Show(const std::vector<rt::MenuItem>& items, rt::WindowHandle owner, std::optional<rt::ScreenPoint> at) override;

  // The menus shown, newest last.
  std::vector<std::vector<rt::MenuItem>> shown;
  // Runs while the menu is open, as other handlers can on the real platform.
  std::function<void()> whileOpen;
  // The command the user picks next; 0 dismisses the menu.
  int choose = 0;
  // The item whose text (without its "&") the user picks next; overrides choose.
  std::wstring chooseText;
};

class FakeWindowHosting : public rt::WindowHosting {
 public:
  std::unique_ptr<rt::HostedWindow> HostDialog(rt::Form& form) override;
  int made = 0;
  int alive = 0;
};

// An item's text as the user reads it: the mnemonic's "&" is not shown.
std::wstring Shown(const std::wstring& text);

}  // namespace fake
