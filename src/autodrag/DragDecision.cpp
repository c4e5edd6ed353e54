#include "autodrag/DragDecision.h"

#include <cstdlib>
#include <limits>
#include <utility>

#include "runtime/Types.h"

namespace drag {
namespace {

struct ButtonMessage {
  Button button;
  bool press;
};

std::optional<ButtonMessage> ButtonOf(std::uint32_t message) {
  switch (message) {
    case rt::msg::kLButtonDown: return ButtonMessage{Button::Primary, true};
    case rt::msg::kLButtonUp: return ButtonMessage{Button::Primary, false};
    case rt::msg::kRButtonDown: return ButtonMessage{Button::Secondary, true};
    case rt::msg::kRButtonUp: return ButtonMessage{Button::Secondary, false};
    case rt::msg::kMButtonDown: return ButtonMessage{Button::Middle, true};
    case rt::msg::kMButtonUp: return ButtonMessage{Button::Middle, false};
    default: return std::nullopt;
  }
}

constexpr std::uint32_t kXButtonDown = 0x020B;

}  // namespace

void DragDecision::SetLatch(const Latch& latch) {
  latch_ = latch;
  if (!latch_.holdTime) DropCandidate();
}

bool DragDecision::PressCouldLatch(std::uint32_t message) const {
  const auto button = ButtonOf(message);
  return button && button->press && !startOn_ && !hold_ && latch_.holdTime && Latchable(button->button);
}

void DragDecision::SetDoubleClick(unsigned timeMs, rt::ScreenSize area) {
  doubleClickMs_ = timeMs;
  doubleClickArea_ = area;
}

void DragDecision::Start() {
  startOn_ = true;
  startArmed_ = !hold_;
  DropCandidate();
  lastPress_.reset();
  trayIconPressed_ = false;
  giveUpAsked_ = false;
  trouble_ = Trouble::None;
  for (ButtonState& state : buttons_) state.pressOnOwnUi = false;
}

void DragDecision::EndStart() {
  startOn_ = false;
  startArmed_ = false;
  lastPress_.reset();
  if (!hold_) AfterHold();
}

void DragDecision::SetTrouble(Trouble trouble) {
  trouble_ = trouble;
  chores_.attention = true;
}

void DragDecision::AskGiveUp() {
  giveUpAsked_ = true;
  chores_.attention = true;
}

// Windows bypasses, and finally removes, a low-level hook that keeps the desktop waiting,
// so nothing here waits: every event is passed or swallowed on the spot.
bool DragDecision::Decide(const Event& event) {
  pointer_ = event.at;
  if (event.ours) return OnOurs(event);
  hand_ = event.at;
  ++handEvents_;
  if (event.message == rt::msg::kMouseMove) return OnMove(event);
  if (const auto button = ButtonOf(event.message))
    return button->press ? OnPress(button->button, event) : OnRelease(button->button, event);
  // Another button in the meantime: the user is doing something else than holding still.
  if (event.message == kXButtonDown) DropCandidate();
  return false;
}

bool DragDecision::OnOurs(const Event& event) {
  const auto button = ButtonOf(event.message);
  if (!button || !button->press) return false;
  ButtonState& state = State(button->button);
  if (!std::exchange(state.makingGood, false)) return false;
  // The hand let go before our press for it came: applications see the button up, as the
  // hand has it, and the release was swallowed.
  if (!state.down) return true;
  state.swallowRelease = false;
  chores_.reviewHook = true;
  return false;
}

bool DragDecision::OnMove(const Event& event) {
  if (candidate_ && !WithinDoubleClickArea(candidate_->press.at, event.at)) {
    // Decided by the events' own times, never by whether a timer has run yet: a busy
    // window thread makes the badge late, never the latch.
    const PendingPress pending = *candidate_;
    if (HeldLongEnough(event.time) && pending.reachable) {
      candidate_.reset();
      BeginHold(pending.button, pending.press, true, true);
    } else {
      DropCandidate();
    }
  }
  if (hold_) chores_.tellPointer = true;
  return false;
}

bool DragDecision::OnPress(Button button, const Event& event) {
  ButtonState& state = State(button);
  state.down = state.known = true;
  // The hand is at work again: a put-back of another button that Windows refused is tried
  // now, before this press can begin or end anything that would leave it further behind.
  for (const ButtonState& other : buttons_)
    if (&other != &state && other.owed && !other.owedAfterRelease) chores_.retryPutBack = true;
  if (hold_ && hold_->button == button) {
    // The button is already down for the user; this press only says what its release will mean.
    hold_->dropPressOnOwnUi = event.onOwnUi;
    hold_->dropPressBounces = !event.onOwnUi && IsBounce(event);
    return true;
  }
  if (state.owed && !state.owedAfterRelease) {
    // Applications still see it down from before: a second press would be one they never
    // get the release of. The put-back is tried again first.
    state.swallowRelease = true;
    state.pressHeldBack = true;
    chores_.retryPutBack = true;
    return true;
  }
  if (hold_ && event.onOwnUi) {
    // Any button on our window or tray icon gives up a hold of any button; the click itself
    // works nothing there.
    state.swallowRelease = true;
    AskGiveUp();
    return true;
  }
  // From here the press reaches applications, so its release must too.
  state.swallowRelease = false;
  state.pressOnOwnUi = event.onOwnUi;
  if (candidate_) DropCandidate();
  if (startArmed_ && button == Button::Primary) lastPress_ = Press{event.at, event.time};
  if (!startOn_ && !hold_ && latch_.holdTime && Latchable(button) && !event.onOwnUi && !event.latchExcepted) {
    candidate_ = PendingPress{Press{event.at, event.time}, button, ++candidates_, event.reachable};
    chores_.fillFrom = Candidate{candidate_->number, event.at, button};
  }
  return false;
}

bool DragDecision::OnRelease(Button button, const Event& event) {
  ButtonState& state = State(button);
  state.down = false;
  state.known = true;
  if (std::exchange(state.swallowRelease, false)) {
    state.pressOnOwnUi = false;
    state.pressHeldBack = false;
    // A put-back waiting for this release, or refused at its press, is tried now.
    if (state.owed) {
      state.owedAfterRelease = false;
      chores_.retryPutBack = true;
    }
    // Nothing more may be owed: the hook can come out if nothing else wants it.
    chores_.reviewHook = true;
    return true;
  }
  if (hold_ && hold_->button == button) return ReleaseWhileHolding(event);
  if (candidate_ && candidate_->button == button) return ReleaseOfCandidate(event);
  const bool pressOnOwnUi = std::exchange(state.pressOnOwnUi, false);
  if (startArmed_ && button == Button::Primary) {
    // A click on our own window or tray icon works that window or icon; it picks nothing up.
    const bool onOwnUi = pressOnOwnUi | std::exchange(trayIconPressed_, false) | event.onOwnUi;
    if (!onOwnUi) return PickUp(event);
    lastPress_.reset();
  }
  return false;
}

bool DragDecision::PickUp(const Event& event) {
  const std::optional<Press> press = std::exchange(lastPress_, std::nullopt);
  if (!event.reachable) {
    SetTrouble(Trouble::WindowOutOfReach);
    return false;
  }
  CountRelease();
  // The item was taken where the button went down; a press the hook did not see (it came
  // before the hook went in) leaves the release's point as the best we know.
  BeginHold(Button::Primary, press.value_or(Press{event.at, event.time}), false, false);
  return true;
}

bool DragDecision::ReleaseWhileHolding(const Event& event) {
  Hold& hold = *hold_;
  if (std::exchange(hold.pressStillDown, false)) {
    // The latched press's own release is the latch's pick-up: a quick second tap from here
    // is a bounce, as after a pick-up click.
    hold.pickUp.time = event.time;
    return true;
  }
  const bool bounced = std::exchange(hold.dropPressBounces, false);
  const bool onOwnUi = std::exchange(hold.dropPressOnOwnUi, false) || event.onOwnUi;
  if (bounced) return true;
  if (onOwnUi) {
    AskGiveUp();
    return true;
  }
  // The drop: the user's own release lets go, where and when they let go.
  if (startOn_) CountRelease();
  hold_.reset();
  AfterHold();
  chores_.tellHoldState = chores_.attention = true;
  return false;
}

bool DragDecision::ReleaseOfCandidate(const Event& event) {
  const PendingPress pending = *candidate_;
  if (HeldLongEnough(event.time) && pending.reachable) {
    candidate_.reset();
    BeginHold(pending.button, Press{pending.press.at, event.time}, true, false);
    return true;
  }
  // Released before the hold time: an ordinary click that never knew we looked.
  DropCandidate();
  return false;
}

void DragDecision::BeginHold(Button button, Press pickUp, bool byLatch, bool pressStillDown) {
  hold_ = Hold{button, pickUp, byLatch, pressStillDown, false, false};
  startArmed_ = false;
  State(button).swallowRelease = false;
  chores_.tellHoldState = chores_.attention = true;
}

void DragDecision::AfterHold() {
  giveUpAsked_ = false;
  startArmed_ = false;
}

bool DragDecision::ReachMatters(std::uint32_t message) const {
  const auto button = ButtonOf(message);
  if (!button) return false;
  if (!button->press) return startArmed_ && button->button == Button::Primary;
  return !startOn_ && !hold_ && latch_.holdTime && Latchable(button->button);
}

void DragDecision::ShowHeld(std::uint64_t number) {
  if (!candidate_ || candidate_->number != number || !candidate_->reachable) return;
  candidate_->shownHeld = true;
  chores_.tellHoldState = true;
}

void DragDecision::EndHold(bool putBack) {
  if (ShownHeld()) {
    // Given up while the user still presses, past the hold time: as a latched hold whose
    // press is still down, so its release is swallowed when it comes.
    hold_ = Hold{candidate_->button, candidate_->press, true, true, false, false};
    candidate_.reset();
  }
  if (!hold_) return;
  const Hold hold = *std::exchange(hold_, std::nullopt);
  ButtonState& state = State(hold.button);
  DropCandidate();
  AfterHold();
  chores_.tellHoldState = true;
  const Release release{hold.button, putBack ? std::optional<rt::ScreenPoint>(hold.pickUp.at) : std::nullopt, false};
  if (state.down && state.known) {
    // The user presses it now: a release of ours first would leave theirs without its
    // press. Let go in place: their own release lets go where they are. Put back: theirs
    // is swallowed, and ours follows it at the pick-up.
    if (!putBack) return;
    state.swallowRelease = true;
    state.owed = release;
    state.owedAfterRelease = true;
    return;
  }
  // The hook may not have seen the user let go (it was away, and nothing could tell): their
  // release then finds the button already up in applications.
  if (!state.known) state.swallowRelease = true;
  // Owed from now until Windows has taken it: a press meanwhile would reach applications
  // that still see the button down, and our release would then leave its release unpressed.
  state.owed = release;
  state.owedAfterRelease = false;
}

std::optional<Release> DragDecision::Due(Button button) const {
  const ButtonState& state = State(button);
  if (!state.owed || state.owedAfterRelease) return std::nullopt;
  return state.owed;
}

void DragDecision::PressReachedApplications(Button button) {
  ButtonState& state = State(button);
  state.swallowRelease = state.pressHeldBack = state.pressOnOwnUi = false;
}

void DragDecision::Injected(Button button) { State(button).owed.reset(); }

bool DragDecision::MakeGoodHeldBackPress(Button button) {
  ButtonState& state = State(button);
  if (!std::exchange(state.pressHeldBack, false) || state.owed || !state.known || !state.down || !state.swallowRelease)
    return false;
  state.makingGood = true;
  return true;
}

void DragDecision::HeldBackPressNotMadeGood(Button button) { State(button).makingGood = false; }

bool DragDecision::PutBackOwed() const {
  for (const ButtonState& state : buttons_)
    if (state.owed) return true;
  return false;
}

void DragDecision::Closing() {
  // With the hook going, the user's release reaches applications and lets go where they
  // are: a put-back that waited for it is no longer ours to do, nor one Windows refused
  // while the hand pressed that button again (its press held back, so applications still
  // see the button down from before, as the hand has it).
  for (ButtonState& state : buttons_) {
    const bool heldAgain = state.owed && state.pressHeldBack && state.known && state.down;
    if (!std::exchange(state.owedAfterRelease, false) && !heldAgain) continue;
    state.swallowRelease = state.pressHeldBack = false;
    state.owed.reset();
  }
}

void DragDecision::AlreadyUp(Button button) {
  if (!State(button).down) State(button).swallowRelease = false;
  State(button).owed.reset();
  State(button).owedAfterRelease = false;
}

bool DragDecision::Reconcile(ButtonBits handDown, bool afterAnotherDesktop, bool awayNow) {
  bool missed = false;
  for (std::size_t i = 0; i < buttons_.size(); ++i) {
    ButtonState& state = buttons_[i];
    const bool down = (handDown & (1u << i)) != 0;
    if (state.known && state.down != down) missed = true;
    if (state.known && state.down == down) continue;
    if (!down) {
      // Let go where the hook did not see it: no release of the hand's is coming to swallow,
      // and a put-back that waited for it is due. Applications here never got a release
      // made on another desktop, while one that went by a lost hook reached them.
      state.swallowRelease = state.pressHeldBack = false;
      if (state.owed && std::exchange(state.owedAfterRelease, false)) {
        state.owed->handLetGoElsewhere = afterAnotherDesktop || awayNow;
        chores_.retryPutBack = true;
      }
      if (hold_ && hold_->button == static_cast<Button>(i)) {
        hold_->pressStillDown = false;
        hold_->dropPressOnOwnUi = hold_->dropPressBounces = false;
      }
    }
    // Pressed over there and still held: applications here never saw that press, so its
    // release must not reach them.
    if (down && afterAnotherDesktop && state.known) state.swallowRelease = true;
    state.down = down;
    state.known = true;
  }
  if (candidate_ && !(handDown & Bit(candidate_->button))) DropCandidate();
  return missed && !afterAnotherDesktop && !awayNow;
}

bool DragDecision::HookLost(bool handKnown) {
  // Told by raw input what the hand holds (Reconcile), nothing is left to guess.
  if (!handKnown) {
    for (ButtonState& state : buttons_) state.known = false;
    // The release it waited for may have gone by unseen: the put-back is due now, and the
    // shell asks applications whether the button is still down before it lets go.
    for (ButtonState& state : buttons_)
      if (std::exchange(state.owedAfterRelease, false)) chores_.retryPutBack = true;
  }
  DropCandidate();
  return hold_.has_value();
}

void DragDecision::HookBack() {
  for (ButtonState& state : buttons_) state.known = false;
}

bool DragDecision::ReleasesToSwallow() const {
  for (const ButtonState& state : buttons_)
    if (state.swallowRelease) return true;
  return false;
}

std::optional<Candidate> DragDecision::PendingCandidate(std::uint64_t number) const {
  if (!candidate_ || candidate_->number != number) return std::nullopt;
  return Candidate{number, candidate_->press.at, candidate_->button};
}

ButtonBits DragDecision::PressesKeptFromApplications() const {
  ButtonBits kept = 0;
  for (std::size_t i = 0; i < buttons_.size(); ++i) {
    const ButtonState& state = buttons_[i];
    if (state.swallowRelease && state.known && state.down && !state.owed) kept |= static_cast<ButtonBits>(1u << i);
  }
  return kept;
}

ButtonBits DragDecision::KeptDown() const {
  ButtonBits kept = 0;
  if (hold_ && !State(hold_->button).down) kept |= Bit(hold_->button);
  // Owed but pressed by the hand again: its release comes (swallowed, or to applications
  // once we are gone), so a crash letting go of it too would leave that release unpressed.
  for (const ButtonState& state : buttons_)
    if (state.owed && !state.owedAfterRelease && !state.down) kept |= Bit(state.owed->button);
  return kept;
}

Chores DragDecision::TakeChores() { return std::exchange(chores_, Chores{}); }

void DragDecision::DropCandidate() {
  if (!candidate_) return;
  candidate_.reset();
  chores_.tellHoldState = true;
}

bool DragDecision::Latchable(Button button) const {
  switch (button) {
    case Button::Primary: return true;
    case Button::Secondary: return latch_.rightButton;
    case Button::Middle: return latch_.middleButton;
  }
  return false;
}

bool DragDecision::HeldLongEnough(std::uint32_t time) const {
  // Tick counts wrap after 49 days; the unsigned difference is right across the wrap.
  return latch_.holdTime && time - candidate_->press.time >= static_cast<std::uint32_t>(latch_.holdTime->count());
}

bool DragDecision::WithinDoubleClickArea(rt::ScreenPoint from, rt::ScreenPoint to) const {
  return std::abs(to.x - from.x) * 2 <= doubleClickArea_.width && std::abs(to.y - from.y) * 2 <= doubleClickArea_.height;
}

bool DragDecision::IsBounce(const Event& press) const {
  const std::uint32_t sincePickUp = press.time - hold_->pickUp.time;
  return sincePickUp <= doubleClickMs_ && WithinDoubleClickArea(hold_->pickUp.at, press.at);
}

void DragDecision::CountRelease() {
  // The controller resets the count at every start and whenever it passes 1, so it never
  // comes near the top in operation; saturating keeps a runaway from wrapping negative.
  if (clickCount_ < std::numeric_limits<std::int16_t>::max()) ++clickCount_;
}

}  // namespace drag
