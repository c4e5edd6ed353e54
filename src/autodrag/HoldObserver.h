// Who wants to know, from the message loop and never from inside the hook, while the left
// button is held for the user and where the pointer goes meanwhile.
#pragma once
#include "runtime/MouseInput.h"

class HoldObserver {
 public:
  virtual void HoldStarted(rt::ScreenPoint pointer) = 0;
  virtual void PointerMoved(rt::ScreenPoint pointer) = 0;
  virtual void HoldEnded() = 0;

 protected:
  ~HoldObserver() = default;
};
