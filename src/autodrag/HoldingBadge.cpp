#include "autodrag/HoldingBadge.h"

void HoldingBadge::SetEnabled(bool enabled) {
  enabled_ = enabled;
  if (!enabled_) badge_.Hide();
}

void HoldingBadge::HoldStarted(rt::ScreenPoint pointer) {
  holding_ = true;
  if (enabled_) badge_.ShowBeside(pointer);
}

void HoldingBadge::PointerMoved(rt::ScreenPoint pointer) {
  if (holding_ && enabled_) badge_.ShowBeside(pointer);
}

void HoldingBadge::HoldEnded() {
  holding_ = false;
  badge_.Hide();
}
