// The decision alone, with no timer at all, as when every timer of the window's thread runs
// late: the latch, the bounce and the pick-up are decided by the events' own times, and
// the edges of each time are exact.
#include "autodrag/DragDecision.h"

#include <gtest/gtest.h>

namespace {

constexpr std::uint32_t kMove = 0x0200, kLDown = 0x0201, kLUp = 0x0202;
constexpr bool kSwallowed = true, kPassed = false;

drag::Event At(std::uint32_t message, rt::ScreenPoint at, std::uint32_t time) {
  drag::Event event;
  event.message = message;
  event.at = at;
  event.time = time;
  return event;
}

class DragDecisionTest : public ::testing::Test {
 protected:
  DragDecisionTest() { decision.SetDoubleClick(500, {4, 4}); }
  void LatchAt(int ms) { decision.SetLatch({std::chrono::milliseconds(ms), false, false}); }
  drag::DragDecision decision;
};

// A release at exactly the hold time latches, one a millisecond sooner is a click; the
// tick count's wrap changes nothing.
TEST_F(DragDecisionTest, AReleaseAtExactlyTheHoldTimeLatches) {
  LatchAt(800);
  for (const std::uint32_t start : {1000u, 0xFFFFFF00u}) {
    EXPECT_EQ(decision.Decide(At(kLDown, {10, 10}, start)), kPassed);
    EXPECT_EQ(decision.Decide(At(kLUp, {10, 10}, start + 799)), kPassed) << "a click";
    EXPECT_FALSE(decision.Holding());
    EXPECT_EQ(decision.Decide(At(kLDown, {10, 10}, start + 2000)), kPassed);
    EXPECT_EQ(decision.Decide(At(kLUp, {10, 10}, start + 2800)), kSwallowed) << "latched";
    EXPECT_TRUE(decision.LatchedHold());
    EXPECT_EQ(decision.Decide(At(kLDown, {50, 50}, start + 4000)), kSwallowed);
    EXPECT_EQ(decision.Decide(At(kLUp, {50, 50}, start + 4100)), kPassed) << "the drop";
    EXPECT_FALSE(decision.Holding());
  }
}

// Moving away before the hold time leaves an ordinary drag; after it, the press is held
// from there on, although no timer ever ran.
TEST_F(DragDecisionTest, AMoveAwayAfterTheHoldTimeLatchesWithoutATimer) {
  LatchAt(600);
  decision.Decide(At(kLDown, {10, 10}, 0));
  EXPECT_EQ(decision.Decide(At(kMove, {30, 30}, 599)), kPassed);
  EXPECT_FALSE(decision.Holding());
  EXPECT_EQ(decision.Decide(At(kLUp, {30, 30}, 700)), kPassed) << "an ordinary drag";

  decision.Decide(At(kLDown, {10, 10}, 1000));
  EXPECT_EQ(decision.Decide(At(kMove, {11, 11}, 1700)), kPassed) << "still within the double-click area";
  EXPECT_FALSE(decision.Holding());
  EXPECT_EQ(decision.Decide(At(kMove, {30, 30}, 1700)), kPassed);
  EXPECT_TRUE(decision.Holding());
  EXPECT_EQ(decision.Decide(At(kLUp, {30, 30}, 1800)), kSwallowed) << "the latch's own release";
}

// A quick click, then a new press inside the first one's hold time: the first click's timer
// finds no press of its own, and the new one is timed from its own press.
TEST_F(DragDecisionTest, AnEarlierClicksTimerNeverLatchesTheNextPress) {
  LatchAt(800);
  decision.Decide(At(kLDown, {10, 10}, 0));
  const drag::Chores first = decision.TakeChores();
  ASSERT_TRUE(first.fillFrom);
  decision.Decide(At(kLUp, {10, 10}, 100));
  decision.Decide(At(kLDown, {10, 10}, 300));
  const drag::Chores second = decision.TakeChores();
  ASSERT_TRUE(second.fillFrom);
  EXPECT_NE(second.fillFrom->number, first.fillFrom->number);

  decision.ShowHeld(first.fillFrom->number);  // the first click's timer, at 800
  EXPECT_FALSE(decision.Holding());
  EXPECT_FALSE(decision.PendingCandidate(first.fillFrom->number));
  EXPECT_EQ(decision.Decide(At(kLUp, {10, 10}, 1099)), kPassed) << "799 ms after its own press";
}

// After a Start, the pick-up is where the button went down, and a second press within the
// double-click time of that press (its edge included) and area is a bounce, not the drop.
TEST_F(DragDecisionTest, APickUpIsWhereItsPressWasAndTheBounceEdgeIsExact) {
  for (const std::uint32_t second : {500u, 501u}) {
    decision.Start();
    decision.Decide(At(kLDown, {100, 100}, 0));
    EXPECT_EQ(decision.Decide(At(kLUp, {103, 101}, 150)), kSwallowed) << "the pick-up";
    EXPECT_EQ(decision.Decide(At(kLDown, {101, 101}, second)), kSwallowed);
    const bool bounce = second == 500;
    EXPECT_EQ(decision.Decide(At(kLUp, {101, 101}, second + 50)), bounce ? kSwallowed : kPassed);
    EXPECT_EQ(decision.Holding(), bounce);
    if (bounce) {
      decision.EndHold(true);
      const auto release = decision.Due(drag::Button::Primary);
      ASSERT_TRUE(release);
      EXPECT_EQ(*release->at, (rt::ScreenPoint{100, 100}));
      decision.Injected(drag::Button::Primary);
    }
    decision.EndStart();
  }
}

// The count of pick-ups and drops stops at its top instead of wrapping to a negative
// count that the controller would never see pass 1.
TEST_F(DragDecisionTest, TheClickCountSaturates) {
  for (int drag = 0; drag < 17000; ++drag) {
    decision.Start();
    decision.Decide(At(kLDown, {10, 10}, 0));
    decision.Decide(At(kLUp, {10, 10}, 100));
    decision.Decide(At(kLDown, {90, 90}, 2000));
    decision.Decide(At(kLUp, {90, 90}, 2100));
  }
  EXPECT_EQ(decision.ClickCount(), 32767);
}

}  // namespace
