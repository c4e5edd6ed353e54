// Windows' patience with a low-level hook, as the fakes model it: a hook that keeps the
// desktop waiting is passed over, and after enough of that removed. The drag tests run with
// this model on, so a hook of ours that waits fails them.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <thread>

#include "unit/ProgramFixture.h"

namespace {

constexpr std::uint32_t kMove = 0x0200;

class HookPatienceTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    fakes.mouse.hookTimeouts = fake::FakeMouse::HookTimeoutModel{};
  }
};

TEST_F(HookPatienceTest, TheModelPassesOverAHookThatKeepsTheDesktopWaitingAndThenRemovesIt) {
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

}  // namespace
