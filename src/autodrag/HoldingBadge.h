// The badge beside the pointer for as long as we hold a button, and while a press fills
// towards the latch: forgetting that a button is locked down is what people get wrong
// most with a locked click.
#pragma once
#include "autodrag/HoldObserver.h"
#include "runtime/PointerBadge.h"

class HoldingBadge final : public HoldObserver {
 public:
  explicit HoldingBadge(rt::PointerBadge& badge) : badge_(badge) {}

  // The user's choice ("Indicator"); turned off, the badge goes at once.
  void SetEnabled(bool enabled);
  bool Enabled() const { return enabled_; }

  void HoldStarted(rt::ScreenPoint pointer, rt::HeldButton button) override;
  void PointerMoved(rt::ScreenPoint pointer) override;
  void Filling(rt::ScreenPoint pointer, rt::HeldButton button, double fraction) override;
  void HoldEnded() override;

 private:
  rt::PointerBadge& badge_;
  bool enabled_ = true;
};
