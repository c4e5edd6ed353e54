// A procedure whose steps carry numbers, so that a failing one can be named to the user.
// The feature says what its steps are; whoever runs them decides how a failure is told.
#pragma once
#include <functional>

namespace rt {

class NumberedSteps {
 public:
  virtual ~NumberedSteps() = default;
  // Runs one step; a failure is dealt with under its number and the procedure goes on.
  virtual void Run(int number, const std::function<void()>& step) = 0;
  // Evaluates a condition; when that fails, the answer is true, so the guarded block runs.
  virtual bool Test(int number, const std::function<bool()>& condition) = 0;
};

}  // namespace rt
