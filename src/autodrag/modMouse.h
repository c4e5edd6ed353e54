// modMouse, the mouse-hook module: the program's contact with system-wide mouse input.
// Its hook decides at once what each press and release of the primary button means for
// the drag. The user's own press is the held button: the pick-up release is swallowed, so
// applications go on seeing the button down while the hand moves; the drop press is
// swallowed too, and the user's own release, where it happens, is the drop. A drag that
// goes as planned injects nothing. Only giving up and the ways out inject, tagged.
// With the latch on, the hook stays in while the program runs and a press held still
// becomes a hold exactly like a pick-up, with no Start.
#pragma once
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <vector>

#include "autodrag/HoldObserver.h"
#include "autodrag/MouseHook.h"
#include "runtime/Platform.h"

class modMouse {
 public:
  // Every event we inject carries this in dwExtraInfo, so our own hook lets it pass
  // uncounted while events injected by other programs (on-screen mice, eye-gaze
  // clickers) still count like real ones.
  static constexpr std::uintptr_t kInjectedTag = 0x564F524Eu;  // "VORN"

  // Why auto-drag cannot go on; the controller ends it and tells the user.
  enum class Trouble {
    None,
    // The click was in a window of a program that runs at a higher level than we do: if
    // we kept its button down, nothing we inject could let go of it there, so the click
    // went through untouched.
    WindowOutOfReach,
    // Windows took fewer of our events than we gave it (or the call failed).
    InjectionRefused,
    // Windows took the hook away (or passed input by it) while we held the button.
    HookLost,
  };

  explicit modMouse(rt::Platform& platform);
  modMouse(const modMouse&) = delete;
  modMouse& operator=(const modMouse&) = delete;
  ~modMouse();

  // A press held still for holdTime latches; none: the latch is off. With rightButton,
  // a held secondary press latches too; with middleButton, a held middle press.
  struct Latch {
    std::optional<std::chrono::milliseconds> holdTime;
    bool rightButton = false;
    bool middleButton = false;
    bool operator==(const Latch&) const = default;
  };

  // Installs the hook and starts a new drag: waiting for the pick-up.
  void StartMouseHook();
  // Ends the Start's drag; a hold still on is let go where the pointer is. The hook comes
  // out unless the latch keeps it in.
  void StopMouseHook();
  // The hook is in while a Start is on or the latch is; turned off, a latched hold is let go.
  void SetLatch(Latch latch);
  bool LatchOn() const;
  // For good (close, failure): no Start, no latch, no hook, nothing held.
  void Close();
  // Called from the loop when a latched hold, which no Start loop watches, needs the
  // controller: the user asked to give up, or Windows refused what we injected.
  void SetLatchAttention(std::function<void()> attend) { latchAttention_ = std::move(attend); }

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

  bool HoldingButton() const;
  // Held by a latch rather than a Start's pick-up.
  bool LatchedHold() const;
  // The user clicked our own window or tray icon while holding: auto-drag should give up.
  bool GiveUpAsked() const;
  // Told whenever the hold starts or ends and when the pointer moves during it; null: nobody.
  void SetHoldObserver(HoldObserver* observer) {
    std::lock_guard<std::mutex> lock(mutex_);
    observer_ = observer;
  }
  // The shell told our tray icon of a primary press: its release is no pick-up. Where the
  // shell cannot say where the icon is (Wine's cannot), this is how the hook knows.
  void OwnTrayIconPressed();
  // Where our tray icon is; asked when the hook goes in, never from inside the hook.
  void SetTrayIconLocator(std::function<std::optional<rt::ScreenRect>()> locate) { locateTrayIcon_ = std::move(locate); }
  Trouble CurrentTrouble() const;
  void ClearTrouble();

  // Primary-button releases counted since the controller last reset the count: the
  // pick-up and the drop.
  std::int16_t ClickCount() const;
  void ResetClickCount();
  // The hook's handle at the last start, 0 if that failed; it keeps its value after a stop.
  rt::HookHandle MouseHookHandle() const { return lastHandle_.load(); }

 private:
  // Waiting for a Start's pick-up; holding; a Start's drag over; the latch watching presses.
  enum class Phase { Waiting, Holding, Dropped, Watching };
  enum class Verdict { PassOn, Swallow };
  struct Press {
    rt::ScreenPoint at;
    std::uint32_t time = 0;
  };
  // A press being held towards the latch.
  struct LatchCandidate {
    Press press;
    rt::HeldButton button = rt::HeldButton::Primary;
    std::uint64_t number = 0;
  };
  enum class Told { Nothing, Filling, Holding };

  // Without the lock held: installs the hook afresh (the procedure decides under the lock).
  void InstallHook();
  // Windows took the hook away: put it back if nothing was held, or end with trouble.
  void OnHookLost();
  // The lock held from here on, unless a comment says otherwise.
  Verdict Decide(std::uint32_t message, const rt::LowLevelMouseEvent& event);
  Verdict WhileWaiting(std::uint32_t message, const rt::LowLevelMouseEvent& event);
  Verdict WhileHolding(std::uint32_t message, const rt::LowLevelMouseEvent& event);
  Verdict PickUp(const rt::LowLevelMouseEvent& event);
  // The latch's side of the hook and its timers (modMouseLatch.cpp).
  Verdict WhileWatching(std::uint32_t message, const rt::LowLevelMouseEvent& event);
  void BeginCandidate(rt::HeldButton button, const rt::LowLevelMouseEvent& event);
  void DropCandidate();
  void LatchCandidateNow();
  // The loop's timers for a press held towards the latch; they take the lock themselves.
  void LatchTimerDue(std::uint64_t number);
  void FillLater(std::uint64_t number, int tenths);
  bool HeldLongEnough(const rt::LowLevelMouseEvent& event) const;
  bool WithinDoubleClickArea(rt::ScreenPoint from, rt::ScreenPoint to);
  // Where the hook goes once a hold ends: a Start's drag is over; the latch watches again.
  void AfterHold();
  void AskLatchAttention();
  std::uint32_t HeldDown() const;
  std::uint32_t HeldUp() const;
  bool IsOwnUiAt(rt::ScreenPoint point);
  bool IsStrayRelease(std::uint32_t message);
  // A second press so soon and so near the pick-up press that Windows would make the two
  // a double-click: a tremor's double tap, not a drop.
  bool IsBounce(const rt::LowLevelMouseEvent& press);
  // The held button's release as SendInput names it.
  std::uint32_t HeldUpToInject();
  // Ends a hold under the lock; what to inject for it is returned, to be injected after.
  std::vector<rt::MouseEventToInject> EndHold(bool putBack);
  void CountRelease();
  void Inject(const std::vector<rt::MouseEventToInject>& events);
  // The loop blocks in its pump until a message comes; a hook call alone may not end it.
  void WakeTheLoop();
  // Tells the observer what changed since it was last told; never called inside the hook.
  void TellHoldState();
  void TellHoldStateLater();
  void TellPointerLater();

  rt::Platform& platform_;
  // The hook may be called on a thread of its own: every item below that it reads or
  // writes is guarded by this lock, which is never held while we inject (the injection
  // calls the hook) nor while an observer runs.
  mutable std::mutex mutex_;
  MouseHook hook_;
  std::atomic<rt::HookHandle> lastHandle_{0};
  std::int16_t clickCount_ = 0;
  Phase phase_ = Phase::Waiting;
  bool startOn_ = false;
  Latch latch_;
  std::optional<LatchCandidate> candidate_;
  std::uint64_t candidates_ = 0;
  // The latched press is still down: its release is swallowed, as a pick-up's is.
  bool latchPressDown_ = false;
  // The release of a latched press given up before it came, swallowed when it does (0: none).
  std::uint32_t strayRelease_ = 0;
  rt::HeldButton heldButton_ = rt::HeldButton::Primary;
  std::function<void()> latchAttention_;
  // The last press the hook saw, and where the held item was picked up.
  std::optional<Press> lastPress_;
  Press pickUp_;
  // The press now down was on our own window or tray icon: its release is no pick-up or drop.
  bool pressOnOwnUi_ = false;
  bool trayIconPressed_ = false;
  // The press now down, while holding, is a bounce of the pick-up click.
  bool bouncing_ = false;
  bool giveUpAsked_ = false;
  // Windows took the hook away during a latched hold: it goes back in once that is given up.
  bool hookWanted_ = false;
  std::optional<rt::ScreenRect> trayIcon_;
  std::function<std::optional<rt::ScreenRect>()> locateTrayIcon_;
  HoldObserver* observer_ = nullptr;
  Told told_ = Told::Nothing;
  bool pointerTellPosted_ = false;
  rt::ScreenPoint lastPointer_;
  // A release Windows did not take (as injected, 0: none); tried once more on the way out.
  std::uint32_t owedRelease_ = 0;
  Trouble trouble_ = Trouble::None;
};
