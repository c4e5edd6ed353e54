// A small badge beside the pointer that says the left button is held for the user. It
// never takes the focus or a click and has no place in the taskbar.
#pragma once
#include "runtime/MouseInput.h"

namespace rt {

class PointerBadge {
 public:
  virtual ~PointerBadge() = default;
  // Shows the badge a little below and to the right of the pointer, or moves it there.
  virtual void ShowBeside(ScreenPoint pointer) = 0;
  virtual void Hide() = 0;
};

}  // namespace rt
