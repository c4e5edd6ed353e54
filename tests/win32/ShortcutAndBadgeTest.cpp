// The start/stop shortcut as Windows delivers it, and the holding badge's window: there,
// click-through, never active, never in the taskbar, and at the DPI's size.
#include <gtest/gtest.h>
#include <windows.h>

#include "PumpUntil.h"
#include "runtime/win32/Win32Platform.h"

namespace {

void PressWinShiftD() {
  const WORD keys[] = {VK_LWIN, VK_SHIFT, 'D'};
  std::vector<INPUT> inputs;
  for (WORD key : keys) {
    INPUT down{};
    down.type = INPUT_KEYBOARD;
    down.ki.wVk = key;
    inputs.push_back(down);
  }
  for (auto it = std::rbegin(keys); it != std::rend(keys); ++it) {
    INPUT up{};
    up.type = INPUT_KEYBOARD;
    up.ki.wVk = *it;
    up.ki.dwFlags = KEYEVENTF_KEYUP;
    inputs.push_back(up);
  }
  ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

TEST(GlobalShortcutTest, TheShortcutReachesUsOnceTakenAndIsRefusedToASecondTaker) {
  win32::Win32Platform platform(::GetModuleHandleW(nullptr));
  win32::Win32Platform other(::GetModuleHandleW(nullptr));
  const rt::Shortcut winShiftD{true, false, false, true, 'D'};
  int presses = 0;
  ASSERT_TRUE(platform.Bundle().shortcuts.Register(winShiftD, [&] { ++presses; }));
  EXPECT_FALSE(other.Bundle().shortcuts.Register(winShiftD, [] {})) << "held by the first";

  PressWinShiftD();
  EXPECT_TRUE(win32test::PumpUntil(platform.Pump(), [&] { return presses == 1; }));

  platform.Bundle().shortcuts.Unregister();
  EXPECT_TRUE(other.Bundle().shortcuts.Register(winShiftD, [] {})) << "free again once let go";
}

TEST(PointerBadgeTest, ShowsBesideThePointerWithoutTakingFocusOrClicksAndHides) {
  win32::Win32Platform platform(::GetModuleHandleW(nullptr));
  const HWND below = ::CreateWindowExW(0, L"STATIC", L"below", WS_POPUP | WS_VISIBLE, 100, 100, 200, 200, nullptr,
                                       nullptr, ::GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(below, nullptr);
  ::SetForegroundWindow(below);
  const HWND foreground = ::GetForegroundWindow();

  platform.Bundle().badge.ShowBeside(rt::ScreenPoint{150, 150});
  const HWND badge = platform.Badge().Window();
  ASSERT_NE(badge, nullptr);
  EXPECT_TRUE(::IsWindowVisible(badge));
  RECT rect{};
  ::GetWindowRect(badge, &rect);
  const int side = ::MulDiv(win32::Win32PointerBadge::kSide, static_cast<int>(::GetDpiForWindow(badge)), 96);
  EXPECT_EQ(rect.right - rect.left, side);
  EXPECT_GT(rect.left, 150);
  EXPECT_GT(rect.top, 150);
  EXPECT_EQ(::GetForegroundWindow(), foreground) << "showing took the focus";
  const LONG_PTR ex = ::GetWindowLongPtrW(badge, GWL_EXSTYLE);
  for (const LONG_PTR flag : std::initializer_list<LONG_PTR>{WS_EX_TOOLWINDOW, WS_EX_NOACTIVATE, WS_EX_TRANSPARENT,
                                                             WS_EX_LAYERED, WS_EX_TOPMOST})
    EXPECT_NE(ex & flag, 0) << std::hex << flag;
  EXPECT_EQ(::GetWindowLongPtrW(badge, GWL_EXSTYLE) & WS_EX_APPWINDOW, 0);
  // A click on the badge belongs to the window below it.
  const POINT middle{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
  EXPECT_EQ(::SendMessageW(badge, WM_NCHITTEST, 0, MAKELPARAM(middle.x, middle.y)), HTTRANSPARENT);

  platform.Bundle().badge.ShowBeside(rt::ScreenPoint{170, 180});
  RECT moved{};
  ::GetWindowRect(badge, &moved);
  EXPECT_EQ(moved.left - rect.left, 20);
  EXPECT_EQ(moved.top - rect.top, 30);

  platform.Bundle().badge.Hide();
  EXPECT_FALSE(::IsWindowVisible(badge));
  ::DestroyWindow(below);
}

}  // namespace
