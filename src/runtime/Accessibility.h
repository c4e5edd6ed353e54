// What the program tells screen readers beyond what its controls show by themselves.
#pragma once
#include "runtime/controls/Control.h"

namespace rt {

// How a screen reader treats a change of a live region's text: not at all, when the user
// is idle, or at once, cutting in on what it was saying. Numbered as UI Automation does.
enum class LiveSetting { Off = 0, Polite = 1, Assertive = 2 };

class Accessibility {
 public:
  virtual ~Accessibility() = default;
  // From now on the control's text is a live region with this setting. Its window must exist.
  virtual void SetLiveSetting(const Control& control, LiveSetting setting) = 0;
  // The text of a live region has changed: screen readers speak it now, wherever the
  // window is, in the tray included.
  virtual void LiveRegionChanged(const Control& control) = 0;
};

}  // namespace rt
