#include "autodrag/modMouse.h"

#include <algorithm>
#include <limits>

#include "runtime/Waiting.h"

namespace {
constexpr int kHcAction = 0;

rt::MouseEventToInject LeftButton(std::uint32_t message, std::optional<rt::ScreenPoint> at) {
  return rt::MouseEventToInject{message, at, 0};
}
}  // namespace

void modMouse::StartMouseHook() {
  hook_ = MouseHook(platform_.mouse, [this](int code, std::uintptr_t message, const rt::LowLevelMouseEvent& event) {
    return MouseHookProc(code, message, event);
  });
  lastHandle_ = hook_.Handle();
}

void modMouse::StopMouseHook() {
  hook_.Remove();
  LetGo();
}

void modMouse::CountRelease() {
  // The controller resets the count at every start and whenever it passes 1, so it never
  // comes near the top in operation; saturating keeps a runaway from wrapping negative.
  if (clickCount_ < std::numeric_limits<std::int16_t>::max()) ++clickCount_;
}

std::intptr_t modMouse::MouseHookProc(int code, std::uintptr_t message, const rt::LowLevelMouseEvent& event) {
  const int hookCode = static_cast<std::int16_t>(code & 0xFFFF);
  if (hookCode == kHcAction && Decide(static_cast<std::uint32_t>(message), event) == Verdict::Swallow) return 1;
  return platform_.mouse.CallNextHook(lastHandle_, hookCode, message, event);
}

// Windows bypasses, and finally removes, a low-level hook that keeps the desktop waiting,
// so nothing here waits: what must come later is taken out of the stream now and put
// back, tagged, by a handler of our own message.
modMouse::Verdict modMouse::Decide(std::uint32_t message, const rt::LowLevelMouseEvent& event) {
  lastPointer_ = event.at;
  if (event.extraInfo == kInjectedTag) {
    if (pressedForUser_) TellPointerLater();
    return Verdict::PassOn;
  }
  if (HoldingBackInput()) return HoldBack(message, event);
  // The drop click's press: the button is already down for the user.
  if (message == rt::msg::kLButtonDown && pressedForUser_) return Verdict::Swallow;
  if (message != rt::msg::kLButtonUp) {
    if (pressedForUser_) TellPointerLater();
    return Verdict::PassOn;
  }
  return pressedForUser_ ? Drop() : PickUp(message, event);
}

modMouse::Verdict modMouse::HoldBack(std::uint32_t message, const rt::LowLevelMouseEvent& event) {
  if (awaitingPress_ && !flushPosted_ &&
      rt::ElapsedSeconds(pressAwaitedSince_, platform_.clock.TimeOfDay()) > kPressGraceSeconds) {
    flushPosted_ = true;
    platform_.pump.Post([this] { PassOnHeldInput(); });
  }
  if (message == rt::msg::kLButtonUp) CountRelease();
  held_.push_back({message, HeldPoint(event), event.mouseData});
  return Verdict::Swallow;
}

modMouse::Verdict modMouse::Drop() {
  // The user's own release lets go of our press, where and when they let go.
  CountRelease();
  pressedForUser_ = false;
  platform_.pump.Post([this] { TellHoldState(); });
  return Verdict::PassOn;
}

modMouse::Verdict modMouse::PickUp(std::uint32_t message, const rt::LowLevelMouseEvent& event) {
  if (!platform_.mouse.CanReach(event.at)) {
    // A release we held back could never be put back into that window: it would be left
    // with its button down. The click goes through as it is, and auto-drag ends.
    trouble_ = Trouble::WindowOutOfReach;
    WakeTheLoop();
    return Verdict::PassOn;
  }
  CountRelease();
  pickUpPoint_ = event.at;
  heldPath_ = event.at;
  held_.push_back({message, event.at, event.mouseData});
  releaseDue_ = true;
  platform_.pump.Post([this] { PassOnHeldRelease(); });
  return Verdict::Swallow;
}

rt::ScreenPoint modMouse::HeldPoint(const rt::LowLevelMouseEvent& event) {
  // A swallowed move leaves the pointer where it was, so a mouse's next report is that
  // still point plus its own move, and the hand's path is the sum of those moves. A pen, a
  // touch screen or a virtual machine's pointer reports the place itself, and so does any
  // report where the pointer followed anyway.
  const bool reportsMoves = platform_.mouse.DeviceReports() == rt::PointerReports::Moves &&
                            (event.extraInfo & kPenOrTouchMask) != kPenOrTouchSignature;
  if (reportsMoves && event.pointerBefore == pickUpPoint_)
    heldPath_ = rt::ScreenPoint{heldPath_.x + event.at.x - pickUpPoint_.x, heldPath_.y + event.at.y - pickUpPoint_.y};
  else
    heldPath_ = event.at;
  return heldPath_;
}

void modMouse::PassOnHeldRelease() {
  if (!releaseDue_) return;  // already passed on, on the way out
  // A stop or the way out passes the release on early; the wait ends with it.
  rt::PumpFor(platform_.pump, platform_.clock, HoldSeconds(), [this] { return releaseDue_; });
  if (!releaseDue_) return;
  releaseDue_ = false;
  const HeldEvent release = held_.front();
  held_.pop_front();
  // The rest waits for our press only while a press is still to come: the first click of
  // a drag, the hook still in, nothing gone wrong.
  awaitingPress_ = clickCount_ == 1 && !pressedForUser_ && hook_.Installed() && trouble_ == Trouble::None;
  pressAwaitedSince_ = platform_.clock.TimeOfDay();
  flushPosted_ = false;
  Inject({LeftButton(release.message, release.at)});
  if (!awaitingPress_) PassOnHeldInput();
}

void modMouse::PressLeftButton() {
  // No press once a stop was asked for (the hook is gone) or once something went wrong.
  if (!hook_.Installed() || pressedForUser_ || trouble_ != Trouble::None) return PassOnHeldInput();
  // While the movement is held the pointer is still where the user released: press there.
  // If the wait for us ran out, the pointer has moved on, and the press goes where it is.
  const std::optional<rt::ScreenPoint> at = awaitingPress_ ? std::optional(pickUpPoint_) : std::nullopt;
  pressedForUser_ = true;
  if (at) lastPointer_ = *at;
  Replay({LeftButton(rt::msg::kLButtonDown, at)});
}

void modMouse::ReleaseLeftButton() {
  std::vector<rt::MouseEventToInject> release;
  if (pressedForUser_) {
    pressedForUser_ = false;
    release.push_back(LeftButton(rt::msg::kLButtonUp, std::nullopt));
  }
  Replay(std::move(release));
}

void modMouse::PassOnHeldInput() { Replay({}); }

void modMouse::LetGo() {
  PassOnHeldInput();
  if (pressedForUser_) ReleaseLeftButton();
  if (owedRelease_) {
    owedRelease_ = false;
    Inject({LeftButton(rt::msg::kLButtonUp, std::nullopt)});
  }
}

void modMouse::Replay(std::vector<rt::MouseEventToInject> events) {
  releaseDue_ = false;
  awaitingPress_ = false;
  // The user's input that arrives while we inject is held too, and goes after ours.
  do {
    for (const HeldEvent& e : held_) {
      if (e.message == rt::msg::kLButtonDown && pressedForUser_) continue;
      if (e.message == rt::msg::kLButtonUp && pressedForUser_) pressedForUser_ = false;
      events.push_back(rt::MouseEventToInject{e.message, e.at, e.mouseData});
    }
    held_.clear();
    if (!events.empty()) Inject(events);
    events.clear();
  } while (!held_.empty());
  TellHoldState();
}

void modMouse::Inject(const std::vector<rt::MouseEventToInject>& events) {
  // Windows may call our hook for other input while it takes ours (Wine does so from
  // inside SendInput); that input must not overtake what we are putting back.
  const bool outermost = !injecting_;
  injecting_ = true;
  std::size_t taken = 0;
  try {
    taken = platform_.mouse.Inject(events, kInjectedTag);
  } catch (...) {
    if (outermost) injecting_ = false;
    trouble_ = Trouble::InjectionRefused;
    WakeTheLoop();
    throw;
  }
  if (outermost) injecting_ = false;
  if (taken < events.size()) {
    const auto isRelease = [](const rt::MouseEventToInject& e) { return e.message == rt::msg::kLButtonUp; };
    owedRelease_ =
        owedRelease_ || std::any_of(events.begin() + static_cast<std::ptrdiff_t>(taken), events.end(), isRelease);
    trouble_ = Trouble::InjectionRefused;
    WakeTheLoop();
  }
}

void modMouse::TellHoldState() {
  if (observer_ == nullptr || pressedForUser_ == toldHolding_) return;
  toldHolding_ = pressedForUser_;
  if (toldHolding_)
    observer_->HoldStarted(lastPointer_);
  else
    observer_->HoldEnded();
}

void modMouse::TellPointerLater() {
  // One update waits in the queue at a time, with the newest point: the badge follows the
  // pointer as fast as the loop runs, and a burst of moves costs one repaint.
  if (observer_ == nullptr || pointerTellPosted_) return;
  pointerTellPosted_ = true;
  platform_.pump.Post([this] {
    pointerTellPosted_ = false;
    if (observer_ != nullptr && toldHolding_ && pressedForUser_) observer_->PointerMoved(lastPointer_);
  });
}

void modMouse::WakeTheLoop() {
  platform_.pump.Post([] {});
}

double modMouse::HoldSeconds() {
  const double doubleClick = platform_.mouse.DoubleClickTimeMs() / 1000.0 + 0.05;
  return std::max(kMinimumHoldSeconds, doubleClick);
}

void modMouse::WaitSeconds(double seconds) { rt::PumpFor(platform_.pump, platform_.clock, seconds); }
