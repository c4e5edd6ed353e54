// Our injected button events as a real low-level hook sees them, and modMouse's way of
// telling its own events from everyone else's.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "PumpUntil.h"
#include "autodrag/modMouse.h"
#include "runtime/win32/Win32Platform.h"

namespace {

struct SeenEvent {
  WPARAM message;
  ULONG_PTR extraInfo;
  DWORD tick;
};

// A hook of the test's own, installed before the program's, so it is called after it and
// sees exactly what the program passes on.
std::vector<SeenEvent> g_seen;

LRESULT CALLBACK RecordingHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && (wParam == WM_LBUTTONDOWN || wParam == WM_LBUTTONUP))
    g_seen.push_back({wParam, reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam)->dwExtraInfo, ::GetTickCount()});
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

class MouseInjectionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_seen.clear();
    recorder_ = ::SetWindowsHookExW(WH_MOUSE_LL, &RecordingHook, ::GetModuleHandleW(nullptr), 0);
    ASSERT_NE(recorder_, nullptr);
  }
  void TearDown() override { ::UnhookWindowsHookEx(recorder_); }

  size_t CountSeen(WPARAM message, ULONG_PTR extraInfo) const {
    size_t count = 0;
    for (const SeenEvent& e : g_seen) count += e.message == message && e.extraInfo == extraInfo ? 1 : 0;
    return count;
  }

  win32::Win32Platform platform_{::GetModuleHandleW(nullptr)};
  HHOOK recorder_ = nullptr;
};

TEST_F(MouseInjectionTest, HookProcedureSeesTheTagOfInjectedPressAndRelease) {
  std::vector<rt::LowLevelMouseEvent> events;
  std::vector<std::uintptr_t> messages;
  rt::MouseInput& mouse = platform_.Bundle().mouse;
  rt::HookHandle hook = 0;
  hook = mouse.SetLowLevelHook([&](int code, std::uintptr_t message, const rt::LowLevelMouseEvent& event) {
    if (message == WM_LBUTTONDOWN || message == WM_LBUTTONUP) {
      events.push_back(event);
      messages.push_back(message);
    }
    return mouse.CallNextHook(hook, code, message, event);
  });
  ASSERT_NE(hook, 0u);

  mouse.InjectLeftButton(rt::LeftButtonAction::Press, modMouse::kInjectedTag);
  mouse.InjectLeftButton(rt::LeftButtonAction::Release, modMouse::kInjectedTag);
  ASSERT_TRUE(win32test::PumpUntil(platform_.Pump(), [&] { return events.size() >= 2; }));

  EXPECT_EQ(messages, (std::vector<std::uintptr_t>{WM_LBUTTONDOWN, WM_LBUTTONUP}));
  for (const rt::LowLevelMouseEvent& event : events) {
    EXPECT_EQ(event.extraInfo, modMouse::kInjectedTag);
    EXPECT_NE(event.flags & LLMHF_INJECTED, 0u);
    EXPECT_NE(event.nativeRecord, 0u);
  }
  // Passed on unchanged: the next hook saw the same tag.
  EXPECT_EQ(CountSeen(WM_LBUTTONDOWN, modMouse::kInjectedTag), 1u);
  EXPECT_EQ(CountSeen(WM_LBUTTONUP, modMouse::kInjectedTag), 1u);

  EXPECT_TRUE(mouse.Unhook(hook));
  EXPECT_FALSE(mouse.Unhook(hook)) << "a removed hook cannot be removed again";
  EXPECT_FALSE(mouse.Unhook(0));
}

TEST_F(MouseInjectionTest, ModMousePassesItsOwnEventsUncountedAndHoldsBackOthersReleases) {
  modMouse module(platform_.Bundle());
  module.StartMouseHook();
  ASSERT_NE(module.MouseHookHandle, 0u);
  rt::MouseInput& mouse = platform_.Bundle().mouse;

  mouse.InjectLeftButton(rt::LeftButtonAction::Press, modMouse::kInjectedTag);
  mouse.InjectLeftButton(rt::LeftButtonAction::Release, modMouse::kInjectedTag);
  ASSERT_TRUE(win32test::PumpUntil(platform_.Pump(), [&] { return g_seen.size() >= 2; }));
  EXPECT_EQ(module.ClickCount, 0);
  EXPECT_EQ(CountSeen(WM_LBUTTONUP, modMouse::kInjectedTag), 1u);

  // A release injected by someone else (no tag) counts like the user's own, is taken out of
  // the stream, and comes back tagged after the hold.
  const DWORD injectedAt = ::GetTickCount();
  mouse.InjectLeftButton(rt::LeftButtonAction::Release, 0);
  ASSERT_TRUE(
      win32test::PumpUntil(platform_.Pump(), [&] { return CountSeen(WM_LBUTTONUP, modMouse::kInjectedTag) == 2; }));
  EXPECT_EQ(module.ClickCount, 1) << "counted once, and the release passed back on is not counted again";
  EXPECT_EQ(CountSeen(WM_LBUTTONUP, 0), 0u) << "the untagged release itself never got past the hook";
  const DWORD heldFor = g_seen.back().tick - injectedAt;
  // The tick count moves in steps of up to about 16 ms.
  EXPECT_GE(heldFor + 20, static_cast<DWORD>(module.HoldSeconds() * 1000));

  module.StopMouseHook();
}

}  // namespace
