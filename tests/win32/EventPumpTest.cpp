// The event pump: waiting without spinning, posted tasks in order (also inside a modal
// message box's loop), and a quit that a nested pump must hand on.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <string>
#include <vector>

#include "runtime/win32/FailureRoute.h"
#include "runtime/win32/Win32Dialogs.h"
#include "runtime/win32/Win32EventPump.h"

namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

class EventPumpTest : public ::testing::Test {
 protected:
  void SetUp() override { pump_.PumpEvents(milliseconds(0)); }  // nothing left over from earlier tests

  win32::FailureRoute failures_;
  win32::Win32EventPump pump_{::GetModuleHandleW(nullptr), failures_};
};

TEST_F(EventPumpTest, AnIdlePumpBlocksUntilItsDeadline) {
  const auto start = Clock::now();
  pump_.PumpEvents(milliseconds(300));
  const auto waited = std::chrono::duration_cast<milliseconds>(Clock::now() - start).count();
  EXPECT_GE(waited, 280);
  EXPECT_LT(waited, 1500);
}

TEST_F(EventPumpTest, PostedTasksRunInPostingOrderAndEndTheWait) {
  std::vector<int> ran;
  pump_.Post([&] { ran.push_back(1); });
  pump_.Post([&] {
    ran.push_back(2);
    pump_.Post([&] { ran.push_back(4); });  // posted while running: after the ones already queued
  });
  pump_.Post([&] { ran.push_back(3); });
  const auto start = Clock::now();
  pump_.PumpEvents(std::nullopt);
  EXPECT_EQ(ran, (std::vector<int>{1, 2, 3, 4}));
  EXPECT_LT(Clock::now() - start, milliseconds(1000)) << "tasks waiting means no blocking";
}

TEST_F(EventPumpTest, ABlockedPumpWakesForAMessageAndDispatchesIt) {
  bool fired = false;
  // A timer message arrives while the pump waits without a limit.
  static bool* s_fired = nullptr;
  s_fired = &fired;
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR, DWORD) { *s_fired = true; });
  ASSERT_NE(timer, 0u);
  const auto start = Clock::now();
  while (!fired && Clock::now() - start < milliseconds(3000)) pump_.PumpEvents(std::nullopt);
  ::KillTimer(nullptr, timer);
  EXPECT_TRUE(fired);
}

TEST_F(EventPumpTest, TasksRunInsideAModalMessageBoxLoop) {
  win32::Win32Dialogs dialogs;
  const std::wstring title = L"Vornatic adapter test box";
  int attempts = 0;
  // Closes the box from inside its own modal loop; retries until the box exists.
  std::function<void()> closeBox = [&] {
    HWND box = ::FindWindowW(L"#32770", title.c_str());
    if (box != nullptr) {
      ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    } else if (++attempts < 200) {
      pump_.Post(closeBox);
    }
  };
  pump_.Post(closeBox);
  EXPECT_EQ(dialogs.MessageBox(L"Closed by a posted task.", MB_OK, title), IDOK);
}

TEST_F(EventPumpTest, ANestedPumpHandsTheQuitOnToTheOuterLoop) {
  ::PostQuitMessage(7);
  const auto start = Clock::now();
  pump_.PumpEvents(milliseconds(2000));
  EXPECT_LT(Clock::now() - start, milliseconds(1000)) << "a quit ends the pump at once";
  MSG message{};
  ASSERT_TRUE(::PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(message.wParam, 7u);
}

}  // namespace
