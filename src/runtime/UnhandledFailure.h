// A failure that reaches a platform callback with no handler of the program around it.
#pragma once
#include <exception>

namespace rt {

class UnhandledFailureSink {
 public:
  virtual ~UnhandledFailureSink() = default;
  // Tells the user, in the program's own words; the platform then ends the program.
  virtual void OnUnhandledFailure(const std::exception& failure) noexcept = 0;
};

}  // namespace rt
