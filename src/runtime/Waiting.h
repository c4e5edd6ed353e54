// The way out of a long handler: what is already queued runs before it goes on.
#pragma once
#include "runtime/EventPump.h"
#include "runtime/NumberedSteps.h"

namespace rt {

// Two numbered steps that each handle what is waiting and return without blocking: the
// way out of a long handler lets what was already queued run before it goes on.
void PumpWaitingEventsTwice(NumberedSteps& steps, EventPump& pump, int firstStep, int secondStep);

}  // namespace rt
