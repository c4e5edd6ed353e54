// modMouse, the mouse-hook module: the program's contact with system-wide mouse input.
// The decision about every event is DragDecision's; this is the shell around it. The hook
// runs on a thread of its own and only decides and answers: it never reports, waits, shows
// anything, sets a timer or touches the window thread's structures. What the window must
// do travels through one hand-over that cannot fail inside the hook: the chores kept under
// the module's lock, and a doorbell whose failed ring is remembered and rung again. A
// failure inside the hook is caught there, the event passes on, and the failure is reported
// on the window's thread once everything held has been let go.
#pragma once
#include <atomic>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "autodrag/DragDecision.h"
#include "autodrag/HoldObserver.h"
#include "autodrag/LatchExceptions.h"
#include "autodrag/MouseHook.h"
#include "runtime/Platform.h"

class modMouse {
 public:
  // Every event we inject carries this in dwExtraInfo, so our own hook lets it pass
  // uncounted while events injected by other programs (on-screen mice, eye-gaze
  // clickers) still count like real ones.
  static constexpr std::uintptr_t kInjectedTag = 0x564F524Eu;  // "VORN"

  using Trouble = drag::Trouble;
  using Latch = drag::Latch;

  explicit modMouse(rt::Platform& platform);
  modMouse(const modMouse&) = delete;
  modMouse& operator=(const modMouse&) = delete;
  ~modMouse();

  // Installs the hook and starts a new drag: waiting for the pick-up, with no trouble and
  // no press remembered from before.
  void StartMouseHook();
  // Ends the Start's drag; a hold still on is let go where the pointer is. The hook comes
  // out unless the latch keeps it in.
  void StopMouseHook();
  // The hook is in while a Start is on or the latch is; turned off, a latched hold is let go.
  void SetLatch(Latch latch);
  bool LatchOn() const;
  // The programs (file names) in whose windows a press held still stays an ordinary press.
  void SetLatchExceptions(const std::vector<std::wstring>& fileNames) { latchExceptions_.Set(fileNames); }
  // For good (close, failure): no Start, no latch, no hook, nothing held. What is held goes
  // back to its pick-up; a hand still pressing it is waited for, briefly, on the pump.
  void Close();
  // Called from the loop when a latched hold, which no Start loop watches, needs the
  // controller: the user asked to give up, or Windows refused what we injected.
  void SetLatchAttention(std::function<void()> attend) { latchAttention_ = std::move(attend); }
  // What the user should hear of without a Start to end: the latch had to stop (Windows
  // took the hook away and would not take it back), or a hook is in but its loss could
  // not be watched for (said once a run).
  // Or, closing: Windows would not take a put-back, so a button may still read as down
  // (said once; the way out tries again).
  enum class Notice { LatchStopped, HookLossUnwatched, PutBackRefusedAtClose };
  void SetNoticeHandler(std::function<void(Notice)> tell) { tell_ = std::move(tell); }

  // On the hook's thread.
  std::intptr_t MouseHookProc(int code, std::uintptr_t message, const rt::LowLevelMouseEvent& event);
  // The pick-up: the user's own press, kept down by the hook, is the held button, so there
  // is nothing to press. Kept as the controller's step.
  void PressLeftButton() {}
  // The drop: the user's own release let go. Should a hold still be ours, it is let go.
  void ReleaseLeftButton();
  // Puts a held item back: the pointer goes to the pick-up point, one release there, and
  // the pointer comes back to where the user has it. Nothing held: nothing to do.
  void GiveUp();
  // For the ways out (close, failure): one release of a held button where the pointer is.
  void LetGo();

  // The user leaves the desktop (lock, sleep, another user): what we inject meanwhile may
  // be refused, and a refused put-back waits for the return.
  void LeavingDesktop();
  // Back on the desktop: a put-back still owed is done now, before the user's first click.
  void ReturnedToDesktop();

  bool HoldingButton() const;
  // Held by a latch rather than a Start's pick-up.
  bool LatchedHold() const;
  // The user clicked our own window or tray icon while holding: auto-drag should give up.
  bool GiveUpAsked() const;
  // Told whenever the hold starts or ends and when the pointer moves during it; null: nobody.
  void SetHoldObserver(HoldObserver* observer) { observer_ = observer; }
  // The shell told our tray icon of a primary press: its release is no pick-up. Where the
  // shell cannot say where the icon is (Wine's cannot), this is how the hook knows.
  void OwnTrayIconPressed();
  // Where our tray icon is; asked on the window's thread whenever a hook goes in or a hold
  // starts, and when the taskbar is made anew; never from inside the hook.
  void SetTrayIconLocator(std::function<std::optional<rt::ScreenRect>()> locate) { locateTrayIcon_ = std::move(locate); }
  void TrayIconMoved();
  Trouble CurrentTrouble() const;
  void ClearTrouble();

  // Primary-button releases counted since the controller last reset the count: the
  // pick-up and the drop.
  std::int16_t ClickCount() const;
  void ResetClickCount();
  // The hook's handle at the last start, 0 if that failed; it keeps its value after a stop.
  rt::HookHandle MouseHookHandle() const { return lastHandle_.load(); }

 private:
  enum class Told { Nothing, Filling, Holding };

  // Without the lock held: installs the hook afresh.
  void InstallHook();
  void RemoveHook();
  void MakeGoodOnTheWayOut(drag::ButtonBits buttons);
  // After a hold ends: the hook goes back in if the latch or a Start still wants it.
  void PutBackALostHook();
  bool HookWanted() const;
  // Windows took the hook away: put it back if nothing was held, or end with trouble.
  void OnHookLost();
  // After a lost hook: a press whose release was to be swallowed but that reached applications.
  void ForgetSwallowsOfPressesThatWentBy();
  // On the window's thread, from the doorbell: what the hook handed over.
  void DoChores();
  void RingDoorbell() noexcept;
  // On the hook's thread: pass (false) or swallow (true).
  bool Decide(std::uint32_t message, const rt::LowLevelMouseEvent& event) noexcept;
  // What only the platform knows about a button event's point; asked outside the lock.
  void LookAtTheWindow(drag::Event& event);
  void KeepHookFailure() noexcept;
  // Ends a hold and injects what that takes; a refused release stays owed.
  void EndHold(bool putBack);
  // Tells the decision what the system knows of the hand's buttons.
  void ReconcileHand(bool afterAnotherDesktop);
  void Inject(const drag::Release& release);
  void InjectUnlessUp(const drag::Release& release);
  // The releases that are due: refused before, or the user's release they waited for came.
  void InjectDue();
  void WaitForWhatIsOwed();
  std::uint32_t DeviceUp(drag::Button button);
  std::uint32_t DeviceDown(drag::Button button);
  void MakeGoodHeldBackPress(drag::Button button, rt::ScreenPoint at);
  // What raw input says the hand holds, as the hook names the buttons; none: not known.
  std::optional<drag::ButtonBits> HandDown();
  void ShareKeptDown();
  void EndPointerFrame();
  void RefreshTrayIcon();
  void StartFilling(const drag::Candidate& candidate);
  void FillLater(std::uint64_t number, int tenths);
  void TellHoldState();
  void TellPointer();
  void AskLatchAttention();
  // The latch cannot watch: it goes off and the user is told.
  void StopTheLatch();

  rt::Platform& platform_;
  // Everything the hook reads or writes is guarded by this lock, which is never held while
  // we inject (the injection calls the hook), install or remove a hook, or tell an observer.
  mutable std::mutex mutex_;
  drag::DragDecision decision_;
  // Read by the hook without this module's lock: it keeps its own.
  LatchExceptions latchExceptions_;
  std::optional<rt::ScreenRect> trayIcon_;
  bool away_ = false;
  // The hook has rung for chores the window's thread has not taken yet.
  bool rungForChores_ = false;
  // The badge was last moved less than a frame ago: the pointer's moves wait for the
  // frame's end instead of ringing, so a hold's moves wake this thread once a frame.
  bool pointerFrameOpen_ = false;
  // A failure caught inside the hook, for the window's thread to report.
  std::exception_ptr hookFailure_;
  // Set by the hook when its lock could not even be taken.
  std::atomic<bool> hookFailedBare_{false};
  // A ring that could not be sent; the hook rings again at its next event.
  std::atomic<bool> ringOwed_{false};

  // The window thread's own; the hook never touches these.
  std::unique_ptr<rt::Doorbell> doorbell_;
  MouseHook hook_;
  std::atomic<rt::HookHandle> lastHandle_{0};
  bool hookLost_ = false;
  std::function<void()> latchAttention_;
  std::function<void(Notice)> tell_;
  bool unwatchedTold_ = false;
  bool refusedAtCloseTold_ = false;
  // Closed once: a later close (the unload after the query) only tries again, without waiting.
  bool closed_ = false;
  std::function<std::optional<rt::ScreenRect>()> locateTrayIcon_;
  HoldObserver* observer_ = nullptr;
  Told told_ = Told::Nothing;
};
