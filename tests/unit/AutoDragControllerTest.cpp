// One Start gives one drag: the controller on the fakes, driven by user input scheduled
// on the virtual clock.
#include <gtest/gtest.h>

#include "unit/ProgramFixture.h"

namespace {

constexpr std::uint32_t kLDown = 0x0201, kLUp = 0x0202;
constexpr double kAfterBalloon = 10.0;  // well past the first minimise's balloon wait

class AutoDragTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    ShowWindow();
  }

  std::vector<fake::InjectedButton> Injected(rt::LeftButtonAction action) const {
    std::vector<fake::InjectedButton> result;
    for (const auto& i : fakes.mouse.injections)
      if (i.action == action) result.push_back(i);
    return result;
  }
  void ExpectOff() {
    EXPECT_EQ(form.PushButton2.Caption(), L"Start Autodrag");
    EXPECT_EQ(form.Label1.Caption(), L"Auto-drag is off.");
    EXPECT_TRUE(form.Me.Visible());
    EXPECT_FALSE(program.globals.HiddenInTray);
    EXPECT_FALSE(fakes.mouse.HookInstalled());
  }
};

TEST_F(AutoDragTest, StartHidesTheWindowAndWaitsWithTheHookInstalled) {
  ClickStartStopAt(0);
  fakes.pump.At(kAfterBalloon, [&] {
    EXPECT_EQ(form.PushButton2.Caption(), L"Stop Autodrag");
    EXPECT_EQ(form.Label1.Caption(), L"Auto-drag is on.");
    EXPECT_FALSE(form.Me.Visible());
    EXPECT_TRUE(program.globals.HiddenInTray);
    EXPECT_TRUE(fakes.mouse.HookInstalled());
    form.PushButton2.RaiseClick();  // stop, so the loop ends
  });
  fakes.pump.RunUntil(kAfterBalloon + 1);
  ExpectOff();
}

TEST_F(AutoDragTest, FirstClickPicksUpAfterTheHeldReleaseAndSecondClickDrops) {
  ClickStartStopAt(0);
  fakes.mouse.UserClickAt(kAfterBalloon);        // pick up: release at +0.1
  fakes.mouse.UserClickAt(kAfterBalloon + 5.0);  // drop
  fakes.pump.RunUntil(kAfterBalloon + 10);

  const auto presses = Injected(rt::LeftButtonAction::Press);
  const auto releases = Injected(rt::LeftButtonAction::Release);
  ASSERT_EQ(presses.size(), 1u);
  ASSERT_EQ(releases.size(), 3u);  // two held user releases put back, one synthetic drop
  const double userRelease = kAfterBalloon + 0.1;
  EXPECT_GE(releases[0].at, userRelease + 0.5);  // the pick-up release, held back
  EXPECT_GE(presses[0].at, releases[0].at);      // our press only after it was passed on
  EXPECT_LT(presses[0].at, userRelease + 0.6);
  EXPECT_GE(releases[2].at, kAfterBalloon + 5.1 + 0.5);  // the drop follows the held second release
  EXPECT_GE(releases[2].at, releases[1].at);

  // What the applications saw, in order: the user's press, the held release, our press,
  // the user's second press, its held release, our release. No release arrives early.
  std::vector<std::uint32_t> seen;
  for (const auto& e : fakes.mouse.delivered) seen.push_back(e.message);
  EXPECT_EQ(seen, (std::vector<std::uint32_t>{kLDown, kLUp, kLDown, kLDown, kLUp, kLUp}));
  EXPECT_FALSE(form.ButtonHeld);
  EXPECT_EQ(mouse.ClickCount, 0);
  ExpectOff();
}

TEST_F(AutoDragTest, StopWhileWaitingEndsWithoutInjectingAnything) {
  ClickStartStopAt(0);
  ClickStartStopAt(kAfterBalloon);
  fakes.pump.RunUntil(kAfterBalloon + 1);
  EXPECT_TRUE(fakes.mouse.injections.empty());
  ExpectOff();
}

TEST_F(AutoDragTest, StopWhileHoldingEndsWithoutASyntheticRelease) {
  ClickStartStopAt(0);
  fakes.mouse.UserClickAt(kAfterBalloon);
  ClickStartStopAt(kAfterBalloon + 3);
  fakes.pump.RunUntil(kAfterBalloon + 5);
  EXPECT_EQ(Injected(rt::LeftButtonAction::Press).size(), 1u);
  EXPECT_EQ(Injected(rt::LeftButtonAction::Release).size(), 1u);  // only the user's own, put back
  EXPECT_TRUE(form.ButtonHeld);                                   // as left: the user's next physical click lets go
  ExpectOff();
}

TEST_F(AutoDragTest, StopDuringTheHoldStillFinishesThePassAndPresses) {
  ClickStartStopAt(0);
  fakes.mouse.UserClickAt(kAfterBalloon);  // release at +0.1, held until +0.6
  ClickStartStopAt(kAfterBalloon + 0.3);   // dispatched inside the hold's wait
  fakes.pump.RunUntil(kAfterBalloon + 5);
  EXPECT_EQ(Injected(rt::LeftButtonAction::Press).size(), 1u);
  ExpectOff();
}

TEST_F(AutoDragTest, TwoReleasesBeforeTheLoopTestsGiveAReleaseWithoutAPress) {
  ClickStartStopAt(0);
  fakes.mouse.UserClickAt(kAfterBalloon, 0.05);
  fakes.mouse.UserClickAt(kAfterBalloon + 0.2, 0.05);  // inside the first hold
  fakes.pump.RunUntil(kAfterBalloon + 5);
  EXPECT_TRUE(Injected(rt::LeftButtonAction::Press).empty());
  EXPECT_EQ(Injected(rt::LeftButtonAction::Release).size(), 3u);  // two put back, one from the controller
  ExpectOff();
}

TEST_F(AutoDragTest, AfterACompletedDragASecondStartBeginsFromZero) {
  ClickStartStopAt(0);
  fakes.mouse.UserClickAt(kAfterBalloon);
  fakes.mouse.UserClickAt(kAfterBalloon + 2);
  fakes.pump.RunUntil(kAfterBalloon + 5);
  ExpectOff();

  mouse.ClickCount = 1;  // a stale count must not turn into a press at the next start
  const auto injectedBefore = fakes.mouse.injections.size();
  ClickStartStopAt(20);
  ClickStartStopAt(25);
  fakes.pump.RunUntil(26);
  EXPECT_EQ(fakes.mouse.injections.size(), injectedBefore);
  EXPECT_EQ(mouse.ClickCount, 0);
  ExpectOff();
}

TEST_F(AutoDragTest, AFailedHookInstallSaysSoAndEndsAutoDrag) {
  fakes.mouse.failNextHook = true;
  ClickStartStopAt(0);
  fakes.pump.RunUntil(kAfterBalloon);
  ASSERT_EQ(fakes.dialogs.shown.size(), 1u);
  EXPECT_NE(fakes.dialogs.shown[0].text.find(L"could not start"), std::wstring::npos);
  EXPECT_EQ(fakes.dialogs.shown[0].title, program.globals.AppTitle);
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

TEST_F(AutoDragTest, AFailingPressIsReportedAtItsStatementAndTheDragGoesOn) {
  ClickStartStopAt(0);
  fakes.mouse.UserClickAt(kAfterBalloon);
  fakes.mouse.UserClickAt(kAfterBalloon + 2);
  fakes.mouse.failNextPress = true;
  fakes.pump.RunUntil(kAfterBalloon + 5);

  ASSERT_EQ(fakes.dialogs.shown.size(), 1u);
  EXPECT_EQ(fakes.dialogs.shown[0].title, L"Application Error");
  EXPECT_EQ(fakes.dialogs.shown[0].text,
            L"Injection refused\r\nin Vornix2021/08/31.Form1.PushButton2_Click at line 122\r\r"
            L"Please email screenshot of this message to support@kestrova.example");
  EXPECT_TRUE(Injected(rt::LeftButtonAction::Press).empty());
  EXPECT_EQ(Injected(rt::LeftButtonAction::Release).size(), 3u);  // statement 124 went on; the drop still comes
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
    EXPECT_TRUE(form.ButtonHeld);
    EXPECT_EQ(form.PushButton2.Caption(), L"Stop Autodrag");
  });
  fakes.mouse.UserClickAt(kAfterBalloon + 4);
  fakes.pump.RunUntil(kAfterBalloon + 6);
  EXPECT_EQ(Injected(rt::LeftButtonAction::Press).size(), 1u);
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
