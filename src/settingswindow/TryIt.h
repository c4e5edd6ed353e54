// The "Try it here" area of the Settings window: a press held still in it fills the badge
// beside the pointer as a latch would, with the hold time the slider shows now, and the
// area then says whether it would have latched, so the user can find a hold time that
// suits their hand before applying it.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>

#include "runtime/EventPump.h"
#include "runtime/PointerBadge.h"
#include "runtime/Texts.h"
#include "runtime/controls/Controls.h"

class TryIt {
 public:
  TryIt(rt::PressArea& area, rt::EventPump& pump, rt::PointerBadge& badge, const rt::Texts& texts,
        std::function<int()> holdMs);
  TryIt(const TryIt&) = delete;
  TryIt& operator=(const TryIt&) = delete;

  // Back to the first words, the badge away (the window closes or opens again).
  void Reset();

 private:
  void Pressed(const rt::PressArgs& press);
  void Released(const rt::PressArgs& release);
  void Fill(std::uint64_t number, int tenths);

  rt::PressArea& area_;
  rt::EventPump& pump_;
  rt::PointerBadge& badge_;
  const rt::Texts& texts_;
  std::function<int()> holdMs_;
  // The press being tried; its number tells a late timer of an earlier press to do nothing.
  bool down_ = false;
  bool latched_ = false;
  std::uint64_t number_ = 0;
  rt::PressArgs press_;
  int heldFor_ = 0;
  // Timers still queued when the window goes hold this weakly.
  std::shared_ptr<TryIt*> self_ = std::make_shared<TryIt*>(this);
};
