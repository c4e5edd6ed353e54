// The mouse hook module: what counts, what is held back and for how long, what passes.
#include <gtest/gtest.h>

#include "autodrag/modMouse.h"
#include "fakes/FakePlatform.h"

namespace {

constexpr std::uint32_t kLDown = 0x0201, kLUp = 0x0202, kRUp = 0x0205, kMUp = 0x0208, kMove = 0x0200, kWheel = 0x020A;

class ModMouseTest : public ::testing::Test {
 protected:
  explicit ModMouseTest(double timeOfDay = 10 * 3600.0) : fakes(timeOfDay) {}
  fake::FakePlatform fakes;
  modMouse mouse{fakes.platform};
};

TEST_F(ModMouseTest, OnlyAnUntaggedLeftReleaseWithHookCodeZeroCounts) {
  mouse.StartMouseHook();
  for (auto message : {kLDown, kRUp, kMUp, kMove, kWheel}) fakes.mouse.Deliver(message);
  fakes.mouse.Deliver(kLUp, 0, false, /*code=*/3);
  fakes.mouse.Deliver(kLUp, modMouse::kInjectedTag, true);
  EXPECT_EQ(mouse.ClickCount(), 0);

  fakes.mouse.Deliver(kLUp, /*extra=*/0x1234, /*injected=*/true);  // another program's injection counts
  EXPECT_EQ(mouse.ClickCount(), 1);
  fakes.mouse.Deliver(kLUp, 0, false, /*code=*/0x10000);  // only the low 16 bits of the code count: HC_ACTION
  EXPECT_EQ(mouse.ClickCount(), 2);
}

TEST_F(ModMouseTest, EveryEventPassedOnReturnsWhatTheNextHookReturns) {
  mouse.StartMouseHook();
  fakes.mouse.nextHookResult = 4242;
  for (auto message : {kLDown, kRUp, kMove, kWheel}) EXPECT_EQ(fakes.mouse.Deliver(message), 4242);
  EXPECT_EQ(fakes.mouse.Deliver(kLUp, modMouse::kInjectedTag, true), 4242);
  EXPECT_EQ(fakes.mouse.Deliver(kLUp, 0, false, 1), 4242);
  EXPECT_EQ(fakes.mouse.callNextCalls, 6);
}

TEST_F(ModMouseTest, CountedReleaseReturnsAtOnceAndReachesApplicationsAfterTheHold) {
  mouse.StartMouseHook();
  fakes.mouse.UserEventAt(1.0, kLUp);
  fakes.pump.RunUntil(3.0);

  EXPECT_EQ(mouse.ClickCount(), 1);
  const auto releases = fakes.mouse.DeliveredOf(kLUp);
  ASSERT_EQ(releases.size(), 1u);  // the user's release, swallowed and put back once
  EXPECT_EQ(releases[0].extraInfo, modMouse::kInjectedTag);
  EXPECT_GE(releases[0].at, 1.0 + 0.5);
  EXPECT_LT(releases[0].at, 1.0 + 0.6);
}

TEST_F(ModMouseTest, HoldOutlastsASlowDoubleClickTime) {
  fakes.mouse.doubleClickMs = 900;
  EXPECT_DOUBLE_EQ(mouse.HoldSeconds(), 0.95);
  fakes.mouse.doubleClickMs = 200;
  EXPECT_DOUBLE_EQ(mouse.HoldSeconds(), 0.5);
}

TEST_F(ModMouseTest, WaitingPumpsWithoutSpinning) {
  mouse.WaitSeconds(0.5);
  EXPECT_NEAR(fakes.clock.Now(), 0.5, 0.002);
  EXPECT_LE(fakes.pump.Pumps(), 3);  // blocks for the rest of the wait instead of polling
}

TEST_F(ModMouseTest, WaitOfZeroSecondsReturnsWithoutPumping) {
  mouse.WaitSeconds(0);
  mouse.WaitSeconds(-1);
  EXPECT_EQ(fakes.pump.Pumps(), 0);
}

TEST_F(ModMouseTest, WaitDispatchesWhatArrivesMeanwhile) {
  bool ran = false;
  fakes.pump.At(0.2, [&] { ran = true; });
  mouse.WaitSeconds(0.5);
  EXPECT_TRUE(ran);
}

class ModMouseAtMidnightTest : public ModMouseTest {
 protected:
  ModMouseAtMidnightTest() : ModMouseTest(86400.0 - 0.2) {}
};

TEST_F(ModMouseAtMidnightTest, WaitAcrossMidnightEndsHalfASecondLater) {
  mouse.WaitSeconds(0.5);
  EXPECT_NEAR(fakes.clock.Now(), 0.5, 0.01);
  EXPECT_NEAR(fakes.clock.TimeOfDay(), 0.3f, 0.01f);
}

TEST_F(ModMouseTest, StopWithoutALiveHookDoesNothingHarmful) {
  mouse.StopMouseHook();  // before any start: the handle is 0
  EXPECT_EQ(mouse.MouseHookHandle(), 0u);
  fakes.mouse.failNextHook = true;
  mouse.StartMouseHook();
  mouse.StopMouseHook();
  mouse.StartMouseHook();
  const auto handle = mouse.MouseHookHandle();
  mouse.StopMouseHook();
  mouse.StopMouseHook();
  EXPECT_EQ(mouse.MouseHookHandle(), handle);  // the handle keeps its value
  EXPECT_FALSE(fakes.mouse.HookInstalled());
  EXPECT_TRUE(fakes.dialogs.shown.empty());
}

TEST_F(ModMouseTest, InjectedPressAndReleaseCarryOurTagAndPassUncounted) {
  mouse.StartMouseHook();
  mouse.PressLeftButton();
  mouse.ReleaseLeftButton();
  fakes.pump.RunUntil(1.0);
  ASSERT_EQ(fakes.mouse.injections.size(), 2u);
  EXPECT_EQ(fakes.mouse.injections[0].message, rt::msg::kLButtonDown);
  EXPECT_EQ(fakes.mouse.injections[1].message, rt::msg::kLButtonUp);
  for (const auto& i : fakes.mouse.injections) EXPECT_EQ(i.extraInfo, modMouse::kInjectedTag);
  EXPECT_EQ(mouse.ClickCount(), 0);
  EXPECT_EQ(fakes.mouse.DeliveredOf(kLDown).size(), 1u);
  EXPECT_EQ(fakes.mouse.DeliveredOf(kLUp).size(), 1u);
}

TEST_F(ModMouseTest, CountSaturatesInsteadOfWrapping) {
  mouse.StartMouseHook();
  for (int i = 0; i < 32768 + 5; ++i) fakes.mouse.Deliver(kLUp);
  EXPECT_EQ(mouse.ClickCount(), 32767);
}

TEST_F(ModMouseTest, HeldInputIsPassedOnAtOnceOnTheWayOut) {
  mouse.StartMouseHook();
  fakes.mouse.DeliverAt({5, 5}, kLUp);
  fakes.mouse.DeliverAt({9, 7}, kMove);
  mouse.LetGo();
  ASSERT_EQ(fakes.mouse.injections.size(), 2u);
  EXPECT_EQ(fakes.mouse.injections[0].message, kLUp);
  EXPECT_EQ(fakes.mouse.injections[0].point, (rt::ScreenPoint{5, 5}));
  EXPECT_EQ(fakes.mouse.injections[1].point, (rt::ScreenPoint{9, 7}));
  fakes.pump.RunUntil(2.0);  // the posted hold finds nothing left to pass on
  EXPECT_EQ(fakes.mouse.injections.size(), 2u);
}

TEST_F(ModMouseTest, InputArrivingWhileWePutHeldInputBackGoesAfterIt) {
  fakes.mouse.reportsPlaces = true;
  mouse.StartMouseHook();
  fakes.mouse.UserEventAt(1.0, kLUp, rt::ScreenPoint{10, 10});
  fakes.mouse.UserEventAt(1.1, kMove, rt::ScreenPoint{20, 10});
  fakes.pump.RunUntil(1.6);  // the release is back; the move waits for our press
  fakes.mouse.whileNextInjection = [&] { fakes.mouse.DeliverAt({30, 10}, kMove); };
  mouse.PressLeftButton();
  fakes.pump.RunUntil(2.0);
  const auto moves = fakes.mouse.DeliveredOf(kMove);
  ASSERT_EQ(moves.size(), 2u);
  EXPECT_EQ(moves[0].point, (rt::ScreenPoint{20, 10}));
  EXPECT_EQ(moves[1].point, (rt::ScreenPoint{30, 10}));
}

// The loop presses within milliseconds of the release going back; when something modal
// keeps it from running, the pointer must not stay frozen waiting for it.
TEST_F(ModMouseTest, MovementHeldForAPressThatDoesNotComeGoesOnAfterTheGrace) {
  fakes.mouse.reportsPlaces = true;
  mouse.StartMouseHook();
  fakes.mouse.UserEventAt(1.0, kLUp, rt::ScreenPoint{10, 10});
  fakes.mouse.UserEventAt(1.2, kMove, rt::ScreenPoint{20, 10});
  fakes.mouse.UserEventAt(1.6, kMove, rt::ScreenPoint{30, 10});  // within the grace after the hold
  fakes.mouse.UserEventAt(2.0, kMove, rt::ScreenPoint{40, 10});  // past it
  fakes.pump.RunUntil(1.7);
  EXPECT_TRUE(fakes.mouse.DeliveredOf(kMove).empty()) << "held for the press while it is still due";
  fakes.pump.RunUntil(3.0);
  const auto moves = fakes.mouse.DeliveredOf(kMove);
  ASSERT_EQ(moves.size(), 3u);
  EXPECT_EQ(moves.back().point, (rt::ScreenPoint{40, 10}));
  EXPECT_LT(moves.back().at, 2.01);
  mouse.PressLeftButton();  // late: where the pointer is now, not back at the click
  EXPECT_EQ(fakes.mouse.injections.back().point, (rt::ScreenPoint{40, 10}));
}

}  // namespace
