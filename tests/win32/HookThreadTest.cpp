// The hook's own thread and the watch that notices a hook Windows took away.
#include <gtest/gtest.h>
#include <windows.h>
// after windows.h, which it needs
#include <tlhelp32.h>

#include <atomic>
#include <chrono>

#include "PumpUntil.h"
#include "autodrag/modMouse.h"
#include "runtime/win32/HookAnswerTimes.h"
#include "runtime/win32/HookWatch.h"
#include "runtime/win32/Win32Platform.h"

namespace {

int ThreadsOfThisProcess() {
  const HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return -1;
  THREADENTRY32 entry{};
  entry.dwSize = sizeof(entry);
  int count = 0;
  for (BOOL more = ::Thread32First(snapshot, &entry); more; more = ::Thread32Next(snapshot, &entry))
    count += entry.th32OwnerProcessID == ::GetCurrentProcessId() ? 1 : 0;
  ::CloseHandle(snapshot);
  return count;
}

TEST(HookThreadTest, TheHookAnswersOnAThreadOfItsOwnThatGoesWithTheHook) {
  win32::Win32Platform platform{::GetModuleHandleW(nullptr)};
  rt::MouseInput& mouse = platform.Bundle().mouse;
  const int before = ThreadsOfThisProcess();
  std::atomic<DWORD> answeredOn{0};
  const rt::HookHandle hook = mouse.SetLowLevelHook([&](int code, std::uintptr_t message, const auto& event) {
    answeredOn = ::GetCurrentThreadId();
    return mouse.CallNextHook(0, code, message, event);
  });
  ASSERT_NE(hook, 0u);
  EXPECT_EQ(ThreadsOfThisProcess(), before + 1);
  mouse.Inject({{WM_MOUSEMOVE, rt::ScreenPoint{40, 40}, 0}}, 0);
  ASSERT_TRUE(win32test::PumpUntil(platform.Pump(), [&] { return answeredOn != 0; }));
  EXPECT_NE(answeredOn.load(), ::GetCurrentThreadId()) << "the hook ran on the window's thread";

  EXPECT_TRUE(mouse.Unhook(hook));
  EXPECT_EQ(ThreadsOfThisProcess(), before) << "the hook's thread outlived the hook";
  answeredOn = 0;
  mouse.Inject({{WM_MOUSEMOVE, rt::ScreenPoint{50, 50}, 0}}, 0);
  win32test::PumpUntil(platform.Pump(), [] { return false; }, std::chrono::milliseconds(200));
  EXPECT_EQ(answeredOn.load(), 0u) << "the hook was still called";
}

// Windows removes a hook that keeps the desktop waiting, without a word; the next button
// event the hook never sees tells us, within the watch's grace.
TEST(HookThreadTest, AHookTakenAwayBehindOurBackIsNoticedAtTheNextButtonEvent) {
  win32::Win32Platform platform{::GetModuleHandleW(nullptr)};
  rt::MouseInput& mouse = platform.Bundle().mouse;
  int lost = 0;
  mouse.SetHookLostHandler([&] { ++lost; });
  const rt::HookHandle hook = mouse.SetLowLevelHook(
      [&](int code, std::uintptr_t message, const auto& event) { return mouse.CallNextHook(0, code, message, event); });
  ASSERT_NE(hook, 0u);
  // Clicks the hook sees are no loss.
  mouse.Inject({{WM_RBUTTONDOWN, std::nullopt, 0}, {WM_RBUTTONUP, std::nullopt, 0}}, 0);
  win32test::PumpUntil(platform.Pump(), [] { return false; }, std::chrono::milliseconds(win32::HookWatch::kGraceMs + 300));
  EXPECT_EQ(lost, 0);

  ASSERT_TRUE(::UnhookWindowsHookEx(reinterpret_cast<HHOOK>(hook)));  // as Windows does
  const auto clicked = std::chrono::steady_clock::now();
  mouse.Inject({{WM_RBUTTONDOWN, std::nullopt, 0}, {WM_RBUTTONUP, std::nullopt, 0}}, 0);
  ASSERT_TRUE(win32test::PumpUntil(platform.Pump(), [&] { return lost > 0; }, std::chrono::milliseconds(3000)));
  const auto noticedAfter =
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - clicked).count();
  std::printf("a removed hook was noticed %lld ms after the click\n", static_cast<long long>(noticedAfter));
  EXPECT_EQ(lost, 1);
  mouse.Unhook(hook);
  mouse.SetHookLostHandler({});
}

TEST(HookThreadTest, AnswerTimesSummariseAsMaximumAndNinetyNinthPercentile) {
  std::vector<std::uint32_t> micros(200);
  for (std::uint32_t i = 0; i < 200; ++i) micros[i] = i + 1;  // 1..200 us
  EXPECT_EQ(win32::HookAnswerTimes::Summary(micros), (std::pair<std::uint32_t, std::uint32_t>{200, 198}));
  EXPECT_EQ(win32::HookAnswerTimes::Summary({}), (std::pair<std::uint32_t, std::uint32_t>{0, 0}));
}

}  // namespace
