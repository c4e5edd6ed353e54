// Waiting the program's way: handling the thread's messages meanwhile, so every other
// handler can run nested inside the wait, and blocking between them, so the wait costs
// nothing while nothing happens.
#pragma once
#include <functional>

#include "runtime/Clock.h"
#include "runtime/EventPump.h"
#include "runtime/NumberedSteps.h"

namespace rt {

// Pumps events until `seconds` have passed on the time-of-day clock, or until stillWaiting
// (when given) answers false after a pump. Zero or fewer seconds return without pumping.
void PumpFor(EventPump& pump, Clock& clock, double seconds, const std::function<bool()>& stillWaiting = {});

// Two numbered steps that each handle what is waiting and return without blocking: the
// way out of a long handler lets what was already queued run before it goes on.
void PumpWaitingEventsTwice(NumberedSteps& steps, EventPump& pump, int firstStep, int secondStep);

}  // namespace rt
