// The user's text size as the windows take it: how much larger than Windows' default the
// message font is, and a design's font grown by as much, its face kept.
#pragma once
#include "runtime/Types.h"
#include "runtime/controls/Control.h"

namespace rt {

// The message font at text size 100 % (9 pt Segoe UI).
inline constexpr double kDefaultMessagePoints = 9.0;

// Never below 1: a design is never drawn smaller than it was made.
double TextSizeFactor(const Font& messageFont);
Font Grown(Font design, double factor);
// Taller by the factor, rounded to whole twips; the left edge and the width stay, for the
// captions' own measure decides how wide a control must be.
TwipsRect Taller(const TwipsRect& design, double factor);

}  // namespace rt
