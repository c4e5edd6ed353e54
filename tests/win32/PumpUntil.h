// Test helper: pumps the thread's messages until a condition holds or a time limit passes.
#pragma once
#include <chrono>
#include <functional>

#include "runtime/EventPump.h"

namespace win32test {

inline bool PumpUntil(rt::EventPump& pump, const std::function<bool()>& condition,
                      std::chrono::milliseconds limit = std::chrono::milliseconds(3000)) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!condition()) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    pump.PumpEvents(std::min(left, std::chrono::milliseconds(50)));
  }
  return true;
}

}  // namespace win32test
