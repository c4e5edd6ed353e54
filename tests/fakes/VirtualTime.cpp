#include "fakes/VirtualTime.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "runtime/Failure.h"

namespace fake {

float VirtualClock::TimeOfDay() { return static_cast<float>(std::fmod(startOfDay_ + now_, 86400.0)); }

void ThreadAffine::CheckOwnThread(const char* what) const {
  if (std::this_thread::get_id() == owner_) return;
  std::fprintf(stderr, "%s was called from a thread other than the window's\n", what);
  std::abort();
}

class FakePump::Bell final : public rt::Doorbell {
 public:
  Bell(FakePump& pump, std::function<void()> handler) : pump_(pump), handler_(std::move(handler)) {
    pump_.bells_.push_back(this);
  }
  ~Bell() override { std::erase(pump_.bells_, this); }
  bool Ring() noexcept override {
    if (pump_.failNextRing) {
      pump_.failNextRing = false;
      return false;
    }
    rung_ = true;
    ++pump_.rings;
    return true;
  }
  bool Answer() {
    if (!rung_.exchange(false)) return false;
    handler_();
    return true;
  }

 private:
  FakePump& pump_;
  std::function<void()> handler_;
  std::atomic<bool> rung_{false};
};

std::unique_ptr<rt::Doorbell> FakePump::MakeDoorbell(std::function<void()> handler) {
  affinity_.CheckOwnThread("EventPump::MakeDoorbell");
  return std::make_unique<Bell>(*this, std::move(handler));
}

void FakePump::Settle() {
  if (settle_) settle_();
}

bool FakePump::AnswerRings() {
  bool answered = false;
  // A copy: a handler may make or drop doorbells.
  const std::vector<Bell*> bells = bells_;
  for (Bell* bell : bells)
    if (std::find(bells_.begin(), bells_.end(), bell) != bells_.end()) {
      try {
        answered |= bell->Answer();
      } catch (const std::exception& e) {
        if (!onUnhandledFailure) throw UnhandledFailureInHandler{rt::DescribeException(e)};
        onUnhandledFailure(e);
        answered = true;
      }
    }
  return answered;
}

void FakePump::At(double when, std::function<void()> task) {
  affinity_.CheckOwnThread("EventPump::Post");
  queue_.push_back({when, seq_++, std::move(task)});
}

std::optional<double> FakePump::NextTime() const {
  if (queue_.empty()) return std::nullopt;
  return std::min_element(queue_.begin(), queue_.end(), [](auto& a, auto& b) { return a.at < b.at; })->at;
}

bool FakePump::RunDue() {
  bool ran = false;
  for (;;) {
    Settle();
    if (AnswerRings()) {
      ran = true;
      continue;
    }
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
