// The program's contact with system-wide mouse input: the low-level hook that counts the
// user's left-button releases and holds each back for a moment, and the injected presses
// and releases that make the button count as held.
#pragma once
#include <cstdint>

#include "runtime/Platform.h"

class modMouse {
 public:
  // Every event we inject carries this in dwExtraInfo, so our own hook lets it pass
  // uncounted while events injected by other programs (on-screen mice, eye-gaze
  // clickers) still count like real ones.
  static constexpr std::uintptr_t kInjectedTag = 0x564F524Eu;  // "VORN"
  static constexpr double kMinimumHoldSeconds = 0.5;

  explicit modMouse(rt::Platform& platform) : platform_(platform) {}
  modMouse(const modMouse&) = delete;
  modMouse& operator=(const modMouse&) = delete;
  ~modMouse();

  void StartMouseHook();
  void StopMouseHook();
  std::intptr_t MouseHookProc(int code, std::uintptr_t message, const rt::LowLevelMouseEvent& event);
  void PressLeftButton();
  void ReleaseLeftButton();
  // Waits at least that long, handling the thread's messages meanwhile.
  void WaitSeconds(double seconds);

  // How long a counted release is held back: half a second, or longer when the user's
  // double-click time is slow, so our press never turns the pick-up click into a double-click.
  double HoldSeconds();
  // Passes on at once every release still held back; for the way out, so that no
  // application is left seeing a button that the user has long let go.
  void ReleaseHeldClicksNow();

  // Left-button releases seen since the controller last reset it.
  std::int16_t ClickCount = 0;
  rt::HookHandle MouseHookHandle = 0;

 private:
  void PassOnHeldRelease();
  rt::Platform& platform_;
  bool hookInstalled_ = false;
  int heldReleases_ = 0;
};
