// The time-of-day clock, from the local wall clock.
#pragma once
#include "runtime/Clock.h"

namespace win32 {

class Win32Clock : public rt::Clock {
 public:
  float TimeOfDay() override;
};

}  // namespace win32
