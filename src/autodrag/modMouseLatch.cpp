// The latch: with no Start, a press held still for the hold time becomes a hold exactly
// like a pick-up. The hook never swallows or delays the press; it only notes it and asks
// the loop for a timer, so a press released sooner or moved further is an ordinary click
// or drag that never knew we looked.
#include <cstdlib>

#include "autodrag/modMouse.h"

namespace {
// The badge shows nothing for the first half of the hold (a quick click shows nothing),
// then fills in tenths.
constexpr int kTenthsBeforeFilling = 5;
}  // namespace

modMouse::Verdict modMouse::WhileWatching(std::uint32_t message, const rt::LowLevelMouseEvent& event) {
  if (candidate_) {
    const bool ownRelease =
        message == (candidate_->button == rt::HeldButton::Secondary ? rt::msg::kRButtonUp : rt::msg::kLButtonUp);
    const bool movedAway = message == rt::msg::kMouseMove && !WithinDoubleClickArea(candidate_->press.at, event.at);
    // The hook decides by the events' own times, not by whether the loop has run the timer
    // yet: a busy loop makes the badge late, never the latch.
    if ((ownRelease || movedAway) && HeldLongEnough(event)) {
      LatchCandidateNow();
      TellHoldStateLater();
      return WhileHolding(message, event);
    }
    if (ownRelease || movedAway) {
      DropCandidate();
      return Verdict::PassOn;
    }
    if (message == rt::msg::kMouseMove) return Verdict::PassOn;
    // Any other button in the meantime: the user is doing something else.
    if (message != rt::msg::kMouseWheel) DropCandidate();
  }
  const bool primary = message == rt::msg::kLButtonDown;
  const bool secondary = message == rt::msg::kRButtonDown && latch_.rightButton;
  // A press on our own window or tray icon works it; held still it is no latch.
  if ((primary || secondary) && !IsOwnUiAt(event.at))
    BeginCandidate(primary ? rt::HeldButton::Primary : rt::HeldButton::Secondary, event);
  return Verdict::PassOn;
}

void modMouse::BeginCandidate(rt::HeldButton button, const rt::LowLevelMouseEvent& event) {
  const std::uint64_t number = ++candidates_;
  candidate_ = LatchCandidate{Press{event.at, event.time}, button, number};
  const std::chrono::milliseconds hold = *latch_.holdTime;
  // Two window timers, set without waiting; whichever finds the press gone does nothing.
  platform_.pump.PostAfter(hold, [this, number] { LatchTimerDue(number); });
  platform_.pump.PostAfter(hold * kTenthsBeforeFilling / 10,
                           [this, number] { FillLater(number, kTenthsBeforeFilling); });
}

void modMouse::LatchTimerDue(std::uint64_t number) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (phase_ != Phase::Watching || !candidate_ || candidate_->number != number) return;
    LatchCandidateNow();
  }
  TellHoldState();
}

// On the window's thread, from a timer: takes the lock itself.
void modMouse::FillLater(std::uint64_t number, int tenths) {
  rt::ScreenPoint at;
  rt::HeldButton button = rt::HeldButton::Primary;
  std::chrono::milliseconds tenth{};
  bool tell = false;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (phase_ != Phase::Watching || !candidate_ || candidate_->number != number || tenths >= 10) return;
    tell = observer_ != nullptr;
    if (tell) told_ = Told::Filling;
    at = candidate_->press.at;
    button = candidate_->button;
    tenth = *latch_.holdTime / 10;
  }
  if (tell) observer_->Filling(at, button, tenths / 10.0);
  platform_.pump.PostAfter(tenth, [this, number, tenths] { FillLater(number, tenths + 1); });
}

void modMouse::DropCandidate() {
  candidate_.reset();
  if (told_ == Told::Filling) TellHoldStateLater();
}

void modMouse::LatchCandidateNow() {
  if (!platform_.mouse.CanReach(candidate_->press.at)) {
    // Nothing we inject could let go of it there; the press stays an ordinary one.
    candidate_.reset();
    return;
  }
  pickUp_ = candidate_->press;
  heldButton_ = candidate_->button;
  candidate_.reset();
  phase_ = Phase::Holding;
  latchPressDown_ = true;
  pressOnOwnUi_ = false;
  bouncing_ = false;
}

bool modMouse::HeldLongEnough(const rt::LowLevelMouseEvent& event) const {
  // Tick counts wrap after 49 days; the unsigned difference is right across the wrap.
  return event.time - candidate_->press.time >= static_cast<std::uint32_t>(latch_.holdTime->count());
}

bool modMouse::WithinDoubleClickArea(rt::ScreenPoint from, rt::ScreenPoint to) {
  const rt::ScreenSize area = platform_.mouse.DoubleClickArea();
  return std::abs(to.x - from.x) * 2 <= area.width && std::abs(to.y - from.y) * 2 <= area.height;
}

void modMouse::AskLatchAttention() {
  if (startOn_ || !latchAttention_) return;
  platform_.pump.Post([this] {
    bool attend = false;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      attend = !startOn_ && latch_.holdTime.has_value();
    }
    if (attend && latchAttention_) latchAttention_();
  });
}
