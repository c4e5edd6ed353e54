// What applications saw of each mouse button, judged against what the user's hand did. It
// takes no word from the program but the one a crash would act on: the buttons it says it
// keeps down. Everything is kept as running state, so a step costs the same however long
// the run has been. Buttons are numbered as the hook and applications name them: 0 the
// primary, 1 the secondary, 2 the middle one.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <ostream>
#include <vector>

#include "runtime/MouseInput.h"

namespace judge {

enum class Fault {
  // Applications got a release of a button they saw up.
  ReleaseWithoutPress,
  // What the program says it keeps down is not what applications see down and the hand
  // does not hold: a crash would let go of the wrong buttons.
  KeptDownDisagrees,
  // After a way of giving up (or the return to the desktop), a button stays down in
  // applications with nobody holding it.
  LeftDownAfterGivingUp,
  // The program has gone and a button stays down that the hand does not hold.
  LeftDownAfterExit,
  // After what we injected, the pointer is not where the hand is.
  PointerNotGivenBack,
};
inline constexpr std::size_t kFaultKinds = 5;
const char* Name(Fault fault);

struct Violation {
  Fault fault;
  int button;  // -1: not about one button
};
std::ostream& operator<<(std::ostream& out, const Violation& violation);

// Each button's press and release as the hook and applications name them.
inline constexpr std::array<std::uint32_t, 3> kPress{rt::msg::kLButtonDown, rt::msg::kRButtonDown,
                                                     rt::msg::kMButtonDown};
inline constexpr std::array<std::uint32_t, 3> kRelease{rt::msg::kLButtonUp, rt::msg::kRButtonUp, rt::msg::kMButtonUp};

class ButtonJudge {
 public:
  // What applications saw, in the order they saw it.
  void AppsPress(int button);
  void AppsRelease(int button);
  // The point of the newest event applications saw, and whether we injected it.
  void AppsAt(rt::ScreenPoint point, bool ours);
  // One event applications saw: a button's press or release, or a move.
  void AppsSaw(std::uint32_t message, rt::ScreenPoint point, bool ours);

  // What the hand did. Off the desktop (locked) nothing of it reaches applications.
  void HandPress(int button);
  void HandRelease(int button);
  // The hand toggles a button at a point: pressed if up, released if down; off the desktop it
  // is only let go there, unseen, and never pressed. Returns whether it is a press to be
  // delivered on the desktop, or nothing when nothing reaches the desktop.
  std::optional<bool> HandToggles(int button, rt::ScreenPoint at, bool onOwnUi);
  void HandAt(rt::ScreenPoint point) { hand_ = point; }
  // The program kept the hand's press from applications. Should Windows take the hook away
  // before its release, that release reaches them unpressed, and nothing can stop it: the
  // program learns of a lost hook only from the input that went by it. Not a fault of ours.
  void PressKeptFromApps(int button) { keptFromApps_[Index(button)] = true; }
  rt::ScreenPoint HandPoint() const { return hand_; }
  bool HandHolds(int button) const { return handDown_[Index(button)]; }
  bool AppsSeeDown(int button) const { return appsDown_[Index(button)]; }

  // A way of giving up was used (Start/Stop, the shortcut, our window or tray icon, close),
  // or the desktop came back: whatever was kept down before must go back.
  void GaveUp() { givenUpSince_ = {true, true, true}; }
  // A press on our window or tray icon gives up, when a hook of ours is there to see it.
  void PressedOnOwnUi() {
    if (!hookGone_) GaveUp();
  }
  void Away(bool away);
  // Windows took the hook away; the program cannot follow the hand until a hook is in again.
  void HookGone(bool gone) { hookGone_ = gone; }
  // Windows refused (or failed) one injection: the put-back may wait for the next chance.
  void InjectionRefused() { refusalPending_ = true; }
  void Ended();

  // At a moment when everything due has been done.
  void Settled(std::uint8_t keptDown);
  // After the last way of giving up: nothing down but what the hand holds, nothing kept.
  void Final(std::uint8_t keptDown);

  const std::vector<Violation>& Violations() const { return violations_; }
  // Everything the judge keeps, packed, for a search that meets the same state twice.
  std::array<std::int32_t, 5> State() const;
  bool Clean() const { return violations_.empty(); }

 private:
  static std::size_t Index(int button) { return static_cast<std::size_t>(button); }
  bool Unheld(std::size_t b) const { return appsDown_[b] && !handDown_[b]; }
  // Down in applications with the hand off it, because the program took it over. A press that
  // applications saw from the hand and whose release went to another desktop is Windows'
  // doing, not ours: nobody could have let go of it before the program knew.
  bool Kept(std::size_t b) const { return unheld_[b] && taken_[b]; }
  // Notes when a button begins to be down with nobody holding it, and who took it over.
  void Track(std::size_t b);
  void Flag(Fault fault, int button);

  std::array<bool, 3> appsDown_{};
  std::array<bool, 3> handDown_{};
  std::array<bool, 3> unheld_{};
  std::array<bool, 3> taken_{};
  // A way of giving up was used since the button began to be down with nobody holding it.
  std::array<bool, 3> givenUpSince_{};
  std::array<bool, 3> keptFromApps_{};
  // The hand's release of a press kept from applications went by a hook Windows had taken.
  std::array<bool, 3> releaseBeyondUs_{};
  bool away_ = false;
  bool hookGone_ = false;
  bool refusalPending_ = false;
  bool ended_ = false;
  bool endedAway_ = false;
  rt::ScreenPoint hand_;
  rt::ScreenPoint appsPointer_;
  // Something of ours reached applications since the last settled moment, and was the last thing.
  bool oursLast_ = false;
  std::vector<Violation> violations_;
};

}  // namespace judge
