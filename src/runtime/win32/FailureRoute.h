// The platform's failure sink before and after the program exists: the platform is built
// first, so its callbacks report to this route, which the program is plugged into later.
#pragma once
#include "runtime/UnhandledFailure.h"

namespace win32 {

class FailureRoute : public rt::UnhandledFailureSink {
 public:
  void RouteTo(rt::UnhandledFailureSink* target) noexcept { target_ = target; }
  // With nothing plugged in there is nobody to tell; the process simply ends.
  void OnUnhandledFailure(const std::exception& failure) noexcept override {
    if (target_ != nullptr) target_->OnUnhandledFailure(failure);
  }

 private:
  rt::UnhandledFailureSink* target_ = nullptr;
};

}  // namespace win32
