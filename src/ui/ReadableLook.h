// What each control of the window shows: the colours the design or the skin gave it, or,
// while the user has a high-contrast theme on, the theme's own colours for every kind of
// control, skin or no skin, so that text is never painted in a colour the theme made
// invisible against our background.
#pragma once
#include "runtime/controls/ShownLook.h"

namespace ui {

rt::ShownLook ReadableLook(const rt::Control& control, bool highContrast);

}  // namespace ui
