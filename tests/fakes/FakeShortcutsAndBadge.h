// The desktop's shortcut table, with shortcuts other programs already hold, and the
// pointer badge, which keeps a log of when it showed and where.
#pragma once
#include <functional>
#include <optional>
#include <vector>

#include "fakes/VirtualTime.h"
#include "runtime/GlobalShortcuts.h"
#include "runtime/PointerBadge.h"

namespace fake {

class FakeShortcuts : public rt::GlobalShortcuts {
 public:
  explicit FakeShortcuts(FakePump& pump) : pump_(pump) {}
  bool Register(const rt::Shortcut& shortcut, std::function<void()> pressed) override;
  void Unregister() override;
  bool Available(const rt::Shortcut& shortcut) override;

  // Test side: the user presses the shortcut at a virtual time; it reaches us only while
  // we hold it, as WM_HOTKEY does.
  void PressAt(double at, const rt::Shortcut& shortcut);

  std::vector<rt::Shortcut> heldByOthers;
  std::optional<rt::Shortcut> registered;
  int registrations = 0;

 private:
  FakePump& pump_;
  std::function<void()> pressed_;
};

class FakeBadge : public rt::PointerBadge {
 public:
  explicit FakeBadge(VirtualClock& clock) : clock_(clock) {}
  void ShowBeside(rt::ScreenPoint pointer) override;
  void Hide() override;
  void SetLook(rt::HeldButton button, double filled) override;
  void SetLetters(const std::wstring& left, const std::wstring& right, const std::wstring& middle,
                  const rt::Font&) override {
    letters = {left, right, middle};
  }

  struct Change {
    double at;
    bool visible;
    rt::ScreenPoint pointer;
  };
  bool visible = false;
  rt::ScreenPoint pointer;
  std::vector<Change> changes;
  rt::HeldButton button = rt::HeldButton::Primary;
  double filled = 1.0;
  // Every fill shown on the way to a latch, in order.
  std::vector<double> fills;
  std::vector<std::wstring> letters{L"L", L"R", L"M"};

 private:
  VirtualClock& clock_;
};

}  // namespace fake
