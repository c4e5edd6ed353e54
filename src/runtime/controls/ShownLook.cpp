#include "runtime/controls/ShownLook.h"

namespace rt {

ShownLook OwnLook(const Control& control) {
  ShownLook shown;
  shown.back = control.BackColor();
  shown.text = control.ForeColor();
  if (const auto* button = dynamic_cast<const PushButton*>(&control)) shown.button = button->Look();
  return shown;
}

}  // namespace rt
