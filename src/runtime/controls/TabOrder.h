// The order in which a keyboard or screen-reader user meets the window's controls.
#pragma once
#include <vector>

#include "runtime/controls/Form.h"

namespace rt {

// The controls by tab index: the order a screen reader reads them in, and the stacking
// order of their windows, which is where the Tab key looks for the next stop.
std::vector<Control*> ReadingOrder(const Form& form);

// True for a control the Tab key stops at when it is shown and enabled: a kind that can
// hold the focus, with its TabStop on.
bool IsTabStop(const Control& control);

// The stops the Tab key visits now, in order; the focus starts at the first.
std::vector<Control*> TabOrder(const Form& form);

}  // namespace rt
