// Between the mouse module and the holding badge: tells the badge everything, and says
// when a hold has ended, which is when settings changed during it take effect.
#pragma once
#include <functional>

#include "autodrag/HoldObserver.h"

class HoldEndWatch final : public HoldObserver {
 public:
  HoldEndWatch(HoldObserver& badge, std::function<void()> ended) : badge_(badge), ended_(std::move(ended)) {}

  void HoldStarted(rt::ScreenPoint pointer, rt::HeldButton button) override { badge_.HoldStarted(pointer, button); }
  void PointerMoved(rt::ScreenPoint pointer) override { badge_.PointerMoved(pointer); }
  void Filling(rt::ScreenPoint pointer, rt::HeldButton button, double fraction) override {
    badge_.Filling(pointer, button, fraction);
  }
  void HoldEnded() override {
    badge_.HoldEnded();
    if (ended_) ended_();
  }

 private:
  HoldObserver& badge_;
  std::function<void()> ended_;
};
