// A virtual clock and an event pump that runs on it: tests schedule input at virtual
// times, and a pump with nothing to do jumps straight to the next scheduled event or its
// deadline. No test ever sleeps.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "runtime/Clock.h"
#include "runtime/EventPump.h"

namespace fake {

class VirtualClock : public rt::Clock {
 public:
  explicit VirtualClock(double timeOfDayAtStart = 10 * 3600.0) : startOfDay_(timeOfDayAtStart) {}
  float TimeOfDay() override;
  // Virtual seconds since the clock was made; never goes back.
  double Now() const { return now_; }
  void AdvanceTo(double t) {
    if (t > now_) now_ = t;
  }
  // The time of day jumps, as when the user sets the clock; virtual time goes on steadily.
  void StepTimeOfDay(double seconds) { startOfDay_ += seconds; }

 private:
  double startOfDay_;
  double now_ = 0;
};

// Thrown when a pump without a deadline finds nothing to do and nothing scheduled: on the
// real platform the thread would wait for ever. Not a std::exception, so the program's
// failure handlers cannot swallow it.
struct PumpWouldBlockForever {};
struct PumpLimitExceeded {};
// A failure that escaped a dispatched handler while no one was set to receive it.
struct UnhandledFailureInHandler {
  std::wstring description;
};

class FakePump : public rt::EventPump {
 public:
  explicit FakePump(VirtualClock& clock) : clock_(clock) {}

  void PumpEvents(std::optional<std::chrono::milliseconds> maxWait) override;
  void Post(std::function<void()> task) override { At(clock_.Now(), std::move(task)); }
  void PostAfter(std::chrono::milliseconds delay, std::function<void()> task) override {
    After(static_cast<double>(delay.count()) / 1000.0, std::move(task));
  }

  // Schedules a message for a virtual time; runs when a pump reaches that time.
  void At(double when, std::function<void()> task);
  void After(double delay, std::function<void()> task) { At(clock_.Now() + delay, std::move(task)); }
  // Drives the thread from the outside, as the platform's own message loop would, until
  // the virtual time reaches `until` (or nothing is left to do).
  void RunUntil(double until);

  int Pumps() const { return pumps_; }
  int BlockingPumps() const { return blockingPumps_; }
  std::size_t Pending() const { return queue_.size(); }
  void SetPumpLimit(int limit) { limit_ = limit; }
  // What the platform does with a failure that leaves a dispatched handler: on Windows the
  // callback boundary reports it and ends the program. Unset, the test sees it thrown.
  std::function<void(const std::exception&)> onUnhandledFailure;

 private:
  struct Scheduled {
    double at;
    std::uint64_t seq;
    std::function<void()> task;
  };
  bool RunDue();
  std::optional<double> NextTime() const;

  VirtualClock& clock_;
  std::vector<Scheduled> queue_;
  std::uint64_t seq_ = 0;
  int pumps_ = 0;
  int blockingPumps_ = 0;
  int limit_ = 1'000'000;
};

}  // namespace fake
