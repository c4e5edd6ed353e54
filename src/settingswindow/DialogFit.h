// The Settings window in a longer language: row by row, a control whose caption needs more
// room grows to it and pushes the controls to its right along, keeping the design's gaps;
// what still does not fit inside its frame widens the dialog, its frames with it, and moves
// the buttons along its bottom edge. Captions that fit leave the design as it is.
#pragma once
#include <functional>
#include <vector>

#include "runtime/controls/Control.h"

namespace dialog_fit {

// Twips a control needs for its caption; 0 for one that keeps its design width.
using Needed = std::function<int(const rt::Control& control)>;

// controls: every control of the dialog, placed as designed. Returns the client width.
int FitToCaptions(const std::vector<rt::Control*>& controls, int clientWidth, const Needed& needed);

}  // namespace dialog_fit
