#include "autodrag/HoldingBadge.h"

void HoldingBadge::SetEnabled(bool enabled) {
  enabled_ = enabled;
  if (!enabled_) badge_.Hide();
}

// The mouse module tells of moves only between the start and the end of a hold.
void HoldingBadge::HoldStarted(rt::ScreenPoint pointer, rt::HeldButton button) {
  badge_.SetLook(button, 1.0);
  PointerMoved(pointer);
}

void HoldingBadge::Filling(rt::ScreenPoint pointer, rt::HeldButton button, double fraction) {
  badge_.SetLook(button, fraction);
  PointerMoved(pointer);
}

void HoldingBadge::PointerMoved(rt::ScreenPoint pointer) {
  if (enabled_) badge_.ShowBeside(pointer);
}

void HoldingBadge::HoldEnded() { badge_.Hide(); }
