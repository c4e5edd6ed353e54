// A virtual clock and an event pump that runs on it: tests schedule input at virtual
// times, and a pump with nothing to do jumps straight to the next scheduled event or its
// deadline. No test ever sleeps.
#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "runtime/Clock.h"
#include "runtime/EventPump.h"

namespace fake {

class VirtualClock : public rt::Clock {
 public:
  explicit VirtualClock(double timeOfDayAtStart = 10 * 3600.0) : startOfDay_(timeOfDayAtStart) {}
  float TimeOfDay() override;
  // Virtual seconds since the clock was made; never goes back. Read from the fake input
  // thread too, so kept atomic.
  double Now() const { return now_.load(); }
  void AdvanceTo(double t) {
    if (t > now_.load()) now_ = t;
  }
  // The time of day jumps, as when the user sets the clock; virtual time goes on steadily.
  void StepTimeOfDay(double seconds) { startOfDay_ += seconds; }

 private:
  double startOfDay_;
  std::atomic<double> now_{0};
};

// Who may call what: the fakes of window-thread services are used from the thread that
// made them, as Windows' are; a call from another thread (the hook's) is a broken rule,
// and the test process ends with what was called.
class ThreadAffine {
 public:
  void CheckOwnThread(const char* what) const;

 private:
  std::thread::id owner_ = std::this_thread::get_id();
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
    After(static_cast<double>(delay.count()) / 1000.0 + timersLate, std::move(task));
  }
  // A ring from any thread is answered on this one at the virtual time it is noticed.
  std::unique_ptr<rt::Doorbell> MakeDoorbell(std::function<void()> handler) override;
  // The next ring fails, as a PostMessage to a full queue does.
  bool failNextRing = false;
  // How many times any thread rang a doorbell of this pump.
  std::atomic<int> rings{0};
  // Other threads' work (the fake input thread) that must be finished before the pump
  // looks for what is due or moves the clock on.
  void SetSettle(std::function<void()> settle) { settle_ = std::move(settle); }
  // The window timers' lateness: every timed task runs this much later than asked, as
  // on a busy window thread.
  double timersLate = 0;

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
  class Bell;
  bool RunDue();
  bool AnswerRings();
  void Settle();
  std::optional<double> NextTime() const;

  VirtualClock& clock_;
  ThreadAffine affinity_;
  std::vector<Bell*> bells_;
  std::function<void()> settle_;
  std::vector<Scheduled> queue_;
  std::uint64_t seq_ = 0;
  int pumps_ = 0;
  int blockingPumps_ = 0;
  int limit_ = 1'000'000;
};

}  // namespace fake
