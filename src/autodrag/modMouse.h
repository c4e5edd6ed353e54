// modMouse, the mouse-hook module: the program's contact with system-wide mouse input.
// Its hook counts the user's left-button releases and holds the pick-up back for a
// moment; its injected events make the button count as held from the click that picks up
// to the click that drops.
#pragma once
#include <cstdint>
#include <deque>
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
  static constexpr double kMinimumHoldSeconds = 0.5;
  // How long input stays held after the pick-up release went back, waiting for our
  // press. The loop presses within milliseconds; only a modal box or a move loop of our
  // own window on top of it can keep it longer, and the pointer must not freeze for that.
  static constexpr double kPressGraceSeconds = 0.25;
  // Windows marks the mouse input it makes from a pen or a touch screen with this in the
  // upper bits of dwExtraInfo: such input always says where it is.
  static constexpr std::uintptr_t kPenOrTouchSignature = 0xFF515700u;
  static constexpr std::uintptr_t kPenOrTouchMask = 0xFFFFFF00u;

  // Why auto-drag cannot go on; the controller ends it and tells the user.
  enum class Trouble {
    None,
    // The click was in a window of a program that runs at a higher level than we do:
    // nothing we inject would reach it, so we let the click through untouched.
    WindowOutOfReach,
    // Windows took fewer of our events than we gave it (or the call failed).
    InjectionRefused,
  };

  explicit modMouse(rt::Platform& platform) : platform_(platform) {}
  modMouse(const modMouse&) = delete;
  modMouse& operator=(const modMouse&) = delete;

  void StartMouseHook();
  // Removes the hook and lets go of everything: our press and whatever is held back.
  void StopMouseHook();
  std::intptr_t MouseHookProc(int code, std::uintptr_t message, const rt::LowLevelMouseEvent& event);
  // Presses where the user released the pick-up click, then lets the movement held back
  // meanwhile go on with the button held. Does nothing once the hook is gone (a stop was
  // asked for) or after trouble.
  void PressLeftButton();
  // Lets go of our press (unless the user's own drop release already did) and of
  // anything held back.
  void ReleaseLeftButton();
  // Waits at least that long, handling the thread's messages meanwhile.
  void WaitSeconds(double seconds);

  // How long the pick-up release is held back: half a second, or longer when the user's
  // double-click time is slow, so our press never turns the pick-up click into a double-click.
  double HoldSeconds();
  // For every way out: passes on at once whatever is held back and lets go of our press,
  // so that no application is left seeing a button the user has long let go.
  void LetGo();

  bool HoldingButton() const { return pressedForUser_; }
  // Told whenever the hold starts or ends and when the pointer moves during it; null: nobody.
  void SetHoldObserver(HoldObserver* observer) { observer_ = observer; }
  Trouble CurrentTrouble() const { return trouble_; }
  void ClearTrouble() { trouble_ = Trouble::None; }

  // Left-button releases seen since the controller last reset the count.
  std::int16_t ClickCount() const { return clickCount_; }
  void ResetClickCount() { clickCount_ = 0; }
  // The hook's handle at the last start, 0 if that failed; it keeps its value after a stop.
  rt::HookHandle MouseHookHandle() const { return lastHandle_; }

 private:
  struct HeldEvent {
    std::uint32_t message;
    rt::ScreenPoint at;
    std::uint32_t mouseData;
  };

  enum class Verdict { PassOn, Swallow };
  Verdict Decide(std::uint32_t message, const rt::LowLevelMouseEvent& event);
  Verdict HoldBack(std::uint32_t message, const rt::LowLevelMouseEvent& event);
  // The first release of a drag, held back for the pick-up.
  Verdict PickUp(std::uint32_t message, const rt::LowLevelMouseEvent& event);
  // A release while we hold the button.
  Verdict Drop();

  bool HoldingBackInput() const { return releaseDue_ || awaitingPress_ || injecting_; }
  // Where the hand has taken the pointer, for an event held back while the pointer stands still.
  rt::ScreenPoint HeldPoint(const rt::LowLevelMouseEvent& event);
  void CountRelease();
  void PassOnHeldRelease();
  void PassOnHeldInput();
  // Our press (when given) and the held input behind it, as one injection. While the
  // button is down a held press is dropped and a held release is the drop.
  void Replay(std::vector<rt::MouseEventToInject> first);
  void Inject(const std::vector<rt::MouseEventToInject>& events);
  // The loop blocks in its pump until a message comes; a hook call alone may not end it.
  void WakeTheLoop();
  // Tells the observer what changed since it was last told; never called inside the hook.
  void TellHoldState();
  void TellPointerLater();

  rt::Platform& platform_;
  MouseHook hook_;
  rt::HookHandle lastHandle_ = 0;
  std::int16_t clickCount_ = 0;
  // The user's input taken out of the stream since the pick-up release, in order.
  std::deque<HeldEvent> held_;
  // The first held event is the pick-up release, waiting out the hold.
  bool releaseDue_ = false;
  // The pick-up release went back; the rest waits for our press.
  bool awaitingPress_ = false;
  float pressAwaitedSince_ = 0;
  bool flushPosted_ = false;
  // Inside our own injection: the user's input that arrives meanwhile waits its turn behind it.
  bool injecting_ = false;
  rt::ScreenPoint pickUpPoint_;
  // The hand's path while input is held: where the pointer would be now.
  rt::ScreenPoint heldPath_;
  bool pressedForUser_ = false;
  HoldObserver* observer_ = nullptr;
  bool toldHolding_ = false;
  bool pointerTellPosted_ = false;
  rt::ScreenPoint lastPointer_;
  // A release Windows did not take; tried once more on the way out.
  bool owedRelease_ = false;
  Trouble trouble_ = Trouble::None;
};
