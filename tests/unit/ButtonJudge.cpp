#include "unit/ButtonJudge.h"

#include <utility>

namespace judge {

const char* Name(Fault fault) {
  switch (fault) {
    case Fault::ReleaseWithoutPress: return "a release applications never saw pressed";
    case Fault::KeptDownDisagrees: return "what the crash path would let go of differs from what is kept down";
    case Fault::LeftDownAfterGivingUp: return "down in applications with nobody holding it, after giving up";
    case Fault::LeftDownAfterExit: return "down in applications after the program has gone";
    case Fault::PointerNotGivenBack: return "the pointer not given back where the hand is";
  }
  return "?";
}

std::ostream& operator<<(std::ostream& out, const Violation& violation) {
  out << Name(violation.fault);
  if (violation.button >= 0) out << " (button " << "PSM"[violation.button] << ")";
  return out;
}

void ButtonJudge::Flag(Fault fault, int button) { violations_.push_back({fault, button}); }

void ButtonJudge::Track(std::size_t b) {
  const bool unheld = Unheld(b);
  if (unheld && !unheld_[b]) {
    givenUpSince_[b] = false;
    // The hand let go here and applications did not see it: the program took the button over.
    if (!away_) taken_[b] = true;
  }
  unheld_[b] = unheld;
  if (!appsDown_[b]) taken_[b] = false;
}

void ButtonJudge::AppsPress(int button) {
  appsDown_[Index(button)] = true;
  keptFromApps_[Index(button)] = releaseBeyondUs_[Index(button)] = false;
  Track(Index(button));
}

void ButtonJudge::AppsRelease(int button) {
  if (!appsDown_[Index(button)] && !std::exchange(releaseBeyondUs_[Index(button)], false))
    Flag(Fault::ReleaseWithoutPress, button);
  appsDown_[Index(button)] = false;
  Track(Index(button));
}

void ButtonJudge::AppsAt(rt::ScreenPoint point, bool ours) {
  appsPointer_ = point;
  oursLast_ = ours;
}

void ButtonJudge::AppsSaw(std::uint32_t message, rt::ScreenPoint point, bool ours) {
  for (int b = 0; b < 3; ++b) {
    if (message == kPress[Index(b)]) AppsPress(b);
    if (message == kRelease[Index(b)]) AppsRelease(b);
  }
  AppsAt(point, ours);
}

void ButtonJudge::HandPress(int button) {
  // The next press of a button kept down is the chance for a put-back Windows refused.
  if (!away_ && Kept(Index(button))) refusalPending_ = false;
  keptFromApps_[Index(button)] = false;
  handDown_[Index(button)] = true;
  Track(Index(button));
}

void ButtonJudge::HandRelease(int button) {
  releaseBeyondUs_[Index(button)] = keptFromApps_[Index(button)] && hookGone_ && !away_;
  keptFromApps_[Index(button)] = false;
  handDown_[Index(button)] = false;
  Track(Index(button));
}

std::optional<bool> ButtonJudge::HandToggles(int button, rt::ScreenPoint at, bool onOwnUi) {
  const bool press = !HandHolds(button);
  if (away_) {
    if (!press) HandRelease(button);
    return std::nullopt;
  }
  if (press && onOwnUi) PressedOnOwnUi();
  HandAt(at);
  press ? HandPress(button) : HandRelease(button);
  return press;
}

void ButtonJudge::Away(bool away) {
  if (away_ && !away) {
    // Back on the desktop: what the hand let go of there must not stay down here.
    GaveUp();
    refusalPending_ = false;
  }
  away_ = away;
}

void ButtonJudge::Ended() {
  ended_ = true;
  endedAway_ = away_;
}

void ButtonJudge::Settled(std::uint8_t keptDown) {
  if (oursLast_ && !(appsPointer_ == hand_)) Flag(Fault::PointerNotGivenBack, -1);
  oursLast_ = false;
  for (std::size_t b = 0; b < 3; ++b) {
    const int button = static_cast<int>(b);
    if (ended_) {
      // Nothing can let go of it any more, unless Windows refused everything to the end.
      if (Kept(b) && !endedAway_) Flag(Fault::LeftDownAfterExit, button);
      continue;
    }
    // Off the desktop or without a hook the program cannot know what the hand does.
    if (!away_ && !hookGone_ && ((keptDown >> b) & 1u) != (Kept(b) ? 1u : 0u))
      Flag(Fault::KeptDownDisagrees, button);
    if (Kept(b) && givenUpSince_[b] && !away_ && !refusalPending_)
      Flag(Fault::LeftDownAfterGivingUp, button);
  }
}

std::array<std::int32_t, 5> ButtonJudge::State() const {
  std::int32_t bits = 0;
  for (std::size_t b = 0; b < 3; ++b)
    bits = bits << 7 | appsDown_[b] | handDown_[b] << 1 | unheld_[b] << 2 | taken_[b] << 3 | givenUpSince_[b] << 4 |
           keptFromApps_[b] << 5 | releaseBeyondUs_[b] << 6;
  bits = bits << 6 | away_ | hookGone_ << 1 | refusalPending_ << 2 | ended_ << 3 | endedAway_ << 4 | oursLast_ << 5;
  return {bits, hand_.x, hand_.y, appsPointer_.x, appsPointer_.y};
}

void ButtonJudge::Final(std::uint8_t keptDown) {
  if (ended_) return Settled(keptDown);
  GaveUp();
  refusalPending_ = false;
  Settled(keptDown);
}

}  // namespace judge
