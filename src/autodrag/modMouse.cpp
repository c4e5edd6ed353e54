#include "autodrag/modMouse.h"

#include <chrono>
#include <memory>
#include <utility>

#include "runtime/Failure.h"

namespace {
constexpr int kHcAction = 0;
// The badge shows nothing for the first half of the hold (a quick click shows nothing),
// then fills in tenths.
constexpr int kTenthsBeforeFilling = 5;
// How long closing waits for the hand's release and for Windows to take a put-back, and
// how often it tries that again meanwhile.
constexpr std::chrono::milliseconds kCloseWait{3000};
constexpr std::chrono::milliseconds kRetryEvery{250};
// How often the badge follows the pointer during a hold: a screen's refresh.
constexpr std::chrono::milliseconds kPointerFrame{16};

bool IsButtonMessage(std::uint32_t message) {
  return message == rt::msg::kLButtonDown || message == rt::msg::kLButtonUp || message == rt::msg::kRButtonDown ||
         message == rt::msg::kRButtonUp || message == rt::msg::kMButtonDown || message == rt::msg::kMButtonUp;
}
}  // namespace

modMouse::modMouse(rt::Platform& platform)
    : platform_(platform), doorbell_(platform.pump.MakeDoorbell([this] { DoChores(); })) {
  platform_.mouse.SetHookLostHandler([this] { OnHookLost(); });
}

modMouse::~modMouse() {
  platform_.mouse.SetHookLostHandler({});
  hook_.Remove();  // before the doorbell and the decision go
}

// --- the hook's thread ---------------------------------------------------------------------

std::intptr_t modMouse::MouseHookProc(int code, std::uintptr_t message, const rt::LowLevelMouseEvent& event) {
  const int hookCode = static_cast<std::int16_t>(code & 0xFFFF);
  if (hookCode == kHcAction && Decide(static_cast<std::uint32_t>(message), event)) return 1;
  return platform_.mouse.CallNextHook(lastHandle_, hookCode, message, event);
}

// Answers at once, with no allocation: one look at the window under a button event, asking
// only what the decision will use, and one turn of the lock.
bool modMouse::Decide(std::uint32_t message, const rt::LowLevelMouseEvent& event) noexcept {
  try {
    drag::Event decided;
    decided.message = message;
    decided.at = event.at;
    decided.time = event.time;
    decided.ours = event.extraInfo == kInjectedTag;
    if (!decided.ours && IsButtonMessage(message)) LookAtTheWindow(decided);
    bool swallow = false;
    bool ring = false;
    drag::ButtonBits kept = 0;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      swallow = decision_.Decide(decided);
      // One ring until the window's thread has taken the chores: a move during a hold
      // costs no message of its own.
      const bool due = pointerFrameOpen_ ? decision_.ChoresPendingButThePointer() : decision_.ChoresPending();
      ring = (due && !std::exchange(rungForChores_, true)) || hookFailure_ != nullptr;
      kept = decision_.KeptDown();
    }
    platform_.mouse.NoteKeptDown(kept);
    if (ring || ringOwed_.load()) RingDoorbell();
    return swallow;
  } catch (...) {
    // Passed on untouched; the window's thread lets go of what is held and reports it.
    KeepHookFailure();
    RingDoorbell();
    return false;
  }
}

void modMouse::LookAtTheWindow(drag::Event& event) {
  std::optional<rt::ScreenRect> trayIcon;
  bool askReach = false;
  bool couldLatch = false;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    trayIcon = trayIcon_;
    askReach = decision_.ReachMatters(event.message);
    couldLatch = decision_.PressCouldLatch(event.message);
  }
  try {
    const rt::WindowAtPoint window = platform_.mouse.LookAt(event.at, askReach);
    event.onOwnUi = (trayIcon && trayIcon->Contains(event.at)) || window.ours;
    event.reachable = window.reachable;
    // The program's name is asked only of a press the latch could take.
    event.latchExcepted =
        couldLatch && !event.onOwnUi && latchExceptions_.CoverProgram(platform_.programs, window.program);
  } catch (...) {
    // Decided all the same, as if nothing of ours were there: a press to drop is still held
    // back, so the way out that the report takes finds the hand's release still to come.
    KeepHookFailure();
    event.onOwnUi = trayIcon && trayIcon->Contains(event.at);
  }
}

void modMouse::KeepHookFailure() noexcept {
  try {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!hookFailure_) hookFailure_ = std::current_exception();
  } catch (...) {
    hookFailedBare_ = true;
  }
}

void modMouse::RingDoorbell() noexcept { ringOwed_ = !doorbell_->Ring(); }

// Tells the platform, for a crash, exactly what applications see down only because of us.
void modMouse::ShareKeptDown() {
  std::uint8_t kept = 0;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    kept = decision_.KeptDown();
  }
  platform_.mouse.NoteKeptDown(kept);
}

// --- the window's thread -----------------------------------------------------------------

void modMouse::DoChores() {
  drag::Chores chores;
  std::exception_ptr failure;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    chores = decision_.TakeChores();
    rungForChores_ = false;
    failure = std::exchange(hookFailure_, nullptr);
    if (chores.tellPointer && !failure) pointerFrameOpen_ = true;
  }
  if (failure || hookFailedBare_.exchange(false)) {
    // Nothing of ours may outlive the report: let go first, then say what happened.
    try {
      Close();
    } catch (...) {
    }
    if (failure) std::rethrow_exception(failure);
    throw rt::Failure(L"The mouse hook failed.");
  }
  if (chores.fillFrom) StartFilling(*chores.fillFrom);
  if (chores.tellHoldState) TellHoldState();
  if (chores.tellPointer) {
    TellPointer();
    platform_.pump.PostAfter(kPointerFrame, [this] { EndPointerFrame(); });
  }
  if (chores.retryPutBack) {
    InjectDue();
    ShareKeptDown();
  }
  if (chores.reviewHook && !HookWanted()) RemoveHook();
  if (chores.attention) AskLatchAttention();
}

// The moves made during the frame, if any, move the badge once, to the newest point; a hand
// that keeps moving keeps one frame after another going, and a still one ends them.
void modMouse::EndPointerFrame() {
  bool due = false;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    pointerFrameOpen_ = false;
    due = decision_.ChoresPending() && !rungForChores_;
  }
  if (due) DoChores();
}

void modMouse::StartMouseHook() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    decision_.Start();
    decision_.SetDoubleClick(platform_.mouse.DoubleClickTimeMs(), platform_.mouse.DoubleClickArea());
  }
  // Put in afresh at every Start, even when the latch has it in: Windows may have dropped it.
  InstallHook();
}

void modMouse::InstallHook() {
  RefreshTrayIcon();
  // A hook that was out saw nothing of the hand meanwhile: a press then went to
  // applications here, and must never be taken for one made on another desktop.
  const bool wasOut = !hook_.Installed();
  // The old hook goes first: its thread is gone before the new one starts.
  hook_.Remove();
  hook_ = MouseHook(platform_.mouse, [this](int code, std::uintptr_t message, const rt::LowLevelMouseEvent& event) {
    return MouseHookProc(code, message, event);
  });
  lastHandle_ = hook_.Handle();
  if (!hook_.Installed()) return;
  if (!platform_.mouse.HookLossWatched() && !std::exchange(unwatchedTold_, true) && tell_)
    tell_(Notice::HookLossUnwatched);
  if (!std::exchange(hookLost_, false) && !wasOut) return;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    decision_.HookBack();
  }
  // What raw input says the hand holds now is all that is known of it: a press that went by
  // the old hook is the hand's, and a crash must not let go of it.
  ReconcileHand(false);
}

void modMouse::RemoveHook() {
  hook_.Remove();
  // What it saw of the hand is stale from now: a press meanwhile goes to applications here
  // unseen, and must never be taken for one made on another desktop.
  std::lock_guard<std::mutex> lock(mutex_);
  decision_.HookBack();
}

void modMouse::RefreshTrayIcon() {
  // Asked here, on the window's thread: the shell may be slow to answer, and the hook
  // must never wait for it.
  const std::optional<rt::ScreenRect> trayIcon = locateTrayIcon_ ? locateTrayIcon_() : std::nullopt;
  std::lock_guard<std::mutex> lock(mutex_);
  trayIcon_ = trayIcon;
}

void modMouse::TrayIconMoved() { RefreshTrayIcon(); }

void modMouse::StopMouseHook() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    decision_.EndStart();
  }
  LetGo();
  if (!HookWanted()) {
    RemoveHook();
    return;
  }
  PutBackALostHook();
}

bool modMouse::HookWanted() const {
  std::lock_guard<std::mutex> lock(mutex_);
  // A user's release that applications must not see keeps it in until it has come, and a
  // put-back still owed keeps it in for the user's next press of that button.
  return decision_.StartOn() || decision_.CurrentLatch().holdTime || decision_.ReleasesToSwallow() ||
         decision_.Holding() || decision_.PutBackOwed();
}

void modMouse::SetLatch(Latch latch) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    decision_.SetLatch(latch);
    decision_.SetDoubleClick(platform_.mouse.DoubleClickTimeMs(), platform_.mouse.DoubleClickArea());
    if (decision_.StartOn()) return;  // the Start's drag goes on as it is; its stop leaves the latch watching
  }
  if (!latch.holdTime) {
    LetGo();
    if (!HookWanted()) RemoveHook();
    return;
  }
  if (!hook_.Installed() || hookLost_) InstallHook();
}

void modMouse::Close() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    decision_.SetLatch({});
    decision_.EndStart();
  }
  // A give-up like every other: a file being dragged goes back where it was picked up
  // rather than onto whatever lies under the pointer. A failure on the way is said after
  // everything else has been tried.
  std::exception_ptr failure;
  try {
    EndHold(true);
  } catch (...) {
    failure = std::current_exception();
  }
  if (!std::exchange(closed_, true)) WaitForWhatIsOwed();
  drag::ButtonBits keptFromApplications = 0;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    decision_.Closing();
    keptFromApplications = decision_.PressesKeptFromApplications();
  }
  // For good: nothing is kept in, whatever is still to come.
  RemoveHook();
  // A press the hand still holds that applications never got (one on our window or icon, or
  // held back) would have its release reach them unpressed once we have gone: made good.
  MakeGoodOnTheWayOut(keptFromApplications);
  ShareKeptDown();
  bool owed = false;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    owed = decision_.PutBackOwed();
  }
  // The way out tries once more as the process ends; the user hears of it once.
  if (owed && !std::exchange(refusedAtCloseTold_, true) && tell_) tell_(Notice::PutBackRefusedAtClose);
  if (failure) std::rethrow_exception(failure);
}

// Before the hook goes: a hand still pressing a button whose release applications must not
// get (the held one, or one pressed on our window) would let go after we have gone, with
// nothing left to swallow it or put the item back; and a put-back Windows refuses (the lock
// screen, a program of a higher level in front) is tried again. Bounded, and blocked in the
// pump between tries, never spinning.
void modMouse::WaitForWhatIsOwed() {
  const auto over = std::make_shared<bool>(false);
  const auto tryAgain = std::make_shared<bool>(false);
  const auto waiting = [this] {
    // A release the hand made where the hook could not see it is nothing to wait for.
    ReconcileHand(false);
    std::lock_guard<std::mutex> lock(mutex_);
    return decision_.PutBackOwed() || decision_.ReleasesToSwallow();
  };
  if (!waiting()) return;
  platform_.pump.PostAfter(kCloseWait, [over] { *over = true; });
  platform_.pump.PostAfter(kRetryEvery, [tryAgain] { *tryAgain = true; });
  while (!*over && waiting()) {
    // Every flag tested here changes in a task this pump dispatches.
    platform_.pump.PumpEvents(std::nullopt);
    if (!std::exchange(*tryAgain, false)) continue;
    try {
      InjectDue();
    } catch (...) {
      // Tried again at the next turn, and on the way out.
    }
    ShareKeptDown();
    platform_.pump.PostAfter(kRetryEvery, [tryAgain] { *tryAgain = true; });
  }
}

void modMouse::MakeGoodOnTheWayOut(drag::ButtonBits buttons) {
  if (buttons == 0) return;
  const rt::ScreenPoint handAt = platform_.mouse.CursorPosition();
  for (const drag::Button button : {drag::Button::Primary, drag::Button::Secondary, drag::Button::Middle}) {
    if (!(buttons & drag::Bit(button))) continue;
    try {
      platform_.mouse.Inject({{DeviceDown(button), handAt, 0}}, kInjectedTag);
    } catch (...) {
      // Nothing more can be done for it on the way out.
    }
  }
}

void modMouse::OnHookLost() {
  if (!hook_.Installed()) return;
  hookLost_ = true;
  // Raw input still saw the hand: a release it made meanwhile settles what was waiting for it.
  const bool handKnown = platform_.mouse.HandButtons().has_value();
  ReconcileHand(false);
  ForgetSwallowsOfPressesThatWentBy();
  bool holding = false;
  bool startOn = false;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    holding = decision_.HookLost(handKnown);
    startOn = decision_.StartOn();
    // The drop may have gone by unseen: what the user holds is no longer known. The
    // controller gives up, which puts things back and says why.
    if (holding) decision_.SetTrouble(Trouble::HookLost);
  }
  TellHoldState();
  if (holding) {
    RingDoorbell();
    return;
  }
  // A put-back Windows refused before is due now: the hand's own release may have gone by
  // unseen (then applications already see the button up, and nothing is sent), or it still
  // waits for its chance.
  InjectDue();
  ShareKeptDown();
  // Nothing was held: at worst a click went through as an ordinary click. The hook goes
  // back in and auto-drag (or the latch) carries on.
  InstallHook();
  if (hook_.Installed()) return;
  if (startOn) {
    // Rather than read "on" with no hook, end and say so.
    {
      std::lock_guard<std::mutex> lock(mutex_);
      decision_.SetTrouble(Trouble::HookLost);
    }
    RingDoorbell();
    return;
  }
  // The latch alone: it cannot watch any more, and says so; nothing of it stays to spoil a Start.
  StopTheLatch();
}

// A press kept from applications whose release was still to be swallowed: should the
// session's key state say applications see that button down after all (not by a hold or a
// put-back of ours), a press of the hand went by the lost hook, and its release is theirs.
void modMouse::ForgetSwallowsOfPressesThatWentBy() {
  for (const drag::Button button : {drag::Button::Primary, drag::Button::Secondary, drag::Button::Middle}) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (!decision_.SwallowsReleaseOf(button) || decision_.KeepsDown(button)) continue;
    }
    if (!platform_.mouse.DeviceButtonDown(DeviceUp(button))) continue;
    std::lock_guard<std::mutex> lock(mutex_);
    decision_.PressReachedApplications(button);
  }
}

void modMouse::StopTheLatch() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    decision_.SetLatch({});
  }
  if (tell_) tell_(Notice::LatchStopped);
}

void modMouse::PutBackALostHook() {
  // Wanted for a Start, the latch, or a release of the hand's still to swallow.
  if (!hookLost_ || HoldingButton() || !HookWanted()) return;
  InstallHook();
  if (hook_.Installed()) return;
  bool startOn = false;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    startOn = decision_.StartOn();
  }
  if (!startOn) StopTheLatch();
}

void modMouse::LeavingDesktop() {
  // What the hand let go of before the other desktop took the input went to applications
  // here, by a hook Windows may have taken away: settled now, it is never taken later for a
  // release made over there.
  ReconcileHand(false);
  std::lock_guard<std::mutex> lock(mutex_);
  away_ = true;
}

void modMouse::ReturnedToDesktop() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    away_ = false;
  }
  // A release the hand made over there never reached the hook: what the system says of the
  // buttons now settles whether a put-back that waited for it is due.
  ReconcileHand(true);
  InjectDue();
  ShareKeptDown();
  if (hook_.Installed() && !HookWanted()) RemoveHook();
}

bool modMouse::LatchOn() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return decision_.CurrentLatch().holdTime.has_value();
}

bool modMouse::HoldingButton() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return decision_.Holding();
}

bool modMouse::LatchedHold() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return decision_.LatchedHold();
}

bool modMouse::GiveUpAsked() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return decision_.GiveUpAsked();
}

void modMouse::OwnTrayIconPressed() {
  std::lock_guard<std::mutex> lock(mutex_);
  decision_.OwnTrayIconPressed();
}

modMouse::Trouble modMouse::CurrentTrouble() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return decision_.CurrentTrouble();
}

void modMouse::ClearTrouble() {
  std::lock_guard<std::mutex> lock(mutex_);
  decision_.ClearTrouble();
}

std::int16_t modMouse::ClickCount() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return decision_.ClickCount();
}

void modMouse::ResetClickCount() {
  std::lock_guard<std::mutex> lock(mutex_);
  decision_.ResetClickCount();
}

void modMouse::ReleaseLeftButton() { LetGo(); }

void modMouse::GiveUp() {
  // A put-back that failed stays owed, and only a hook sees the hand's next press of it.
  try {
    EndHold(true);
  } catch (...) {
    PutBackALostHook();
    throw;
  }
  PutBackALostHook();
}

void modMouse::LetGo() { EndHold(false); }

void modMouse::EndHold(bool putBack) {
  // What the hook could not see is asked first: whether the hand still presses decides
  // between putting back now and waiting for its release.
  ReconcileHand(false);
  {
    std::lock_guard<std::mutex> lock(mutex_);
    decision_.EndHold(putBack);
  }
  // What was owed from before goes with it; what Windows refuses now waits for its turn.
  InjectDue();
  ShareKeptDown();
  TellHoldState();
}

std::optional<drag::ButtonBits> modMouse::HandDown() {
  const std::optional<rt::DeviceButtons> hand = platform_.mouse.HandButtons();
  if (!hand) return std::nullopt;
  // The device's left button is the primary one unless the user swapped them.
  const bool swapped = platform_.mouse.ButtonsSwapped();
  const auto bit = [&](unsigned device) { return (*hand & (1u << device)) != 0; };
  drag::ButtonBits handDown = 0;
  if (bit(swapped ? 1 : 0)) handDown |= drag::Bit(drag::Button::Primary);
  if (bit(swapped ? 0 : 1)) handDown |= drag::Bit(drag::Button::Secondary);
  if (bit(2)) handDown |= drag::Bit(drag::Button::Middle);
  return handDown;
}

void modMouse::ReconcileHand(bool afterAnotherDesktop) {
  const std::optional<drag::ButtonBits> handDown = HandDown();
  if (!handDown) return;
  bool missed = false;
  drag::ButtonBits kept = 0;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    missed = decision_.Reconcile(*handDown, afterAnotherDesktop, away_);
    kept = decision_.KeptDown();
  }
  // A press that went by a lost hook is the hand's own: a crash must not let go of it.
  platform_.mouse.NoteKeptDown(kept);
  // A button event went by the hook on our own desktop: Windows has let it by or taken it
  // away, and a hook still wanted goes in afresh.
  if (missed && hook_.Installed()) hookLost_ = true;
}

void modMouse::InjectDue() {
  for (const drag::Button button : {drag::Button::Primary, drag::Button::Secondary, drag::Button::Middle}) {
    std::optional<drag::Release> due;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      due = decision_.Due(button);
    }
    if (due) InjectUnlessUp(*due);
  }
}

void modMouse::InjectUnlessUp(const drag::Release& release) {
  // Should applications already have seen it go up (a release the hook never saw, while
  // Windows had it away), a release now would be one without its press. A release made on
  // another desktop reads as up here too, but applications here never got it.
  if (!release.handLetGoElsewhere && !platform_.mouse.DeviceButtonDown(DeviceUp(release.button))) {
    std::lock_guard<std::mutex> lock(mutex_);
    decision_.AlreadyUp(release.button);
    return;
  }
  Inject(release);
}

std::uint32_t modMouse::DeviceUp(drag::Button button) {
  // SendInput and the key state name the device's buttons, while the hook and the user
  // name the primary one: with swapped buttons the primary is the device's right.
  const bool swapped = platform_.mouse.ButtonsSwapped();
  if (button == drag::Button::Primary) return swapped ? rt::msg::kRButtonUp : rt::msg::kLButtonUp;
  if (button == drag::Button::Secondary) return swapped ? rt::msg::kLButtonUp : rt::msg::kRButtonUp;
  return rt::msg::kMButtonUp;
}

std::uint32_t modMouse::DeviceDown(drag::Button button) {
  const std::uint32_t up = DeviceUp(button);
  return up == rt::msg::kLButtonUp ? rt::msg::kLButtonDown : up == rt::msg::kRButtonUp ? rt::msg::kRButtonDown
                                                                                       : rt::msg::kMButtonDown;
}

void modMouse::Inject(const drag::Release& release) {
  // The pointer goes back to where the hand is now, not where it was when the hold ended:
  // the put-back may have waited for the hand's release, or for Windows.
  rt::ScreenPoint handAt = platform_.mouse.CursorPosition();
  std::uint64_t handEvents = 0;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    handEvents = decision_.HandEvents();
  }
  std::size_t taken = 0;
  std::exception_ptr failure;
  try {
    taken = platform_.mouse.Inject({{DeviceUp(release.button), release.at, 0}}, kInjectedTag);
  } catch (...) {
    failure = std::current_exception();
  }
  // The hand may have moved while Windows took ours, past a hook Windows took away as
  // much as by ours: the pointer's trail says where it went, our own points left out.
  bool trailSays = false;
  if (taken > 0) {
    const std::optional<rt::ScreenPoint> trail = platform_.mouse.LastPointNotTagged(kInjectedTag);
    trailSays = trail.has_value();
    if (trailSays) handAt = *trail;
  }
  {
    // Refused: applications still see the button down, so the release stays owed, done at
    // the return to the desktop, at the user's next press of it, or on the way out.
    std::lock_guard<std::mutex> lock(mutex_);
    if (taken > 0) decision_.Injected(release.button);
    else if (!away_) decision_.SetTrouble(Trouble::InjectionRefused);
    // Without the trail, where the hook last saw the hand is newer if it moved meanwhile.
    if (!trailSays && decision_.HandEvents() != handEvents) handAt = decision_.HandPointer();
  }
  ShareKeptDown();
  // Told through the doorbell, never from here: the controller's answer may inject again.
  if (taken == 0) RingDoorbell();
  if (failure) std::rethrow_exception(failure);
  // The pointer back on its own: a move in the same batch as a release at another point
  // may be merged away (Wine does), and nothing depends on the two together.
  if (taken > 0 && release.at && !(handAt == *release.at))
    platform_.mouse.Inject({{rt::msg::kMouseMove, handAt, 0}}, kInjectedTag);
  if (taken > 0) MakeGoodHeldBackPress(release.button, handAt);
}

// A press the hand made while our release was owed: held back by the hook, or gone by a
// hook Windows had taken away, to applications that then got our release after it. Either
// way the hand now holds a button applications see up, and its release would come to them
// unpressed: the press is made good instead.
void modMouse::MakeGoodHeldBackPress(drag::Button button, rt::ScreenPoint at) {
  bool heldBack = false;
  bool swallowing = false;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    heldBack = decision_.MakeGoodHeldBackPress(button);
    swallowing = decision_.SwallowsReleaseOf(button);
  }
  if (!heldBack) {
    const std::optional<drag::ButtonBits> hand = HandDown();
    if (swallowing || !hand || !(*hand & drag::Bit(button)) || platform_.mouse.DeviceButtonDown(DeviceUp(button)))
      return;
  }
  std::size_t taken = 0;
  try {
    taken = platform_.mouse.Inject({{DeviceDown(button), at, 0}}, kInjectedTag);
  } catch (...) {
    std::lock_guard<std::mutex> lock(mutex_);
    decision_.HeldBackPressNotMadeGood(button);
    throw;
  }
  if (taken > 0) return;
  std::lock_guard<std::mutex> lock(mutex_);
  decision_.HeldBackPressNotMadeGood(button);
}

// --- the badge ------------------------------------------------------------------------------

void modMouse::StartFilling(const drag::Candidate& candidate) {
  std::chrono::milliseconds hold{};
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!decision_.PendingCandidate(candidate.number) || !decision_.CurrentLatch().holdTime) return;
    hold = *decision_.CurrentLatch().holdTime;
  }
  // The badge only: the latch itself is decided by the events' own times in the hook, so a
  // timer that runs late makes the badge late, never the latch.
  platform_.pump.PostAfter(hold * kTenthsBeforeFilling / 10,
                           [this, number = candidate.number] { FillLater(number, kTenthsBeforeFilling); });
}

void modMouse::FillLater(std::uint64_t number, int tenths) {
  std::optional<drag::Candidate> pending;
  std::chrono::milliseconds hold{};
  {
    std::lock_guard<std::mutex> lock(mutex_);
    pending = decision_.PendingCandidate(number);
    if (pending && decision_.CurrentLatch().holdTime) hold = *decision_.CurrentLatch().holdTime;
  }
  if (!pending || hold.count() == 0) return;
  if (tenths >= 10) {
    // Full: from now on the badge shows the press as held, and giving up treats it so.
    {
      std::lock_guard<std::mutex> lock(mutex_);
      decision_.ShowHeld(number);
    }
    TellHoldState();
    return;
  }
  if (observer_ != nullptr) {
    told_ = Told::Filling;
    observer_->Filling(pending->at, pending->button, tenths / 10.0);
  }
  platform_.pump.PostAfter(hold / 10, [this, number, tenths] { FillLater(number, tenths + 1); });
}

void modMouse::TellHoldState() {
  enum class Tell { Nothing, Started, Ended } tell = Tell::Nothing;
  rt::ScreenPoint pointer;
  drag::Button button = drag::Button::Primary;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (decision_.Holding()) {
      if (told_ != Told::Holding) {
        tell = Tell::Started;
        pointer = decision_.Pointer();
        button = decision_.HeldButton();
      }
    } else if (told_ == Told::Holding || (told_ == Told::Filling && !decision_.Filling())) {
      // A fill still going on stays; a hold over, or a fill given up, ends.
      tell = Tell::Ended;
    }
  }
  if (tell == Tell::Nothing) return;
  // A hold began: where our tray icon is now decides whether a click on it gives up.
  if (tell == Tell::Started) RefreshTrayIcon();
  told_ = tell == Tell::Started ? Told::Holding : Told::Nothing;
  if (observer_ == nullptr) return;
  if (tell == Tell::Started) observer_->HoldStarted(pointer, button);
  if (tell == Tell::Ended) observer_->HoldEnded();
}

void modMouse::TellPointer() {
  rt::ScreenPoint pointer;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!decision_.Holding()) return;
    pointer = decision_.Pointer();
  }
  // One update per wake-up, with the newest point: a burst of moves costs one repaint.
  if (observer_ != nullptr && told_ == Told::Holding) observer_->PointerMoved(pointer);
}

void modMouse::AskLatchAttention() {
  bool attend = false;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    attend = !decision_.StartOn() && decision_.CurrentLatch().holdTime.has_value();
  }
  if (attend && latchAttention_) latchAttention_();
}
