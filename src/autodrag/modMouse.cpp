#include "autodrag/modMouse.h"

#include <algorithm>
#include <limits>

#include "runtime/Waiting.h"

namespace {
constexpr int kHcAction = 0;
}

modMouse::~modMouse() {
  if (hookInstalled_) platform_.mouse.Unhook(MouseHookHandle);
}

void modMouse::StartMouseHook() {
  MouseHookHandle =
      platform_.mouse.SetLowLevelHook([this](int code, std::uintptr_t message, const rt::LowLevelMouseEvent& event) {
        return MouseHookProc(code, message, event);
      });
  hookInstalled_ = MouseHookHandle != 0;
}

void modMouse::StopMouseHook() {
  // The handle keeps its value; unhooking a dead or zero handle is harmless and ignored.
  platform_.mouse.Unhook(MouseHookHandle);
  hookInstalled_ = false;
}

std::intptr_t modMouse::MouseHookProc(int code, std::uintptr_t message, const rt::LowLevelMouseEvent& event) {
  const int hookCode = static_cast<std::int16_t>(code & 0xFFFF);
  if (hookCode == kHcAction && message == rt::msg::kLButtonUp && event.extraInfo != kInjectedTag) {
    // The controller resets the count at every start and whenever it passes 1, so it never
    // comes near the top in operation; saturating keeps a runaway from wrapping negative.
    if (ClickCount < std::numeric_limits<std::int16_t>::max()) ++ClickCount;
    // Windows bypasses, and finally removes, a low-level hook that keeps the desktop
    // waiting, and the pointer stalls meanwhile. So the release is taken out of the input
    // stream now and put back after the hold by a handler of our own message.
    ++heldReleases_;
    platform_.pump.Post([this] { PassOnHeldRelease(); });
    return 1;
  }
  return platform_.mouse.CallNextHook(MouseHookHandle, hookCode, message, event);
}

void modMouse::PassOnHeldRelease() {
  if (heldReleases_ == 0) return;  // already passed on by ReleaseHeldClicksNow
  WaitSeconds(HoldSeconds());
  if (heldReleases_ == 0) return;
  --heldReleases_;
  platform_.mouse.InjectLeftButton(rt::LeftButtonAction::Release, kInjectedTag);
}

void modMouse::ReleaseHeldClicksNow() {
  for (; heldReleases_ > 0; --heldReleases_)
    platform_.mouse.InjectLeftButton(rt::LeftButtonAction::Release, kInjectedTag);
}

double modMouse::HoldSeconds() {
  const double doubleClick = platform_.mouse.DoubleClickTimeMs() / 1000.0 + 0.05;
  return std::max(kMinimumHoldSeconds, doubleClick);
}

void modMouse::PressLeftButton() { platform_.mouse.InjectLeftButton(rt::LeftButtonAction::Press, kInjectedTag); }

void modMouse::ReleaseLeftButton() { platform_.mouse.InjectLeftButton(rt::LeftButtonAction::Release, kInjectedTag); }

void modMouse::WaitSeconds(double seconds) { rt::PumpFor(platform_.pump, platform_.clock, seconds); }
