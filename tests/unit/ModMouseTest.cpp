// The mouse hook module: what counts, what applications see of a drag, what is swallowed,
// and what giving up and the ways out put into the input stream.
#include <gtest/gtest.h>

#include "autodrag/modMouse.h"
#include "fakes/FakePlatform.h"

namespace {

constexpr std::uint32_t kLDown = 0x0201, kLUp = 0x0202, kRUp = 0x0205, kMUp = 0x0208, kMove = 0x0200, kWheel = 0x020A;

class ModMouseTest : public ::testing::Test {
 protected:
  fake::FakePlatform fakes;
  modMouse mouse{fakes.platform};

  void ClickAt(rt::ScreenPoint p) {
    fakes.mouse.DeliverAt(p, kLDown);
    fakes.mouse.DeliverAt(p, kLUp);
  }
};

TEST_F(ModMouseTest, OnlyAnUntaggedPrimaryReleaseWithHookCodeZeroCounts) {
  mouse.StartMouseHook();
  for (auto message : {kRUp, kMUp, kMove, kWheel}) fakes.mouse.Deliver(message);
  fakes.mouse.Deliver(kLUp, 0, false, /*code=*/3);
  fakes.mouse.Deliver(kLUp, modMouse::kInjectedTag, true);
  EXPECT_EQ(mouse.ClickCount(), 0);

  fakes.mouse.Deliver(kLUp, /*extra=*/0x1234, /*injected=*/true);  // another program's injection counts
  EXPECT_EQ(mouse.ClickCount(), 1);
  fakes.clock.AdvanceTo(1.0);  // past the double-click time: no bounce
  fakes.mouse.Deliver(kLDown);
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
  EXPECT_TRUE(fakes.mouse.injections.empty());
  EXPECT_TRUE(fakes.dialogs.shown.empty());
}

// A tremor's double tap at the pick-up is the pick-up click bouncing, not a drop; a
// second click outside Windows' double-click time or area is the drop.
TEST_F(ModMouseTest, ASecondClickInsideTheDoubleClickTimeAndAreaIsABounce) {
  struct Case {
    double after;
    rt::ScreenPoint at;
    bool bounce;
  };
  for (const Case c : {Case{0.3, {101, 99}, true}, Case{0.45, {102, 102}, true}, Case{0.3, {103, 100}, false},
                       Case{0.6, {100, 100}, false}}) {
    const double t = fakes.clock.Now() + 1;
    mouse.ResetClickCount();
    mouse.StartMouseHook();
    const std::size_t from = fakes.mouse.delivered.size();
    fakes.mouse.UserClickAt(t, {100, 100}, 0.05);
    fakes.mouse.UserClickAt(t + c.after, c.at, 0.05);
    fakes.pump.RunUntil(t + 1);
    EXPECT_EQ(mouse.HoldingButton(), c.bounce) << c.after << " s, x " << c.at.x;
    EXPECT_EQ(mouse.ClickCount(), c.bounce ? 1 : 2);
    std::size_t releases = 0;
    for (std::size_t i = from; i < fakes.mouse.delivered.size(); ++i) releases += fakes.mouse.delivered[i].message == kLUp;
    EXPECT_EQ(releases, c.bounce ? 0u : 1u) << fakes.mouse.Seen();
    mouse.StopMouseHook();
    fakes.pump.RunUntil(t + 1.5);
  }
}

TEST_F(ModMouseTest, TheWayOutLetsGoWhereThePointerIs) {
  fakes.mouse.buttonsSwapped = true;
  mouse.StartMouseHook();
  ClickAt({10, 10});
  fakes.mouse.DeliverAt({50, 60}, kMove);
  mouse.StopMouseHook();
  fakes.pump.RunUntil(1);
  EXPECT_EQ(fakes.mouse.Seen(), "D@10,10 M@50,60 U@50,60*");
  EXPECT_EQ(fakes.mouse.injections.at(0).message, kRUp);
  mouse.LetGo();
  EXPECT_EQ(fakes.mouse.injections.size(), 1u) << "one release, not two";
}

// Wine's shell cannot say where the icon is; the icon's own press notice tells the hook.
TEST_F(ModMouseTest, ATrayPressTheShellAnnouncesIsNoPickUpWhereTheIconCannotBeLocated) {
  mouse.StartMouseHook();
  fakes.mouse.DeliverAt({1010, 750}, kLDown);
  mouse.OwnTrayIconPressed();
  fakes.mouse.DeliverAt({1010, 750}, kLUp);
  EXPECT_EQ(mouse.ClickCount(), 0);
  ClickAt({1010, 750});  // a press the icon did not announce is a pick-up like any other
  EXPECT_TRUE(mouse.HoldingButton());
}

}  // namespace
