// What each mouse event means for the drag, decided in one place with no platform call, no
// lock and no clock of its own: one event with its time goes in, the verdict (pass it on or
// swallow it) comes out, and what the window's thread must do about it gathers as chores.
// It also keeps what applications believe of each button, so that every release they get
// answers a press they saw, and what we keep down for the user is always known.
#pragma once
#include <array>
#include <chrono>
#include <cstdint>
#include <optional>

#include "runtime/MouseInput.h"
#include "runtime/PointerBadge.h"

namespace drag {

using Button = rt::HeldButton;

// A press held still for holdTime latches; none: the latch is off. The primary button
// always may; rightButton and middleButton let those latch too.
struct Latch {
  std::optional<std::chrono::milliseconds> holdTime;
  bool rightButton = false;
  bool middleButton = false;
  bool operator==(const Latch&) const = default;
};

// Why auto-drag cannot go on; the controller ends it and tells the user.
enum class Trouble {
  None,
  // The click was in a window of a program that runs at a higher level than we do: if we
  // kept its button down, nothing we inject could let go of it there, so the click went
  // through untouched.
  WindowOutOfReach,
  // Windows took fewer of our events than we gave it (or the call failed).
  InjectionRefused,
  // Windows took the hook away (or passed input by it) while we held the button.
  HookLost,
};

// One event as the hook saw it, with what only the platform can say about its point (asked
// before deciding, for button events only).
struct Event {
  std::uint32_t message = 0;
  rt::ScreenPoint at;
  // Milliseconds on the system's tick count; differences are right across its wrap.
  std::uint32_t time = 0;
  // Injected by us: passes uncounted.
  bool ours = false;
  // Our window or tray icon is under the point.
  bool onOwnUi = false;
  // Input we inject at the point would reach the window there.
  bool reachable = true;
  // The window there belongs to a program where the latch stays out (asked only of a
  // press that could latch).
  bool latchExcepted = false;
};

// A press being held towards the latch, as the badge shows it filling.
struct Candidate {
  std::uint64_t number = 0;
  rt::ScreenPoint at;
  Button button = Button::Primary;
};

// What the window's thread must do; several decisions may gather before it looks.
struct Chores {
  // A hold began or ended, or a fill was given up: tell the badge.
  bool tellHoldState = false;
  // The pointer moved during a hold.
  bool tellPointer = false;
  // The controller should look again: a pick-up, a drop, a give-up asked, trouble.
  bool attention = false;
  // A put-back Windows refused is due again.
  bool retryPutBack = false;
  // A release owed to nobody was swallowed: the hook may come out if nothing wants it.
  bool reviewHook = false;
  // A press began to be held towards the latch: the badge's timers start from it.
  std::optional<Candidate> fillFrom;
  bool Any() const { return tellPointer || AnyButThePointer(); }
  bool AnyButThePointer() const {
    return tellHoldState || attention || retryPutBack || reviewHook || fillFrom.has_value();
  }
};

// One release to inject for a hold that ends: where (none: where the pointer is; a point:
// put back there, and the pointer goes back to where the hand is then).
struct Release {
  Button button = Button::Primary;
  std::optional<rt::ScreenPoint> at;
  // The hand let go on another desktop: applications here never got that release, so ours
  // is due whatever the session's key state says.
  bool handLetGoElsewhere = false;
};

// The buttons as bits, 1 << Button: what the hand holds, what we keep down.
using ButtonBits = std::uint8_t;
constexpr ButtonBits Bit(Button button) { return static_cast<ButtonBits>(1u << static_cast<unsigned>(button)); }

class DragDecision {
 public:
  // The hook's side: pass (false) or swallow (true).
  bool Decide(const Event& event);

  // The window's side.
  void SetLatch(const Latch& latch);
  const Latch& CurrentLatch() const { return latch_; }
  // Whether a press of this message, outside our own window and icon, could begin a latch
  // now: what makes it worth asking which program the window under it belongs to.
  bool PressCouldLatch(std::uint32_t message) const;
  void SetDoubleClick(unsigned timeMs, rt::ScreenSize area);
  // A Start: armed for one pick-up, with nothing remembered from before it.
  void Start();
  // The Start is over; a hold still on stays until it is given up or let go.
  void EndStart();
  bool StartOn() const { return startOn_; }
  // Ends a hold, put back at the pick-up or let go where the pointer is: the release is owed
  // from this moment, so a press racing it is held back, and stays owed until Injected.
  // While the user presses that button, the put-back waits for their release.
  void EndHold(bool putBack);
  // The release owed for this button that is due now (refused before, or its user's release
  // has come); it stays owed until Injected or AlreadyUp.
  std::optional<Release> Due(Button button) const;
  void Injected(Button button);
  // A press the hand made while the put-back was owed was held back from applications: once
  // the put-back is taken and the hand still holds it, it is made good (injected) rather than
  // its release swallowed, so the release needs no hook of ours when it comes. True: inject
  // it now; the hook lets it through if the hand still holds the button by then.
  bool MakeGoodHeldBackPress(Button button);
  // Windows refused that press: the hand's release is swallowed as before.
  void HeldBackPressNotMadeGood(Button button);
  // For good: nothing waits for the user's release any more.
  void Closing();
  // Applications already saw the button go up: nothing of it is owed or to be swallowed.
  void AlreadyUp(Button button);
  // What the system tells of the hand's buttons where the hook could not see (another
  // desktop, a lost hook), taken as the truth before any put-back or swallow: a release
  // that went by unseen makes a put-back waiting for it due, and no swallow waits for it.
  // Returns whether the hook missed something here on our own desktop.
  // awayNow: asked while another desktop has the input (closing or failing meanwhile): what
  // the hand let go of there never reached applications here either.
  bool Reconcile(ButtonBits handDown, bool afterAnotherDesktop, bool awayNow = false);
  // Windows took the hook away: unless raw input told us (handKnown, after Reconcile), what
  // the hook saw of the user's buttons is no longer known. Returns whether a hold was on
  // (the controller must then give it up).
  bool HookLost(bool handKnown);
  // The hook is in again after being away.
  void HookBack();
  // The shell told our tray icon of a primary press: its release is no pick-up.
  void OwnTrayIconPressed() { trayIconPressed_ = true; }
  void AskGiveUp();

  // The badge has shown the press as held since the hold time passed on the window's clock:
  // giving up from now on treats it as held. The latch itself is still decided by the
  // events' own times.
  void ShowHeld(std::uint64_t number);
  // Whether the decision of this button event would use Event::reachable: a release that
  // may pick up, or a press that may latch. Anything else is not worth asking about.
  bool ReachMatters(std::uint32_t message) const;

  bool Holding() const { return hold_.has_value() || ShownHeld(); }
  bool LatchedHold() const { return (hold_ && hold_->byLatch) || ShownHeld(); }
  Button HeldButton() const { return hold_ ? hold_->button : candidate_ ? candidate_->button : Button::Primary; }
  bool GiveUpAsked() const { return giveUpAsked_; }
  Trouble CurrentTrouble() const { return trouble_; }
  void SetTrouble(Trouble trouble);
  void ClearTrouble() { trouble_ = Trouble::None; }
  std::int16_t ClickCount() const { return clickCount_; }
  void ResetClickCount() { clickCount_ = 0; }
  rt::ScreenPoint Pointer() const { return pointer_; }
  // Where the hand's own latest event was, and how many the hook has seen: a put-back tells
  // by the count whether the hand moved while Windows took it.
  rt::ScreenPoint HandPointer() const { return hand_; }
  std::uint64_t HandEvents() const { return handEvents_; }
  bool PutBackOwed() const;
  // A user's release that must not reach applications is still to come: the hook stays in.
  bool ReleasesToSwallow() const;
  bool SwallowsReleaseOf(Button button) const { return State(button).swallowRelease; }
  // A hold or a put-back still owed of ours keeps this button down in applications.
  bool KeepsDown(Button button) const { return State(button).owed || (hold_ && hold_->button == button); }
  // Applications got a press of it after all (it went by a lost hook): its release is theirs.
  void PressReachedApplications(Button button);
  // Presses the hand still holds that applications never got, their releases still to be
  // swallowed: what a program on its way out must make good, having no hook left to swallow.
  ButtonBits PressesKeptFromApplications() const;
  // The press being held towards the latch, if it is still the one numbered.
  std::optional<Candidate> PendingCandidate(std::uint64_t number) const;
  bool Filling() const { return candidate_ && !candidate_->shownHeld; }
  // The buttons applications see down only because we keep them so (bit 1 << button):
  // exactly what a crash must let go of, never a button the user holds themselves.
  ButtonBits KeptDown() const;
  bool ChoresPending() const { return chores_.Any(); }
  bool ChoresPendingButThePointer() const { return chores_.AnyButThePointer(); }
  Chores TakeChores();

 private:
  struct Press {
    rt::ScreenPoint at;
    std::uint32_t time = 0;
  };
  struct Hold {
    Button button = Button::Primary;
    Press pickUp;
    bool byLatch = false;
    // The latched press is still down: its release is the latch's pick-up.
    bool pressStillDown = false;
    // The press now down while holding was on our own window or icon, or a bounce.
    bool dropPressOnOwnUi = false;
    bool dropPressBounces = false;
  };
  struct PendingPress {
    Press press;
    Button button = Button::Primary;
    std::uint64_t number = 0;
    bool reachable = true;
    bool shownHeld = false;
  };
  struct ButtonState {
    // The user has it down, as far as the hook saw; known: the hook saw it since it came back.
    bool down = false;
    bool known = false;
    // Applications already saw its release (ours), so the user's own must not reach them.
    bool swallowRelease = false;
    // The press now down was held back because a put-back was owed; makingGood: ours for it
    // is on its way to the hook.
    bool pressHeldBack = false;
    bool makingGood = false;
    // The press now down was on our own window or icon: its release is no pick-up.
    bool pressOnOwnUi = false;
    // A put-back still to inject: Windows refused it, or it waits for the user's release.
    std::optional<Release> owed;
    bool owedAfterRelease = false;
  };

  bool ShownHeld() const { return candidate_ && candidate_->shownHeld; }
  bool OnMove(const Event& event);
  bool OnOurs(const Event& event);
  bool OnPress(Button button, const Event& event);
  bool OnRelease(Button button, const Event& event);
  bool ReleaseWhileHolding(const Event& event);
  bool ReleaseOfCandidate(const Event& event);
  bool PickUp(const Event& event);
  void BeginHold(Button button, Press pickUp, bool byLatch, bool pressStillDown);
  // A hold over, or given up: a Start's drag is done; the latch watches again.
  void AfterHold();
  void DropCandidate();
  bool Latchable(Button button) const;
  bool HeldLongEnough(std::uint32_t time) const;
  bool WithinDoubleClickArea(rt::ScreenPoint from, rt::ScreenPoint to) const;
  // A second press so soon and so near the pick-up that Windows would make the two a
  // double-click: a tremor's double tap, not a drop.
  bool IsBounce(const Event& press) const;
  ButtonState& State(Button button) { return buttons_[static_cast<std::size_t>(button)]; }
  const ButtonState& State(Button button) const { return buttons_[static_cast<std::size_t>(button)]; }
  void CountRelease();

  Latch latch_;
  unsigned doubleClickMs_ = 500;
  rt::ScreenSize doubleClickArea_{4, 4};
  bool startOn_ = false;
  // A Start waits for its pick-up.
  bool startArmed_ = false;
  std::optional<Hold> hold_;
  std::optional<PendingPress> candidate_;
  std::uint64_t candidates_ = 0;
  // The primary press of this Start not yet released, where its pick-up would be.
  std::optional<Press> lastPress_;
  bool trayIconPressed_ = false;
  bool giveUpAsked_ = false;
  std::array<ButtonState, 3> buttons_{};

  Trouble trouble_ = Trouble::None;
  std::int16_t clickCount_ = 0;
  rt::ScreenPoint pointer_;
  rt::ScreenPoint hand_;
  std::uint64_t handEvents_ = 0;
  Chores chores_;
};

}  // namespace drag
