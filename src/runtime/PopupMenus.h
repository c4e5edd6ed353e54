// A menu that pops up where the user asked for it (the tray icon's), and waits for a choice.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "runtime/MouseInput.h"
#include "runtime/Types.h"

namespace rt {

struct MenuItem {
  // What Show returns when this item is chosen; 0 for a separator.
  int command = 0;
  // "&" marks the mnemonic letter.
  std::wstring text;
  bool checked = false;
  // Shown, but cannot be chosen.
  bool grayed = false;
  bool operator==(const MenuItem&) const = default;
};

class PopupMenus {
 public:
  virtual ~PopupMenus() = default;
  // Shows the items at the point (or where the pointer is), owned by the window, and
  // returns the command chosen, 0 when the menu was dismissed. Events are dispatched
  // while the menu is open.
  virtual int Show(const std::vector<MenuItem>& items, WindowHandle owner, std::optional<ScreenPoint> at) = 0;
};

}  // namespace rt
