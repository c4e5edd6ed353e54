// The time-of-day clock all waits are measured on.
#pragma once

namespace rt {

constexpr float kSecondsPerDay = 86400.0f;

class Clock {
 public:
  virtual ~Clock() = default;
  // Seconds since local midnight, single precision: 0 up to 86400, then back to 0.
  virtual float TimeOfDay() = 0;
};

// Seconds from start to now on the time-of-day clock, allowing for one pass over midnight.
inline float ElapsedSeconds(float start, float now) { return now < start ? now + kSecondsPerDay - start : now - start; }

}  // namespace rt
