#include "fakes/FakeShortcutsAndBadge.h"

#include <algorithm>

namespace fake {

bool FakeShortcuts::Register(const rt::Shortcut& shortcut, std::function<void()> pressed) {
  ++registrations;
  if (std::find(heldByOthers.begin(), heldByOthers.end(), shortcut) != heldByOthers.end()) return false;
  registered = shortcut;
  pressed_ = std::move(pressed);
  return true;
}

void FakeShortcuts::Unregister() {
  registered.reset();
  pressed_ = nullptr;
}

bool FakeShortcuts::Available(const rt::Shortcut& shortcut) {
  return std::find(heldByOthers.begin(), heldByOthers.end(), shortcut) == heldByOthers.end();
}

void FakeShortcuts::PressAt(double at, const rt::Shortcut& shortcut) {
  pump_.At(at, [this, shortcut] {
    if (registered == shortcut && pressed_) pressed_();
  });
}

void FakeBadge::ShowBeside(rt::ScreenPoint at) {
  visible = true;
  pointer = at;
  changes.push_back({clock_.Now(), true, at});
}

void FakeBadge::SetLook(rt::HeldButton held, double fill) {
  button = held;
  filled = fill;
  if (fill < 1.0) fills.push_back(fill);
}

void FakeBadge::Hide() {
  if (visible) changes.push_back({clock_.Now(), false, pointer});
  visible = false;
}

}  // namespace fake
