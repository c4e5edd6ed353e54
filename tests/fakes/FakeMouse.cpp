#include "fakes/FakeMouse.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "fakes/HeapCount.h"
#include "runtime/Failure.h"

namespace fake {

namespace {
constexpr std::uint32_t kInjectedFlag = 1;  // LLMHF_INJECTED
constexpr std::uint32_t kMove = 0x0200, kLDown = 0x0201, kLUp = 0x0202, kRDown = 0x0204, kRUp = 0x0205, kMDown = 0x0207,
                        kMUp = 0x0208;

std::uint32_t Swapped(std::uint32_t message) {
  switch (message) {
    case kLDown: return kRDown;
    case kLUp: return kRUp;
    case kRDown: return kLDown;
    case kRUp: return kLUp;
    default: return message;
  }
}
}  // namespace

struct FakeMouse::HookCall {
  rt::MouseHookProcedure procedure;
  int code = 0;
  std::uint32_t message = 0;
  rt::LowLevelMouseEvent event;
  std::intptr_t result = 0;
  bool passed = false;
  // The system stopped waiting for it: what it does from now on no longer counts.
  std::atomic<bool> abandoned{false};
};

FakeMouse::FakeMouse(FakePump& pump, VirtualClock& clock) : pump_(pump), clock_(clock) {
  pump_.SetSettle([this] { input_.WaitIdle(); });
}

FakeMouse::~FakeMouse() {
  pump_.SetSettle({});
  input_.WaitIdle();
}

rt::WindowAtPoint FakeMouse::LookAt(rt::ScreenPoint point, bool askReach) {
  const HeapCount::Pause ours;
  if (throwOnNextWindowLook.exchange(false)) throw rt::Failure(L"The window under the pointer could not be found");
  ++looks;
  rt::WindowAtPoint window;
  window.ours = ownWindow && ownWindow->Contains(point);
  window.program = programAt ? programAt(point) : 0;
  if (askReach) {
    ++reachAsked;
    window.reachable = !outOfReach || !outOfReach(point);
  }
  return window;
}

std::optional<rt::DeviceButtons> FakeMouse::HandButtons() {
  affinity_.CheckOwnThread("MouseInput::HandButtons");
  if (rawInputRefused || programHooks_ == 0) return std::nullopt;
  return hand_.load();
}

rt::ScreenPoint FakeMouse::CursorPosition() {
  affinity_.CheckOwnThread("MouseInput::CursorPosition");
  input_.WaitIdle();
  std::lock_guard<std::mutex> lock(logMutex_);
  return pointer;
}

std::optional<rt::ScreenPoint> FakeMouse::LastPointNotTagged(std::uintptr_t tag) {
  affinity_.CheckOwnThread("MouseInput::LastPointNotTagged");
  input_.WaitIdle();
  std::lock_guard<std::mutex> lock(logMutex_);
  const auto last = std::find_if(delivered.rbegin(), delivered.rend(), [tag](const auto& e) { return e.extraInfo != tag; });
  if (last == delivered.rend()) return std::nullopt;
  return last->point;
}

void FakeMouse::RunHookCall(HookCall& call) {
  current_ = &call;
  const HeapCount counted(heapInHook);
  call.result = call.procedure(call.code, call.message, call.event);
  current_ = nullptr;
}

rt::HookHandle FakeMouse::SetLowLevelHook(rt::MouseHookProcedure procedure) {
  if (failNextHook) {
    failNextHook = false;
    return 0;
  }
  ++hooksInstalled;
  ++programHooks_;
  hooksTakenAway_ = false;
  const auto handle = nextHandle_++;
  hooks_[handle] = std::move(procedure);
  return handle;
}

bool FakeMouse::Unhook(rt::HookHandle handle) {
  // As Windows does once the hook's thread has ended: no call of it is still running after.
  input_.WaitIdle();
  ++unhookCalls;
  if (handle != 0 && handle < nextHandle_ && programHooks_ > 0 && !unhooked_.count(handle)) {
    unhooked_.insert(handle);
    --programHooks_;
  }
  return hooks_.erase(handle) != 0;
}

void FakeMouse::Passed(std::uint32_t message, const rt::LowLevelMouseEvent& event) {
  std::lock_guard<std::mutex> lock(logMutex_);
  // As on Windows, only an event that gets past the hooks moves the pointer.
  pointer = event.at;
  delivered.push_back({clock_.Now(), message, event.extraInfo, (event.flags & kInjectedFlag) != 0, event.at});
}

std::intptr_t FakeMouse::CallNextHook(rt::HookHandle, int, std::uintptr_t message,
                                      const rt::LowLevelMouseEvent& event) {
  const HeapCount::Pause ours;
  ++callNextCalls;
  if (current_ != nullptr) {
    if (current_->abandoned) return 0;
    current_->passed = true;
  }
  Passed(static_cast<std::uint32_t>(message), event);
  return nextHookResult;
}

std::intptr_t FakeMouse::Deliver(std::uint32_t message, std::uintptr_t extraInfo, bool injected, int code) {
  rt::ScreenPoint at;
  {
    std::lock_guard<std::mutex> lock(logMutex_);
    at = pointer;
  }
  return DeliverAt(at, message, extraInfo, injected, code);
}

std::intptr_t FakeMouse::DeliverAt(rt::ScreenPoint point, std::uint32_t message, std::uintptr_t extraInfo,
                                   bool injected, int code) {
  return DeliverHappenedAt(clock_.Now(), point, message, extraInfo, injected, code);
}

std::intptr_t FakeMouse::DeliverHappenedAt(double happenedAt, rt::ScreenPoint point, std::uint32_t message,
                                           std::uintptr_t extraInfo, bool injected, int code) {
  affinity_.CheckOwnThread("a user's mouse event");
  // A hand that moved before pressing reports the move first, as Windows hands them to the hooks.
  rt::ScreenPoint from;
  {
    std::lock_guard<std::mutex> lock(logMutex_);
    from = pointer;
  }
  if (!injected && message != kMove && !(point == from)) DeliverHappenedAt(happenedAt, point, kMove, extraInfo, false, code);
  rt::LowLevelMouseEvent event;
  event.at = point;
  event.extraInfo = extraInfo;
  event.flags = injected ? kInjectedFlag : 0;
  event.time = static_cast<std::uint32_t>(happenedAt * 1000);
  if (!injected) FollowTheHand(message);
  if (desktopLocked) {
    std::lock_guard<std::mutex> lock(logMutex_);
    pointer = point;
    delivered.push_back({clock_.Now(), message, extraInfo, injected, point, true});
    return 0;
  }
  if (hooks_.empty()) {
    Passed(message, event);
    // The watch sees the button by raw input; the hook never did.
    if (hooksTakenAway_ && message != kMove && hookLost_) {
      hooksTakenAway_ = false;
      pump_.After(0.5, [this] {
        if (hookLost_) hookLost_();
      });
    }
    return 0;
  }
  // The newest hook is called first, as the system does, on the input thread, while the
  // system waits for its answer.
  const auto [handle, procedure] = *hooks_.rbegin();
  auto call = std::make_shared<HookCall>();
  call->procedure = procedure;
  call->code = code;
  call->message = message;
  call->event = event;
  const double patience = hookTimeouts ? hookTimeouts->limitSeconds : 10.0;
  const auto started = std::chrono::steady_clock::now();
  if (input_.RunAndWait([this, call] { RunHookCall(*call); },
                        std::chrono::milliseconds(static_cast<long long>(patience * 1000)))) {
    return call->result;
  }
  call->abandoned = true;
  if (!hookTimeouts) {
    std::fprintf(stderr, "the hook did not answer within %.0f s: it waits for something that never comes\n", patience);
    std::abort();
  }
  const double waited = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  timedOut.push_back({happenedAt, waited, message});
  // The system stopped waiting at the limit and sent the event on; what the hook does
  // with it afterwards no longer counts.
  if (!call->passed) Passed(message, event);
  CountTimeout(handle);
  return 0;
}

void FakeMouse::FollowTheHand(std::uint32_t message) {
  // Raw input names the device's buttons; the hook's messages name the user's.
  const std::uint32_t device = buttonsSwapped ? Swapped(message) : message;
  const auto bit = [](std::uint32_t m) -> rt::DeviceButtons {
    if (m == kLDown || m == kLUp) return 1;
    if (m == kRDown || m == kRUp) return 2;
    if (m == kMDown || m == kMUp) return 4;
    return 0;
  };
  const rt::DeviceButtons b = bit(device);
  if (b == 0) return;
  const bool down = device == kLDown || device == kRDown || device == kMDown;
  hand_ = static_cast<rt::DeviceButtons>(down ? (hand_ | b) : (hand_ & ~b));
}

void FakeMouse::CountTimeout(rt::HookHandle handle) {
  if (++timeoutsOf_[handle] < hookTimeouts->removeAfter) return;
  if (hooks_.erase(handle) != 0) ++hooksRemovedForTimeouts;
}

std::size_t FakeMouse::Inject(const std::vector<rt::MouseEventToInject>& events, std::uintptr_t extraInfo) {
  affinity_.CheckOwnThread("MouseInput::Inject");
  if (throwOnNextInjection) {
    throwOnNextInjection = false;
    throw rt::Failure(L"Injection refused");
  }
  if (whileNextInjection) std::exchange(whileNextInjection, {})();
  if (refuseNextInjection || refuseInjections || desktopLocked) {
    refuseNextInjection = false;
    return 0;
  }
  // Where each lands: its own point, or where the pointer will be by then.
  rt::ScreenPoint landing;
  {
    std::lock_guard<std::mutex> lock(logMutex_);
    landing = pointer;
  }
  const rt::MouseHookProcedure procedure = hooks_.empty() ? rt::MouseHookProcedure{} : hooks_.rbegin()->second;
  for (const auto& e : events) {
    if (e.at) landing = *e.at;
    injections.push_back({clock_.Now(), e.message, extraInfo, landing});
    // The hook and the applications see the device's button as the user's setting maps it.
    const std::uint32_t message = buttonsSwapped ? Swapped(e.message) : e.message;
    rt::LowLevelMouseEvent event;
    event.at = landing;
    event.extraInfo = extraInfo;
    event.flags = kInjectedFlag;
    event.time = static_cast<std::uint32_t>(clock_.Now() * 1000);
    // Injected input joins the input stream: the hook sees it on its own thread while the
    // window's thread goes on, as SendInput returns before anyone has read it.
    input_.RunLater([this, procedure, message, event] {
      if (!procedure) return Passed(message, event);
      auto call = std::make_shared<HookCall>();
      call->procedure = procedure;
      call->message = message;
      call->event = event;
      RunHookCall(*call);
    });
  }
  return events.size();
}

void FakeMouse::UserEventAt(double at, std::uint32_t message, std::uintptr_t extraInfo, bool injected) {
  pump_.At(at, [this, at, message, extraInfo, injected] {
    rt::ScreenPoint where;
    {
      std::lock_guard<std::mutex> lock(logMutex_);
      where = pointer;
    }
    DeliverHappenedAt(at, where, message, extraInfo, injected, 0);
  });
}

void FakeMouse::UserEventAt(double at, std::uint32_t message, rt::ScreenPoint point) {
  pump_.At(at, [this, at, message, point] { DeliverHappenedAt(at, point, message, 0, false, 0); });
}

void FakeMouse::UserClickAt(double at, double pressedFor) {
  UserEventAt(at, kLDown);
  UserEventAt(at + pressedFor, kLUp);
}

void FakeMouse::UserClickAt(double at, rt::ScreenPoint point, double pressedFor) {
  UserEventAt(at, kLDown, point);
  UserEventAt(at + pressedFor, kLUp, point);
}

void FakeMouse::UserMoveAt(double at, rt::ScreenPoint point) { UserEventAt(at, 0x0200, point); }

void FakeMouse::TakeHooksAwayAt(double at) {
  pump_.At(at, [this] {
    input_.WaitIdle();
    hooksRemovedForTimeouts += static_cast<int>(hooks_.size());
    hooks_.clear();
    hooksTakenAway_ = true;
  });
}

std::vector<DeliveredMouseEvent> FakeMouse::DeliveredOf(std::uint32_t message) const {
  std::vector<DeliveredMouseEvent> result;
  for (const auto& e : delivered)
    if (e.message == message && !e.elsewhere) result.push_back(e);
  return result;
}

std::vector<InjectedMouseEvent> FakeMouse::InjectedOf(std::uint32_t message) const {
  std::vector<InjectedMouseEvent> result;
  for (const auto& e : injections)
    if (e.message == message) result.push_back(e);
  return result;
}

std::string FakeMouse::Seen(std::size_t from) const {
  std::string words;
  bool down = false, secondaryDown = false;
  for (std::size_t i = 0; i < delivered.size(); ++i) {
    const auto& e = delivered[i];
    if (e.elsewhere) continue;
    const char* letters = nullptr;
    if (e.message == kLDown) down = true, letters = "D";
    else if (e.message == kLUp) down = false, letters = "U";
    else if (e.message == kMove && down) letters = "M";
    else if (e.message == kMove && secondaryDown) letters = "m";
    else if (e.message == kRDown) secondaryDown = true, letters = "d";
    else if (e.message == kRUp) secondaryDown = false, letters = "u";
    else if (e.message == kMDown) letters = "MD";
    else if (e.message == kMUp) letters = "MU";
    if (letters == nullptr || i < from) continue;
    // Appended piece by piece: GCC's -Wrestrict misreads a chain of string sums here.
    if (!words.empty()) words += ' ';
    words.append(letters).append("@").append(std::to_string(e.point.x)).append(",").append(std::to_string(e.point.y));
    if (e.injected) words += '*';
    if (std::getenv("VORNATIC_TRACE")) words.append("(").append(std::to_string(e.at)).append(")");
  }
  return words;
}

bool FakeMouse::LeftButtonDown() const { return DownForApplications(kLDown, kLUp); }

bool FakeMouse::DownForApplications(std::uint32_t downMessage, std::uint32_t upMessage, bool session) const {
  bool down = false;
  for (const auto& e : delivered) {
    if (e.elsewhere && !session) continue;
    if (e.message == downMessage) down = true;
    if (e.message == upMessage) down = false;
  }
  return down;
}

bool FakeMouse::DeviceButtonDown(std::uint32_t upMessage) {
  affinity_.CheckOwnThread("MouseInput::DeviceButtonDown");
  input_.WaitIdle();
  std::lock_guard<std::mutex> lock(logMutex_);
  // The log names buttons as the hook and applications see them; the device's are swapped.
  const std::uint32_t up = buttonsSwapped ? Swapped(upMessage) : upMessage;
  // The session's key state: a release on the lock screen counts here too.
  return DownForApplications(up - 1, up, true);
}

}  // namespace fake
