// The session as a test plays it: the user leaves the desktop, or starts Vornatic again,
// at a virtual time, and it reaches the program through the pump as Windows' messages do.
#pragma once
#include <functional>

#include "fakes/VirtualTime.h"
#include "runtime/SessionEvents.h"

namespace fake {

class FakeSessionEvents : public rt::SessionEvents {
 public:
  explicit FakeSessionEvents(FakePump& pump) : pump_(pump) {}
  void OnLeavingDesktop(std::function<void()> leaving) override { leaving_ = std::move(leaving); }
  void OnStartedAgain(std::function<void()> startedAgain) override { startedAgain_ = std::move(startedAgain); }
  void OnReturnedToDesktop(std::function<void()> returned) override { returned_ = std::move(returned); }

  // A lock, a suspend, a user switch: Windows' reasons all come to this one.
  void LeaveAt(double at);
  void ReturnAt(double at);
  void StartAgainAt(double at);
  bool Listening() const { return leaving_ != nullptr && startedAgain_ != nullptr; }

 private:
  FakePump& pump_;
  std::function<void()> leaving_;
  std::function<void()> startedAgain_;
  std::function<void()> returned_;
};

}  // namespace fake
