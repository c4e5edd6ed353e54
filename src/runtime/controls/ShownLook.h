// What a control shows on the screen. The model holds the colours the program chose (the
// design's or a skin's); what is shown also depends on the user's display settings, and
// that choice is the program's (Form::SetLookRule). The platform paints what it is told.
#pragma once
#include "runtime/controls/Controls.h"

namespace rt {

struct ShownLook {
  OleColor back = kWhite;
  OleColor text = kButtonText;
  ButtonLook button;  // push buttons only
  // False: the system's visual style steps aside, so that the colours above show even on
  // controls the style would otherwise paint itself (check boxes, frame captions).
  bool systemStyle = true;
  bool operator==(const ShownLook&) const = default;
};

// highContrast: the user has switched on one of the system's high-contrast themes.
using LookRule = ShownLook (*)(const Control& control, bool highContrast);

// The control's own colours in the system's style: what is shown when no rule was given.
ShownLook OwnLook(const Control& control);

}  // namespace rt
