// The desktop's mouse input as the hook sees it: scheduled user input, a hook chain of
// one, and a log of what reached the applications (passed on by the hook, or delivered
// directly when no hook is installed).
#pragma once
#include <map>
#include <vector>

#include "fakes/VirtualTime.h"
#include "runtime/MouseInput.h"

namespace fake {

struct DeliveredMouseEvent {
  double at;
  std::uint32_t message;
  std::uintptr_t extraInfo;
  bool injected;
};

struct InjectedButton {
  double at;
  rt::LeftButtonAction action;
  std::uintptr_t extraInfo;
};

class FakeMouse : public rt::MouseInput {
 public:
  FakeMouse(FakePump& pump, VirtualClock& clock) : pump_(pump), clock_(clock) {}

  rt::HookHandle SetLowLevelHook(rt::MouseHookProcedure procedure) override;
  bool Unhook(rt::HookHandle handle) override;
  std::intptr_t CallNextHook(rt::HookHandle handle, int code, std::uintptr_t message,
                             const rt::LowLevelMouseEvent& event) override;
  void InjectLeftButton(rt::LeftButtonAction action, std::uintptr_t extraInfo) override;
  unsigned DoubleClickTimeMs() override { return doubleClickMs; }

  // Test side.
  void UserEventAt(double at, std::uint32_t message, std::uintptr_t extraInfo = 0, bool injected = false);
  void UserClickAt(double at, double pressedFor = 0.1);
  // Calls the hook at once, as the system does for an event; returns the hook's result.
  std::intptr_t Deliver(std::uint32_t message, std::uintptr_t extraInfo = 0, bool injected = false, int code = 0);
  bool HookInstalled() const { return !hooks_.empty(); }
  // Events that reached the applications with the given message.
  std::vector<DeliveredMouseEvent> DeliveredOf(std::uint32_t message) const;

  bool failNextHook = false;
  // The next injected press throws, as a failing platform call would.
  bool failNextPress = false;
  unsigned doubleClickMs = 500;
  std::intptr_t nextHookResult = 0;
  int hooksInstalled = 0;
  int unhookCalls = 0;
  int callNextCalls = 0;
  std::vector<DeliveredMouseEvent> delivered;
  std::vector<InjectedButton> injections;

 private:
  FakePump& pump_;
  VirtualClock& clock_;
  std::map<rt::HookHandle, rt::MouseHookProcedure> hooks_;
  rt::HookHandle nextHandle_ = 0x1000;
};

}  // namespace fake
