#include "settingswindow/TryIt.h"

#include <chrono>
#include <string>

#include "settingswindow/SettingsTexts.h"

namespace {

// The badge starts filling at half the hold time, in tenths, as it does for a real latch.
constexpr int kFirstTenth = 5;
constexpr int kTenths = 10;

rt::HeldButton ButtonOf(int button) {
  return button == 2 ? rt::HeldButton::Secondary : button == 4 ? rt::HeldButton::Middle : rt::HeldButton::Primary;
}

}  // namespace

TryIt::TryIt(rt::PressArea& area, rt::EventPump& pump, rt::PointerBadge& badge, const rt::Texts& texts,
             std::function<int()> holdMs)
    : area_(area), pump_(pump), badge_(badge), texts_(texts), holdMs_(std::move(holdMs)) {
  area_.Pressed.Handle([this](rt::PressArgs press) { Pressed(press); });
  area_.Released.Handle([this](rt::PressArgs release) { Released(release); });
}

void TryIt::Reset() {
  if (down_) badge_.Hide();
  down_ = false;
  ++number_;
  area_.SetCaption(texts_(settings_text::kTryItHere));
}

void TryIt::Pressed(const rt::PressArgs& press) {
  if (down_) return;  // a second button while the first is held: the first is being tried
  down_ = true;
  latched_ = false;
  press_ = press;
  const std::uint64_t number = ++number_;
  area_.SetCaption(texts_(settings_text::kTryItHere));
  std::weak_ptr<TryIt*> alive = self_;
  const int hold = holdMs_();
  heldFor_ = hold;
  for (int tenths = kFirstTenth; tenths <= kTenths; ++tenths)
    pump_.PostAfter(std::chrono::milliseconds(hold * tenths / kTenths), [alive, number, tenths] {
      if (const auto self = alive.lock()) (*self)->Fill(number, tenths);
    });
}

void TryIt::Fill(std::uint64_t number, int tenths) {
  if (!down_ || number != number_) return;
  badge_.SetLook(ButtonOf(press_.button), static_cast<double>(tenths) / kTenths);
  badge_.ShowBeside(press_.at);
  if (tenths == kTenths) {
    latched_ = true;
    area_.SetCaption(texts_(settings_text::kLatched));
  }
}

void TryIt::Released(const rt::PressArgs& release) {
  if (!down_ || release.button != press_.button) return;
  down_ = false;
  ++number_;
  badge_.Hide();
  // The tick count may wrap between the two: the difference still comes out right.
  const std::uint32_t held = release.time - press_.time;
  // By the events' own times, as the latch decides: a timer may run late, a press may not.
  if (latched_ || held >= static_cast<std::uint32_t>(heldFor_)) {
    area_.SetCaption(texts_(settings_text::kLatched));
    return;
  }
  area_.SetCaption(texts_.Format(settings_text::kReleasedEarly, {{L"ms", texts_.Integer(held)}}));
}
