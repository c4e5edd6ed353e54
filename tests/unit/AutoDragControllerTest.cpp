// One Start gives one drag: the controller on the fakes, driven by user input scheduled
// on the virtual clock.
#include <gtest/gtest.h>

#include "unit/ProgramFixture.h"

namespace {

constexpr std::uint32_t kLDown = 0x0201, kLUp = 0x0202, kMove = 0x0200;
constexpr double kAfterBalloon = 10.0;  // well past the first minimise's balloon wait

class AutoDragTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    ShowWindow();
  }

  std::vector<fake::InjectedMouseEvent> Injected(std::uint32_t message) const {
    std::vector<fake::InjectedMouseEvent> result;
    for (const auto& i : fakes.mouse.injections)
      if (i.message == message) result.push_back(i);
    return result;
  }
  // What applications saw, one word an event: D/U/M for press, release and move, at its
  // point, with a * when we injected it.
  std::string Story(double from = 0) const {
    std::string story;
    for (const auto& e : fakes.mouse.delivered) {
      if (e.at < from) continue;
      const char* kind = e.message == kLDown ? "D" : e.message == kLUp ? "U" : e.message == kMove ? "M" : "?";
      if (!story.empty()) story += ' ';
      story += kind + std::to_string(e.point.x) + "," + std::to_string(e.point.y) +
               (e.extraInfo == modMouse::kInjectedTag ? "*" : "");
    }
    return story;
  }
  void ExpectOff() {
    EXPECT_EQ(form.PushButton2.Caption(), L"Start Autodrag");
    EXPECT_EQ(form.Label1.Caption(), L"Auto-drag is off.");
    EXPECT_TRUE(form.Me.Visible());
    EXPECT_FALSE(program.State().HiddenInTray);
    EXPECT_FALSE(fakes.mouse.HookInstalled());
  }
};

TEST_F(AutoDragTest, StartHidesTheWindowAndWaitsWithTheHookInstalled) {
  ClickStartStopAt(0);
  fakes.pump.At(kAfterBalloon, [&] {
    EXPECT_EQ(form.PushButton2.Caption(), L"Stop Autodrag");
    EXPECT_EQ(form.Label1.Caption(), L"Auto-drag is on.");
    EXPECT_FALSE(form.Me.Visible());
    EXPECT_TRUE(program.State().HiddenInTray);
    EXPECT_TRUE(fakes.mouse.HookInstalled());
    form.PushButton2.RaiseClick();  // stop, so the loop ends
  });
  fakes.pump.RunUntil(kAfterBalloon + 1);
  ExpectOff();
}

// A hasty user: the pointer sets off at once after each click. Applications must still
// see the pick-up at the click point, the drag with the button held, one drop exactly
// where the second click was, and nothing of the drop click's press. With a mouse, which
// reports moves, and a pen, which reports places; the second run of each is on a monitor
// left of and above the primary one.
TEST_F(AutoDragTest, AHastyDragPicksUpAndDropsExactlyAtTheClickPoints) {
  for (const int run : {0, 1, 2, 3}) {
    const int dx = run % 2 == 0 ? 0 : -1900;
    fakes.mouse.reportsPlaces = run >= 2;
    const double t = fakes.clock.Now() + kAfterBalloon;
    const auto at = [dx](int x, int y) { return rt::ScreenPoint{x + dx, y - (dx != 0 ? 700 : 0)}; };
    const auto word = [&](const char* kind, int x, int y, bool ours) {
      const auto p = at(x, y);
      return kind + std::to_string(p.x) + "," + std::to_string(p.y) + (ours ? "*" : "");
    };
    ClickStartStopAt(t - kAfterBalloon);
    fakes.mouse.UserClickAt(t, at(100, 100));  // release at +0.1, held back until +0.6
    fakes.mouse.UserMoveAt(t + 0.13, at(140, 120));
    fakes.mouse.UserMoveAt(t + 0.15, at(180, 140));
    fakes.mouse.UserMoveAt(t + 1.0, at(300, 200));
    fakes.mouse.UserClickAt(t + 2.0, at(300, 200));  // the drop
    fakes.mouse.UserMoveAt(t + 2.13, at(340, 216));
    fakes.pump.RunUntil(t + 5);

    // A mouse moves there before it clicks; a pen is simply there.
    const std::string arrival = fakes.mouse.reportsPlaces ? "" : word("M", 100, 100, false) + " ";
    const std::string expected = arrival + word("D", 100, 100, false) + " " + word("U", 100, 100, true) + " " +
                                 word("D", 100, 100, true) + " " + word("M", 140, 120, true) + " " +
                                 word("M", 180, 140, true) + " " + word("M", 300, 200, false) + " " +
                                 word("U", 300, 200, false) + " " + word("M", 340, 216, false);
    EXPECT_EQ(Story(t), expected);
    const auto presses = fakes.mouse.DeliveredOf(kLDown);
    // Our press may not turn the pick-up click into a double-click.
    EXPECT_GE(presses.back().at - presses[presses.size() - 2].at, 0.5 + 0.05);
    EXPECT_LT(fakes.mouse.DeliveredOf(kLUp).back().at, t + 2.1 + 0.01) << "the drop waits for nothing";
    EXPECT_FALSE(fakes.mouse.LeftButtonDown());
    EXPECT_FALSE(form.Drag().ButtonHeld());
    EXPECT_EQ(mouse.ClickCount(), 0);
    ExpectOff();
  }
}

TEST_F(AutoDragTest, ASlowDoubleClickSettingHoldsThePickUpLonger) {
  fakes.mouse.doubleClickMs = 900;
  ClickStartStopAt(0);
  fakes.mouse.UserClickAt(kAfterBalloon, {50, 50});
  fakes.mouse.UserClickAt(kAfterBalloon + 3, {90, 90});
  fakes.pump.RunUntil(kAfterBalloon + 5);
  const auto releases = fakes.mouse.DeliveredOf(kLUp);
  const auto presses = fakes.mouse.DeliveredOf(kLDown);
  ASSERT_EQ(releases.size(), 2u);
  ASSERT_EQ(presses.size(), 2u);
  EXPECT_GE(releases[0].at, kAfterBalloon + 0.1 + 0.95);
  EXPECT_GE(presses[1].at, presses[0].at + 0.9 + 0.05);
  EXPECT_EQ(releases[1].point, (rt::ScreenPoint{90, 90}));
  ExpectOff();
}

// Stop, from the keyboard, at every moment of a drag: the button is up as soon as the
// stop has run, no press is made after it, and the next Start gives a whole drag.
struct StopMoment {
  const char* name;
  double at;  // the pick-up click is at 10.0-10.1, held to 10.6; the drop click at 12.0-12.1
};

class StopAtEveryMomentTest : public AutoDragTest, public ::testing::WithParamInterface<StopMoment> {};

TEST_P(StopAtEveryMomentTest, LeavesTheButtonUpAndTheNextStartWorks) {
  const double stopAt = GetParam().at;
  ClickStartStopAt(0);
  fakes.mouse.UserClickAt(10.0, {100, 100});
  fakes.mouse.UserMoveAt(10.2, {150, 150});
  fakes.mouse.UserClickAt(12.0, {200, 200});
  ClickStartStopAt(stopAt);
  std::size_t pressesByThen = 0;
  fakes.pump.At(stopAt + 0.001, [&] {
    EXPECT_FALSE(fakes.mouse.LeftButtonDown()) << "left down right after the stop";
    EXPECT_EQ(form.PushButton2.Caption(), L"Start Autodrag");
    pressesByThen = fakes.mouse.InjectedOf(kLDown).size();
  });
  fakes.pump.RunUntil(15);
  EXPECT_EQ(fakes.mouse.InjectedOf(kLDown).size(), pressesByThen) << "a press after the stop";
  EXPECT_FALSE(fakes.mouse.LeftButtonDown());
  EXPECT_FALSE(form.Drag().ButtonHeld());
  ExpectOff();

  const auto pressesBefore = fakes.mouse.InjectedOf(kLDown).size();
  ClickStartStopAt(20);
  fakes.mouse.UserClickAt(22, {10, 10});
  fakes.mouse.UserClickAt(24, {20, 20});
  fakes.pump.RunUntil(26);
  EXPECT_EQ(fakes.mouse.InjectedOf(kLDown).size(), pressesBefore + 1);
  EXPECT_EQ(fakes.mouse.DeliveredOf(kLUp).back().point, (rt::ScreenPoint{20, 20}));
  EXPECT_FALSE(fakes.mouse.LeftButtonDown());
  ExpectOff();
}

INSTANTIATE_TEST_SUITE_P(AutoDrag, StopAtEveryMomentTest,
                         ::testing::Values(StopMoment{"BeforeThePickUp", 9.0}, StopMoment{"DuringTheHold", 10.3},
                                           StopMoment{"WhileHolding", 11.0}, StopMoment{"DuringTheDrop", 12.05}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(AutoDragTest, TwoClicksBeforeTheLoopLooksPassOnAsTheUsersOwnAndEndAutoDrag) {
  ClickStartStopAt(0);
  fakes.mouse.UserClickAt(kAfterBalloon, {30, 30}, 0.05);
  fakes.mouse.UserClickAt(kAfterBalloon + 0.2, {30, 30}, 0.05);  // inside the first hold
  fakes.pump.RunUntil(kAfterBalloon + 5);
  // The user's own double-click, put back as it came, and no press of ours after it.
  EXPECT_EQ(Story(), "M30,30 D30,30 U30,30* D30,30* U30,30*");
  EXPECT_FALSE(fakes.mouse.LeftButtonDown());
  ExpectOff();
}

// Windows drops what we inject into a window of a program that runs as administrator; a
// release we held back could never reach it.
TEST_F(AutoDragTest, AClickInAWindowOutOfReachGoesThroughAndEndsAutoDragWithOneMessage) {
  fakes.mouse.outOfReach = [](rt::ScreenPoint p) { return p.x >= 500; };
  ClickStartStopAt(0);
  fakes.mouse.UserClickAt(kAfterBalloon, {600, 100});
  fakes.mouse.UserClickAt(kAfterBalloon + 2, {700, 100});
  fakes.pump.RunUntil(kAfterBalloon + 5);
  EXPECT_EQ(Story(), "M600,100 D600,100 U600,100 M700,100 D700,100 U700,100") << "both clicks untouched";
  EXPECT_LT(fakes.mouse.DeliveredOf(kLUp)[0].at, kAfterBalloon + 0.11);
  EXPECT_TRUE(fakes.mouse.injections.empty());
  ASSERT_EQ(fakes.dialogs.shown.size(), 1u);
  EXPECT_NE(fakes.dialogs.shown[0].text.find(L"run as administrator"), std::wstring::npos);
  EXPECT_EQ(fakes.dialogs.shown[0].title, program.State().AppTitle);
  ExpectOff();
}

TEST_F(AutoDragTest, ARefusedInjectionEndsAutoDragLetsGoAndSaysSo) {
  ClickStartStopAt(0);
  fakes.pump.At(kAfterBalloon - 1, [&] { fakes.mouse.refuseNextInjection = true; });
  fakes.mouse.UserClickAt(kAfterBalloon, {40, 40});  // its release cannot be put back
  fakes.pump.RunUntil(kAfterBalloon + 5);
  EXPECT_TRUE(fakes.mouse.InjectedOf(kLDown).empty()) << "no press after trouble";
  EXPECT_FALSE(fakes.mouse.LeftButtonDown()) << "the owed release was tried again on the way out";
  ASSERT_EQ(fakes.dialogs.shown.size(), 1u);
  EXPECT_NE(fakes.dialogs.shown[0].text.find(L"did not let Vornatic"), std::wstring::npos);
  ExpectOff();
}

TEST_F(AutoDragTest, AStaleCountFromAStoppedDragDoesNotPressAtTheNextStart) {
  ClickStartStopAt(0);
  fakes.mouse.UserClickAt(kAfterBalloon);
  ClickStartStopAt(kAfterBalloon + 2);  // picked up, then stopped: one release still counted
  fakes.pump.RunUntil(kAfterBalloon + 5);
  ExpectOff();
  ASSERT_EQ(mouse.ClickCount(), 1);

  const auto injectedBefore = fakes.mouse.injections.size();
  ClickStartStopAt(20);
  ClickStartStopAt(25);
  fakes.pump.RunUntil(26);
  EXPECT_EQ(fakes.mouse.injections.size(), injectedBefore);
  EXPECT_EQ(mouse.ClickCount(), 0);
  ExpectOff();
}

TEST_F(AutoDragTest, AFailedHookInstallSaysSoAndEndsAutoDrag) {
  fakes.mouse.failNextHook = true;
  ClickStartStopAt(0);
  fakes.pump.RunUntil(kAfterBalloon);
  ASSERT_EQ(fakes.dialogs.shown.size(), 1u);
  EXPECT_NE(fakes.dialogs.shown[0].text.find(L"could not start"), std::wstring::npos);
  EXPECT_EQ(fakes.dialogs.shown[0].title, program.State().AppTitle);
  EXPECT_TRUE(fakes.mouse.injections.empty());
  ExpectOff();
}

TEST_F(AutoDragTest, WaitingCostsNoPassesOfTheLoop) {
  ClickStartStopAt(0);
  ClickStartStopAt(3600);  // an hour of waiting
  fakes.pump.RunUntil(3601);
  EXPECT_LT(fakes.pump.Pumps(), 100);
  ExpectOff();
}

TEST_F(AutoDragTest, AFailingPressIsReportedAtItsStatementAndEndsAutoDragWithTheButtonUp) {
  ClickStartStopAt(0);
  fakes.mouse.UserClickAt(kAfterBalloon, {10, 10});
  fakes.mouse.UserClickAt(kAfterBalloon + 2, {20, 20});
  fakes.mouse.throwOnNextPress = true;
  fakes.pump.RunUntil(kAfterBalloon + 5);

  ASSERT_EQ(fakes.dialogs.shown.size(), 2u);
  EXPECT_EQ(fakes.dialogs.shown[0].title, L"Application Error");
  EXPECT_EQ(fakes.dialogs.shown[0].text,
            L"Injection refused\r\nin Vornix2021/08/31.Form1.PushButton2_Click at line 122\r\r"
            L"Please email screenshot of this message to support@kestrova.example");
  EXPECT_NE(fakes.dialogs.shown[1].text.find(L"did not let Vornatic"), std::wstring::npos);
  EXPECT_TRUE(fakes.mouse.InjectedOf(kLDown).empty());
  EXPECT_FALSE(fakes.mouse.LeftButtonDown());
  ExpectOff();
}

TEST_F(AutoDragTest, AStopClickDuringTheBalloonWaitIsUndoneAndAutoDragRuns) {
  ClickStartStopAt(0);
  fakes.pump.At(1.0, [&] {  // the user brings the window back from the tray and clicks Stop
    std::int16_t button = 1;
    std::int32_t id = 0;
    form.cSysTray1_MouseUp(button, id);
    form.PushButton2.RaiseClick();
  });
  fakes.mouse.UserClickAt(kAfterBalloon);
  fakes.pump.At(kAfterBalloon + 2, [&] {
    EXPECT_TRUE(fakes.mouse.HookInstalled());
    EXPECT_TRUE(form.Drag().ButtonHeld());
    EXPECT_EQ(form.PushButton2.Caption(), L"Stop Autodrag");
  });
  fakes.mouse.UserClickAt(kAfterBalloon + 4);
  fakes.pump.RunUntil(kAfterBalloon + 6);
  EXPECT_EQ(Injected(rt::msg::kLButtonDown).size(), 1u);
  ExpectOff();
}

TEST_F(AutoDragTest, PointerShowsTheHandOverButtonsAndTheArrowElsewhereButKeepsTheHourglass) {
  rt::MouseMoveArgs move;
  form.PushButton2.RaiseMouseMove(move);
  EXPECT_EQ(form.Me.MousePointer(), rt::pointer::kCustom);
  form.Frame1.MouseMove.Raise(move);
  EXPECT_EQ(form.Me.MousePointer(), rt::pointer::kDefault);
  form.PushButton1.RaiseMouseMove(move);
  EXPECT_EQ(form.Me.MousePointer(), rt::pointer::kCustom);
  form.Me.MouseMove.Raise(move);
  EXPECT_EQ(form.Me.MousePointer(), rt::pointer::kDefault);

  form.Me.SetMousePointer(rt::pointer::kHourglass);
  form.PushButton1.RaiseMouseMove(move);
  form.Frame2.MouseMove.Raise(move);
  form.Me.MouseMove.Raise(move);
  EXPECT_EQ(form.Me.MousePointer(), rt::pointer::kHourglass);
}

}  // namespace
