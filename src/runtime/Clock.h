// The time of day, as a value (the random seed); never a stopwatch: the user, daylight
// saving or time synchronisation may step it at any moment.
#pragma once

namespace rt {

constexpr float kSecondsPerDay = 86400.0f;

class Clock {
 public:
  virtual ~Clock() = default;
  // Seconds since local midnight, single precision: 0 up to 86400, then back to 0.
  virtual float TimeOfDay() = 0;
};

}  // namespace rt
