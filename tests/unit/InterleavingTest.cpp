// Many random interleavings of what a user and Windows do (presses and releases of three
// buttons, moves, the shortcut, Start and Stop, the latch turned on and off, a lock and the
// return, the hook taken away) against an invariant checked after every step: no release
// reaches applications without its press, and a button applications see down is one the
// user holds, one the program says it holds, or a put-back owed while the screen is locked.
// At the end of each run, after a Stop, applications see exactly what the user holds.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <random>
#include <sstream>
#include <string>

#include "unit/ProgramFixture.h"

namespace {

constexpr std::array<std::uint32_t, 3> kDown{0x0201, 0x0204, 0x0207};
constexpr std::array<std::uint32_t, 3> kUp{0x0202, 0x0205, 0x0208};
const rt::Shortcut kWinShiftD{true, false, false, true, 'D'};
constexpr rt::ScreenRect kOwnWindow{300, 300, 840, 520};

class InterleavingTest : public ProgramTest {
 protected:
  // Applications' view of one button, from the log; a release while up is a violation.
  std::string Judge(std::size_t button, const std::array<bool, 3>& userHolds, bool locked) {
    bool down = false;
    for (const auto& e : fakes.mouse.delivered) {
      if (e.message == kDown[button]) down = true;
      if (e.message == kUp[button]) {
        if (!down) return "a release without its press";
        down = false;
      }
    }
    const bool programHolds = mouse.HoldingButton();
    if (down && !userHolds[button] && !programHolds && !locked) return "left down";
    return {};
  }
};

TEST_F(InterleavingTest, NoButtonIsLeftDownAndNoReleaseArrivesWithoutItsPress) {
  constexpr int kRuns = 300;
  constexpr int kSteps = 40;
  int violations = 0;
  int checks = 0;
  std::string first;
  std::mt19937 draw(20261207);
  const auto below = [&](int n) { return static_cast<int>(draw() % static_cast<std::uint32_t>(n)); };
  // Every step of a run is planned first and the checks run between them as the pump
  // reaches them: a Start's loop pumps inside its click, so a run must be one schedule.
  const auto check = [&](double at, int run, std::array<bool, 3> holds, bool locked, std::string steps) {
    fakes.pump.At(at, [&, run, holds, locked, steps] {
      ++checks;
      for (std::size_t b = 0; b < 3 && violations == 0; ++b) {
        const std::string fault = Judge(b, holds, locked);
        if (fault.empty()) continue;
        ++violations;
        first = "run " + std::to_string(run) + ", button " + std::to_string(b) + ": " + fault + " after" + steps +
                "\n  seen: " + fakes.mouse.Seen();
      }
    });
  };

  fakes.mouse.ownWindow = kOwnWindow;
  ShowWindow();
  double t = 1;
  for (int run = 0; run < kRuns; ++run) {
    std::array<bool, 3> holds{};
    bool locked = false;
    std::string steps;
    for (int step = 0; step < kSteps; ++step) {
      t += 0.05 + below(700) / 1000.0;
      const rt::ScreenPoint at{below(1000), below(700)};
      const int what = below(20);
      const std::size_t button = static_cast<std::size_t>(below(3));
      if (locked) {
        // Away: nothing reaches this desktop until the return.
        fakes.UnlockScreenAt(t);
        locked = false;
        steps += " unlock";
      } else if (what < 9) {
        fakes.mouse.UserEventAt(t, holds[button] ? kUp[button] : kDown[button], at);
        steps += (holds[button] ? " up" : " down") + std::to_string(button);
        holds[button] = !holds[button];
      } else if (what < 12) {
        fakes.mouse.UserMoveAt(t, at);
      } else if (what == 12) {
        fakes.shortcuts.PressAt(t, kWinShiftD);
        steps += " shortcut";
      } else if (what == 13) {
        ClickStartStopAt(t);
        steps += " start/stop";
      } else if (what == 14 && holds == std::array<bool, 3>{}) {
        fakes.LockScreenAt(t);
        locked = true;
        steps += " lock";
      } else if (what == 15 && holds == std::array<bool, 3>{}) {
        fakes.mouse.TakeHooksAwayAt(t);
        steps += " hook-lost";
      } else if (what == 16) {
        const bool on = below(2) == 0;
        fakes.pump.At(t, [this, on, right = below(2) == 0, middle = below(2) == 0] {
          mouse.SetLatch(on ? modMouse::Latch{std::chrono::milliseconds(300), right, middle} : modMouse::Latch{});
        });
        steps += on ? " latch-on" : " latch-off";
      } else if (!holds[0]) {
        fakes.mouse.UserClickAt(t, {400, 400}, 0.05);  // our own window
        t += 0.05;
        steps += " own-click";
      }
      if (std::getenv("VORNATIC_TRACE")) steps += "@" + std::to_string(t);
      check(t + 0.01, run, holds, locked, steps);
    }
    // The user lets go of everything, comes back, and stops whatever runs.
    for (std::size_t b = 0; b < 3; ++b)
      if (holds[b]) fakes.mouse.UserEventAt(t += 0.1, kUp[b], rt::ScreenPoint{10, 10});
    if (locked) fakes.UnlockScreenAt(t += 0.1);
    fakes.pump.At(t += 0.1, [this] {
      mouse.SetLatch({});
      if (form.Drag().IsOn() || mouse.LatchedHold()) form.PushButton2.RaiseClick();
    });
    fakes.pump.At(t += 1.5, [&, run, steps] {
      ++checks;
      for (std::size_t b = 0; b < 3 && violations == 0; ++b) {
        std::string fault = Judge(b, {}, false);
        if (fault.empty() && fakes.mouse.DownForApplications(kDown[b], kUp[b])) fault = "down at the end";
        if (fault.empty()) continue;
        ++violations;
        first = "run " + std::to_string(run) + ", button " + std::to_string(b) + ": " + fault + " after" + steps;
      }
    });
    t += 0.5;
    // Nothing runs between runs, so each is pumped on its own and the queue stays short.
    fakes.pump.RunUntil(t);
  }
  EXPECT_EQ(checks, kRuns * (kSteps + 1)) << "every check ran";
  EXPECT_EQ(violations, 0) << first;
  EXPECT_EQ(fakes.mouse.keptDown, 0);
}

}  // namespace
