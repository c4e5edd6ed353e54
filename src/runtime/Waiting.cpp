#include "runtime/Waiting.h"

#include <chrono>

namespace rt {

void PumpWaitingEventsTwice(NumberedSteps& steps, EventPump& pump, int firstStep, int secondStep) {
  // A blocking wait here would hold the way out until the next input arrived.
  constexpr std::chrono::milliseconds kNoWait{0};
  steps.Run(firstStep, [&] { pump.PumpEvents(kNoWait); });
  steps.Run(secondStep, [&] { pump.PumpEvents(kNoWait); });
}

}  // namespace rt
