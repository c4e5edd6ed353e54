// The desktop's mouse input as the hook sees it: scheduled user input at points of the
// screen, a hook chain of one called on an input thread of its own as Windows calls it, a
// pointer that moves with what passes, and a log of what reached the applications (passed
// on by the hook, or delivered directly when no hook is installed).
#pragma once
#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "fakes/InputThread.h"
#include "fakes/VirtualTime.h"
#include "runtime/MouseInput.h"

namespace fake {

struct DeliveredMouseEvent {
  double at;
  std::uint32_t message;
  std::uintptr_t extraInfo;
  bool injected;
  rt::ScreenPoint point;
  // Made on another desktop (the lock screen): no hook of ours and no application here
  // got it, but the session's key state did.
  bool elsewhere = false;
};

struct InjectedMouseEvent {
  double at;
  std::uint32_t message;
  std::uintptr_t extraInfo;
  // Where it landed: the point asked for, or the pointer's position then.
  rt::ScreenPoint point;
};

class FakeMouse : public rt::MouseInput {
 public:
  FakeMouse(FakePump& pump, VirtualClock& clock);
  FakeMouse(const FakeMouse&) = delete;
  FakeMouse& operator=(const FakeMouse&) = delete;
  ~FakeMouse() override;

  rt::HookHandle SetLowLevelHook(rt::MouseHookProcedure procedure) override;
  bool Unhook(rt::HookHandle handle) override;
  std::intptr_t CallNextHook(rt::HookHandle handle, int code, std::uintptr_t message,
                             const rt::LowLevelMouseEvent& event) override;
  std::size_t Inject(const std::vector<rt::MouseEventToInject>& events, std::uintptr_t extraInfo) override;
  unsigned DoubleClickTimeMs() override { return doubleClickMs; }
  rt::ScreenSize DoubleClickArea() override { return doubleClickArea; }
  bool ButtonsSwapped() override { return buttonsSwapped; }
  rt::WindowAtPoint LookAt(rt::ScreenPoint point, bool askReach) override;
  void SetHookLostHandler(std::function<void()> handler) override { hookLost_ = std::move(handler); }
  bool DeviceButtonDown(std::uint32_t upMessage) override;
  std::optional<rt::DeviceButtons> HandButtons() override;
  rt::ScreenPoint CursorPosition() override;
  // The trail is the log of what moved the pointer, newest last.
  std::optional<rt::ScreenPoint> LastPointNotTagged(std::uintptr_t tag) override;
  bool HookLossWatched() override { return !rawInputRefused; }
  void NoteKeptDown(std::uint8_t buttons) noexcept override { keptDown = buttons; }

  // Windows takes every hook away without a word, as it does with a hook that keeps the
  // desktop waiting; the raw-input watch notices the next button event and says so, on
  // the window's thread.
  void TakeHooksAwayAt(double at);
  // Test side. A user event without a point happens where the pointer is.
  void UserEventAt(double at, std::uint32_t message, std::uintptr_t extraInfo = 0, bool injected = false);
  void UserEventAt(double at, std::uint32_t message, rt::ScreenPoint point);
  void UserClickAt(double at, double pressedFor = 0.1);
  void UserClickAt(double at, rt::ScreenPoint point, double pressedFor = 0.1);
  void UserMoveAt(double at, rt::ScreenPoint point);
  // Calls the hook at once, as the system does for an event; returns the hook's result.
  std::intptr_t Deliver(std::uint32_t message, std::uintptr_t extraInfo = 0, bool injected = false, int code = 0);
  std::intptr_t DeliverAt(rt::ScreenPoint point, std::uint32_t message, std::uintptr_t extraInfo = 0,
                          bool injected = false, int code = 0);
  bool HookInstalled() const { return !hooks_.empty(); }
  // Events that reached the applications with the given message.
  std::vector<DeliveredMouseEvent> DeliveredOf(std::uint32_t message) const;
  std::vector<InjectedMouseEvent> InjectedOf(std::uint32_t message) const;
  // The primary button as applications see it: down after a delivered press until a release.
  bool LeftButtonDown() const;
  // Any button, by its press and release as applications get them.
  // `session`: as the session's key state has it, with what happened on another desktop.
  bool DownForApplications(std::uint32_t downMessage, std::uint32_t upMessage, bool session = false) const;
  // What applications saw, one word per event: "D@x,y" press, "U@x,y" release, "M@x,y" a
  // move with the primary button down (moves with it up are left out), "d"/"u"/"m" the
  // secondary button, "MD"/"MU" the middle one; injected ones carry a trailing "*".
  // From the given entry of the log on.
  std::string Seen(std::size_t from = 0) const;

  bool failNextHook = false;
  // Windows would not let the lost-hook watch read raw input.
  bool rawInputRefused = false;
  // The secure desktop is up (the screen is locked): Windows refuses what we inject, and
  // the hand's input goes there, past our hook and the applications here.
  bool desktopLocked = false;
  // How often the hook looked at the window under a point, and asked whether injected
  // input reaches it.
  std::atomic<int> looks{0};
  std::atomic<int> reachAsked{0};
  // Heap allocations the program's hook procedure made, the fakes' own left out.
  std::atomic<long> heapInHook{0};
  // What the program last said it keeps down, as the crash path would read it.
  std::atomic<std::uint8_t> keptDown{0};
  // The next look at our own window fails, as a platform call inside the hook might.
  std::atomic<bool> throwOnNextWindowLook{false};
  // The next injection throws, as a failing platform call would.
  bool throwOnNextInjection = false;
  // The next injection is refused whole, as Windows does on the secure desktop.
  bool refuseNextInjection = false;
  // Every injection is refused while set, with the hand's input still reaching us, as with
  // a program of a higher level in the foreground.
  bool refuseInjections = false;
  // Runs once, inside the next injection: input that reaches the hook while the system is
  // taking ours, as Wine calls the hook from inside SendInput.
  std::function<void()> whileNextInjection;
  // Points whose window runs at a higher integrity level than ours.
  std::function<bool(rt::ScreenPoint)> outOfReach;
  // The process owning the window at a point (0, none, unless set).
  std::function<std::uint32_t(rt::ScreenPoint)> programAt;
  // Where our own window is on the screen; none: hidden.
  std::optional<rt::ScreenRect> ownWindow;
  unsigned doubleClickMs = 500;
  rt::ScreenSize doubleClickArea{4, 4};
  // The user's swap setting. As on Windows, the hook and the applications see the
  // primary button as the left one, while an injected event names the device's button:
  // with the buttons swapped, an injected right release lets go of the primary button.
  bool buttonsSwapped = false;

  // Windows' patience with a low-level hook. When set, a hook call that keeps its event
  // waiting longer than the limit (real time: the hook runs on its own thread, while the
  // virtual clock stands still) is passed over: the event goes on as if the hook had
  // returned 0. After `removeAfter` such calls the hook is removed without a word, as
  // Windows 7 and later do. Wine does neither, which is why the model lives here. Unset,
  // a hook that does not answer within ten seconds ends the test run: it is waiting for
  // something that will never come.
  struct HookTimeoutModel {
    double limitSeconds = 0.3;
    int removeAfter = 10;
  };
  std::optional<HookTimeoutModel> hookTimeouts;
  struct HookTimeout {
    double happenedAt;
    double waitedSeconds;
    std::uint32_t message;
  };
  std::vector<HookTimeout> timedOut;
  int hooksRemovedForTimeouts = 0;
  std::intptr_t nextHookResult = 0;
  int hooksInstalled = 0;
  int unhookCalls = 0;
  std::atomic<int> callNextCalls{0};
  rt::ScreenPoint pointer;
  std::vector<DeliveredMouseEvent> delivered;
  std::vector<InjectedMouseEvent> injections;

 private:
  struct HookCall;
  void Passed(std::uint32_t message, const rt::LowLevelMouseEvent& event);
  void RunHookCall(HookCall& call);
  // Calls the hook chain for an event that happened at `happenedAt`, timing the call.
  std::intptr_t DeliverHappenedAt(double happenedAt, rt::ScreenPoint point, std::uint32_t message,
                                  std::uintptr_t extraInfo, bool injected, int code);
  void CountTimeout(rt::HookHandle handle);
  void FollowTheHand(std::uint32_t message);

  FakePump& pump_;
  VirtualClock& clock_;
  std::map<rt::HookHandle, rt::MouseHookProcedure> hooks_;
  // Hooks the program put in and has not taken out, taken away by Windows or not: the raw
  // input watch runs while there are any, as the Windows backend's does.
  int programHooks_ = 0;
  std::set<rt::HookHandle> unhooked_;
  // The device's buttons the hand holds, as raw input would report them.
  std::atomic<rt::DeviceButtons> hand_{0};
  rt::HookHandle nextHandle_ = 0x1000;
  // The hook call running on the input thread, read there only by CallNextHook.
  HookCall* current_ = nullptr;
  // Guards what both threads write: the log of what passed and the pointer.
  std::mutex logMutex_;
  std::map<rt::HookHandle, int> timeoutsOf_;
  std::function<void()> hookLost_;
  bool hooksTakenAway_ = false;
  ThreadAffine affinity_;
  // Last, so that it stops before anything its jobs use goes.
  InputThread input_;
};

}  // namespace fake
