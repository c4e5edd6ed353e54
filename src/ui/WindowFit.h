// The window's layout in the user's language: every control as designed where its caption
// fits, so English keeps the design to the twip; where a translation needs more room, a
// check box or the status line grows to its caption, the check box beside it moves along,
// the Settings button grows to the left, and the window and its full-width controls widen
// only by what still does not fit (the Settings button moving along with the frame's edge).
#pragma once
#include <array>
#include <functional>

#include "runtime/TextSize.h"
#include "ui/Layout.h"

namespace layout {

struct FittedLayout {
  int clientWidth = kClientWidth;
  int clientHeight = kClientHeight;
  // In the order of kControls.
  std::array<rt::TwipsRect, kControls.size()> bounds{};
};

// Width in twips that a control of the design's kind needs for that caption.
using CaptionWidth = std::function<int(const ControlDesign& control, rt::TextId caption)>;

// taller: how much larger the user's text is than the design's; every control grows as
// much taller, and everything below moves down with it. widest: the client width the
// screen has room for (0: no bound); beyond it the two check boxes stand one under the other.
FittedLayout FitToCaptions(const CaptionWidth& width, double taller = 1.0, int widest = 0);

}  // namespace layout
