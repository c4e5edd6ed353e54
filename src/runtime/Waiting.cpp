#include "runtime/Waiting.h"

#include <algorithm>
#include <chrono>
#include <cmath>

namespace rt {

namespace {
// A single pump never waits longer than this, so the clock is read often enough to see
// every pass over midnight, however long the wait.
constexpr double kLongestSinglePumpSeconds = 3600.0;
}  // namespace

void PumpFor(EventPump& pump, Clock& clock, double seconds, const std::function<bool()>& stillWaiting) {
  // Elapsed time is added up pass by pass: the sum of the steps is the whole time, also
  // across midnight, where the clock starts again from 0.
  double waited = 0;
  float last = clock.TimeOfDay();
  while (waited < seconds && (!stillWaiting || stillWaiting())) {
    const double pumpSeconds = std::min(seconds - waited, kLongestSinglePumpSeconds);
    const auto pumpMs = std::max(1LL, static_cast<long long>(std::ceil(pumpSeconds * 1000.0)));
    pump.PumpEvents(std::chrono::milliseconds(pumpMs));
    const float now = clock.TimeOfDay();
    waited += ElapsedSeconds(last, now);
    last = now;
  }
}

void PumpWaitingEventsTwice(NumberedSteps& steps, EventPump& pump, int firstStep, int secondStep) {
  // A blocking wait here would hold the way out until the next input arrived.
  constexpr std::chrono::milliseconds kNoWait{0};
  steps.Run(firstStep, [&] { pump.PumpEvents(kNoWait); });
  steps.Run(secondStep, [&] { pump.PumpEvents(kNoWait); });
}

}  // namespace rt
