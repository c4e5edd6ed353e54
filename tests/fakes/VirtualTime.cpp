#include "fakes/VirtualTime.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "runtime/Failure.h"

namespace fake {

float VirtualClock::TimeOfDay() { return static_cast<float>(std::fmod(startOfDay_ + now_, 86400.0)); }

void FakePump::At(double when, std::function<void()> task) { queue_.push_back({when, seq_++, std::move(task)}); }

std::optional<double> FakePump::NextTime() const {
  if (queue_.empty()) return std::nullopt;
  return std::min_element(queue_.begin(), queue_.end(), [](auto& a, auto& b) { return a.at < b.at; })->at;
}

bool FakePump::RunDue() {
  bool ran = false;
  for (;;) {
    auto due = queue_.end();
    for (auto it = queue_.begin(); it != queue_.end(); ++it)
      if (it->at <= clock_.Now() && (due == queue_.end() || it->seq < due->seq)) due = it;
    if (due == queue_.end()) return ran;
    auto task = std::move(due->task);
    queue_.erase(due);
    ran = true;
    try {
      task();  // may pump again, nested
    } catch (const std::exception& e) {
      if (!onUnhandledFailure) throw UnhandledFailureInHandler{rt::DescribeException(e)};
      onUnhandledFailure(e);
    }
  }
}

void FakePump::PumpEvents(std::optional<std::chrono::milliseconds> maxWait) {
  if (++pumps_ > limit_) throw PumpLimitExceeded{};
  if (RunDue()) return;
  if (maxWait && maxWait->count() <= 0) return;
  ++blockingPumps_;
  const double deadline = maxWait ? clock_.Now() + maxWait->count() / 1000.0 : std::numeric_limits<double>::infinity();
  const auto next = NextTime();
  if (!next && !maxWait) throw PumpWouldBlockForever{};
  if (next && *next <= deadline) {
    clock_.AdvanceTo(*next);
    RunDue();
  } else {
    clock_.AdvanceTo(deadline);
  }
}

void FakePump::RunUntil(double until) {
  for (;;) {
    RunDue();
    const auto next = NextTime();
    if (!next || *next > until) break;
    clock_.AdvanceTo(*next);
  }
  clock_.AdvanceTo(until);
}

}  // namespace fake
