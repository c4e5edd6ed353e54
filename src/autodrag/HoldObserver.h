// Who wants to know, from the message loop and never from inside the hook, while a button
// is held for the user, where the pointer goes meanwhile, and how a press held still fills
// towards the latch.
#pragma once
#include "runtime/PointerBadge.h"

class HoldObserver {
 public:
  virtual void HoldStarted(rt::ScreenPoint pointer, rt::HeldButton button) = 0;
  virtual void PointerMoved(rt::ScreenPoint pointer) = 0;
  // A press held still has gone the fraction of the way to the latch; HoldStarted or
  // HoldEnded follows.
  virtual void Filling(rt::ScreenPoint pointer, rt::HeldButton button, double fraction) = 0;
  virtual void HoldEnded() = 0;

 protected:
  ~HoldObserver() = default;
};
