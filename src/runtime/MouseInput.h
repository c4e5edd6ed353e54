// System-wide mouse input: the low-level hook and injected mouse events.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "runtime/Types.h"

namespace rt {

// A point on the virtual desktop in physical pixels; left of or above the primary monitor
// the coordinates are negative.
struct ScreenPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
  bool operator==(const ScreenPoint&) const = default;
};

// A rectangle on the virtual desktop, right and bottom exclusive.
struct ScreenRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
  bool Contains(ScreenPoint p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
};

// The size of the area around a click in which a second click counts as its double-click.
struct ScreenSize {
  std::int32_t width = 0;
  std::int32_t height = 0;
};

// What the low-level hook is told about one mouse event (the MSLLHOOKSTRUCT fields).
struct LowLevelMouseEvent {
  ScreenPoint at;
  std::uint32_t mouseData = 0;
  std::uint32_t flags = 0;
  // Milliseconds on the system's tick count: steady, whatever the time of day does.
  std::uint32_t time = 0;
  std::uintptr_t extraInfo = 0;
  // The platform's own record, for passing the event on unchanged; opaque to the program.
  std::uintptr_t nativeRecord = 0;
};

// The hook procedure: hook code, message identifier, event record; returns the hook's
// result (nonzero without calling the next hook swallows the event). It may be called on
// a thread of the platform's own, never nested in the window's work.
using MouseHookProcedure =
    std::function<std::intptr_t(int code, std::uintptr_t message, const LowLevelMouseEvent& event)>;

// One event to put into the input stream: a move or a button of the device, named by the
// window message that button makes when the buttons are not swapped (WM_LBUTTONUP is the
// device's left button, whatever the user's setting makes of it).
struct MouseEventToInject {
  std::uint32_t message = 0;
  // Where it happens; none means where the pointer is now.
  std::optional<ScreenPoint> at;
  // As the hook reported it: the wheel delta or the X button in the high word.
  std::uint32_t mouseData = 0;
};

// What one look at the window under a point tells.
struct WindowAtPoint {
  // A window of our own (the main window, the Settings window, a message box of ours);
  // never the click-through badge.
  bool ours = false;
  // False when input we inject there would never reach the window: it belongs to a program
  // running at a higher integrity level (as administrator) than we do. True when not asked.
  bool reachable = true;
  // The process that owns the window; 0 when there is no window or it cannot be told.
  std::uint32_t program = 0;
};

// The device's buttons as bits (1 << 0 left, 1 << 1 right, 1 << 2 middle), named as
// injected events name them, whatever the user's swap setting.
using DeviceButtons = std::uint8_t;

class MouseInput {
 public:
  virtual ~MouseInput() = default;
  // Installs a desktop-wide low-level mouse hook; returns its handle, 0 on failure.
  virtual HookHandle SetLowLevelHook(MouseHookProcedure procedure) = 0;
  // Removes a hook; false when the handle is not a live hook (0, or already removed).
  virtual bool Unhook(HookHandle handle) = 0;
  virtual std::intptr_t CallNextHook(HookHandle handle, int code, std::uintptr_t message,
                                     const LowLevelMouseEvent& event) = 0;
  // Puts the events into the input stream in one piece, in order, each carrying
  // extraInfo; returns how many of them the system took.
  virtual std::size_t Inject(const std::vector<MouseEventToInject>& events, std::uintptr_t extraInfo) = 0;
  virtual unsigned DoubleClickTimeMs() = 0;
  virtual ScreenSize DoubleClickArea() = 0;
  // The user's "switch primary and secondary buttons" setting, as it is now.
  virtual bool ButtonsSwapped() = 0;
  // What is under the point, from one look at the window there (the hook asks this for
  // button events only, and only what the decision will use). `askReach`: whether input we
  // inject there would reach that window; asked only where it decides something (a
  // pick-up's release, a press that could latch), since it reads the window's process.
  virtual WindowAtPoint LookAt(ScreenPoint point, bool askReach) = 0;
  // Called on the window's thread when button input reached the desktop that our hook was
  // never called for: Windows took the hook away, or passed input by it.
  virtual void SetHookLostHandler(std::function<void()> handler) = 0;
  // Whether applications see the device's button (named by its release, as injected) down
  // now: the system's key state, every program's injected events included. It is the
  // session's, not the desktop's: a release on another desktop (the lock screen) reads as
  // up here although applications of ours never got it.
  virtual bool DeviceButtonDown(std::uint32_t upMessage) = 0;
  // The device's buttons the hand holds down now, as far as the system can tell without
  // our hook: raw input follows the device whatever hooks do with its events; none while
  // raw input is not watched (no hook in, or Windows refused the watch).
  virtual std::optional<DeviceButtons> HandButtons() = 0;
  // Where the pointer is now: where a put-back sends it back to.
  virtual ScreenPoint CursorPosition() = 0;
  // Where input not carrying this tag in its extra info last put the pointer: the system
  // keeps a short trail of the pointer's points, each with its extra info, so a hand's move
  // taken while Windows took ours is told from our own. None: the trail does not say, or
  // cannot tell our points from the hand's.
  virtual std::optional<ScreenPoint> LastPointNotTagged(std::uintptr_t tag) = 0;
  // False while a hook is in but that watch could not be set up: a lost hook would go unseen.
  virtual bool HookLossWatched() = 0;
  // The buttons applications see down only because we keep them so (bit 1 << HeldButton:
  // primary 1, secondary 2, middle 4): exactly what a crash must let go of. Any thread.
  virtual void NoteKeptDown(std::uint8_t buttons) noexcept = 0;
};

}  // namespace rt
