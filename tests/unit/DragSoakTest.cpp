// A thousand drags in a row on the fakes, with Windows' patience for a low-level hook
// modelled: every drag is the user's press, their moves and one release at the drop, a
// give-up puts the item back, the button is never left down, and the hook never keeps the
// desktop waiting.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "unit/ProgramFixture.h"

namespace {

constexpr std::uint32_t kLDown = 0x0201, kLUp = 0x0202, kMove = 0x0200;

// Deterministic draws whatever the standard library: mt19937's output is fixed by the
// standard, the distributions are not.
class Draws {
 public:
  explicit Draws(std::uint32_t seed) : engine_(seed) {}
  double Between(double low, double high) { return low + (high - low) * (engine_() / 4294967296.0); }
  int Below(int count) { return static_cast<int>(engine_() % static_cast<std::uint32_t>(count)); }
  rt::ScreenPoint Point() { return {Below(1920), Below(1080)}; }

 private:
  std::mt19937 engine_;
};

// One drag as the user makes it.
struct PlannedDrag {
  rt::ScreenPoint pickUp, drop;
  double pressAt = 0, pickUpReleaseAt = 0, dropPressAt = 0, dropReleaseAt = 0;
  std::vector<rt::ScreenPoint> moves;  // in order: to the item, with it, after the drop
  bool givesUp = false;                // Stop by the shortcut instead of the drop click
  std::string kind;
};

class DragSoakTest : public ProgramTest {
 protected:
  // Ten minutes before midnight: the run passes over it, and nothing may notice.
  DragSoakTest() : ProgramTest(86400.0 - 600.0) {}
  void SetUp() override {
    ProgramTest::SetUp();
    fakes.mouse.hookTimeouts = fake::FakeMouse::HookTimeoutModel{};
    ShowWindow();
  }

  // Schedules a drag after Start; the moves keep to the order they are listed in.
  PlannedDrag Plan(Draws& draw, double startAt) {
    PlannedDrag d;
    d.pickUp = draw.Point();
    d.drop = draw.Point();
    d.pressAt = startAt + draw.Between(0.05, 1.5);
    d.pickUpReleaseAt = d.pressAt + draw.Between(0.02, 0.25);
    double t = d.pickUpReleaseAt;
    const auto moveTo = [&](double at, rt::ScreenPoint point) {
      d.moves.push_back(point);
      fakes.mouse.UserMoveAt(at, point);
    };
    moveTo(d.pressAt - 0.01, d.pickUp);
    const bool quick = draw.Below(3) == 0;
    d.dropPressAt = t + (quick ? draw.Between(0.03, 0.3) : draw.Between(1.0, 6.0));
    for (int i = draw.Below(6); i > 0 && t + 0.002 < d.dropPressAt - 0.01; --i) {
      t = draw.Between(t + 0.001, d.dropPressAt - 0.01);
      moveTo(t, draw.Point());
    }
    moveTo(d.dropPressAt - 0.005, d.drop);
    d.dropReleaseAt = d.dropPressAt + draw.Between(0.02, 0.25);
    d.givesUp = draw.Below(5) == 0;
    fakes.mouse.UserEventAt(d.pressAt, kLDown, d.pickUp);
    fakes.mouse.UserEventAt(d.pickUpReleaseAt, kLUp, d.pickUp);
    if (d.givesUp) {
      fakes.pump.At(d.dropPressAt, [this] { form.StartStopShortcut_Pressed(); });
    } else {
      fakes.mouse.UserEventAt(d.dropPressAt, kLDown, d.drop);
      fakes.mouse.UserEventAt(d.dropReleaseAt, kLUp, d.drop);
      if (draw.Below(2) == 0) moveTo(d.dropReleaseAt + draw.Between(0.005, 0.05), draw.Point());
    }
    d.kind = std::string(quick ? "quick" : "slow") + (d.givesUp ? ", given up" : ", dropped");
    return d;
  }

  // What went wrong in one drag, judged from what applications saw since `from` (an
  // index into the delivered events); empty when nothing did.
  std::string Judge(const PlannedDrag& d, std::size_t from) {
    std::ostringstream fault;
    std::vector<fake::DeliveredMouseEvent> buttons;
    std::vector<rt::ScreenPoint> moves;
    for (std::size_t i = from; i < fakes.mouse.delivered.size(); ++i) {
      const auto& e = fakes.mouse.delivered[i];
      if (e.message != kMove) buttons.push_back(e);
      else if (e.extraInfo == 0) moves.push_back(e.point);
    }
    const auto is = [](const fake::DeliveredMouseEvent& e, std::uint32_t message, rt::ScreenPoint at, bool ours) {
      return e.message == message && e.point == at && (e.extraInfo == modMouse::kInjectedTag) == ours;
    };
    // The user's press, then their own release at the drop, or ours back at the pick-up.
    const bool released = d.givesUp ? buttons.size() == 2 && is(buttons[1], kLUp, d.pickUp, true)
                                    : buttons.size() == 2 && is(buttons[1], kLUp, d.drop, false);
    if (!released || !is(buttons[0], kLDown, d.pickUp, false))
      fault << "buttons seen: " << buttons.size() << " events, not the press and the one release; ";
    if (moves != d.moves) {
      fault << "moves: " << moves.size() << " seen of " << d.moves.size() << ", or out of order:";
      for (const auto& m : moves) fault << " " << m.x << "," << m.y;
      fault << " planned";
      for (const auto& m : d.moves) fault << " " << m.x << "," << m.y;
      fault << "; ";
    }
    if (d.givesUp && !(fakes.mouse.pointer == d.drop)) fault << "the pointer did not come back to the user; ";
    if (fakes.mouse.LeftButtonDown()) fault << "the left button is left down; ";
    if (form.PushButton2.Caption() != L"Start Autodrag" || form.Drag().ButtonHeld() || fakes.mouse.HookInstalled())
      fault << "auto-drag did not end; ";
    return fault.str();
  }
};

TEST_F(DragSoakTest, TheModelPassesOverAHookThatKeepsTheDesktopWaitingAndThenRemovesIt) {
  fakes.mouse.hookTimeouts->limitSeconds = 0.05;
  // A hook that waits, on its own thread, for something that takes longer than the limit.
  const rt::HookHandle handle = fakes.mouse.SetLowLevelHook([&](int, std::uintptr_t, const rt::LowLevelMouseEvent&) {
    std::this_thread::sleep_for(std::chrono::milliseconds(120));
    return std::intptr_t{1};
  });
  for (int i = 0; i < 10; ++i) fakes.mouse.UserEventAt(1.0 + i, kMove, rt::ScreenPoint{i, i});
  fakes.pump.RunUntil(20);

  ASSERT_EQ(fakes.mouse.timedOut.size(), 10u);
  EXPECT_GE(fakes.mouse.timedOut[0].waitedSeconds, 0.05);
  EXPECT_EQ(fakes.mouse.DeliveredOf(kMove).size(), 10u) << "a hook that timed out still swallowed its event";
  EXPECT_FALSE(fakes.mouse.HookInstalled());
  EXPECT_EQ(fakes.mouse.hooksRemovedForTimeouts, 1);
  EXPECT_FALSE(fakes.mouse.Unhook(handle));

  // A hook that answers at once is never passed over, and what it swallows stays swallowed.
  fakes.mouse.SetLowLevelHook([](int, std::uintptr_t, const rt::LowLevelMouseEvent&) { return std::intptr_t{1}; });
  fakes.mouse.UserEventAt(30, kMove, rt::ScreenPoint{1, 1});
  fakes.pump.RunUntil(31);
  EXPECT_EQ(fakes.mouse.timedOut.size(), 10u);
  EXPECT_EQ(fakes.mouse.DeliveredOf(kMove).size(), 10u);
}

TEST_F(DragSoakTest, AThousandDragsInARowMissNothingAndNeverKeepTheHookWaiting) {
  Draws draw(20240611);
  int faulty = 0;
  std::string firstFault;
  double startAt = 0;
  for (int drag = 0; drag < 1000; ++drag) {
    ClickStartStopAt(startAt);
    const PlannedDrag d = Plan(draw, startAt);
    const std::size_t from = fakes.mouse.delivered.size();
    fakes.pump.RunUntil(d.dropReleaseAt + 0.5);
    const std::string fault = Judge(d, from);
    if (!fault.empty() && faulty++ == 0) firstFault = "drag " + std::to_string(drag) + " (" + d.kind + "): " + fault;
    startAt = fakes.clock.Now() + draw.Between(0.05, 2.0);
  }
  EXPECT_EQ(faulty, 0) << firstFault;
  EXPECT_TRUE(fakes.mouse.timedOut.empty()) << fakes.mouse.timedOut.size() << " hook calls kept the desktop waiting";
  EXPECT_EQ(fakes.mouse.hooksRemovedForTimeouts, 0);
  EXPECT_LT(fakes.clock.TimeOfDay(), 86400.0f - 600.0f) << "the run did not pass midnight";
}

}  // namespace
