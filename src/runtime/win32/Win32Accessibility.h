// Live regions for screen readers: the setting as an annotation of the control's window,
// each change as the system's live-region event for it.
#pragma once
#include "runtime/Accessibility.h"
#include "runtime/win32/AccessibleAnnotations.h"

namespace win32 {

class Win32Accessibility final : public rt::Accessibility {
 public:
  void SetLiveSetting(const rt::Control& control, rt::LiveSetting setting) override;
  void LiveRegionChanged(const rt::Control& control) override;

 private:
  AccessibleAnnotations annotations_;
};

}  // namespace win32
