// The Settings window in a longer language: row by row, a control whose caption needs more
// room grows to it and pushes the controls to its right along, keeping the design's gaps.
// A row that would still take the dialog past its widest wraps its longest label or check
// box onto more lines instead, and everything below it in its frame, the frames below and
// the buttons move down. What still does not fit widens the dialog, its frames with it, and
// moves the buttons along its bottom edge. Captions that fit leave the design as it is.
#pragma once
#include <functional>
#include <vector>

#include "runtime/controls/Control.h"

namespace dialog_fit {

struct Size {
  int width = 0;
  int height = 0;
  bool operator==(const Size&) const = default;
};

// Twips a control needs for its caption on one line; 0 for one that keeps its design width.
using Needed = std::function<int(const rt::Control& control)>;
// Twips of height a label's or a check box's caption needs wrapped within that width.
using HeightWithin = std::function<int(const rt::Control& control, int width)>;

// controls: every control of the dialog, placed as designed; client: the designed client
// area; widest: the client width beyond which captions wrap rather than widen it. Returns
// the client size.
Size FitToCaptions(const std::vector<rt::Control*>& controls, Size client, int widest, const Needed& needed,
                   const HeightWithin& heightWithin);

}  // namespace dialog_fit
