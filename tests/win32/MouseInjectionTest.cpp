// Our injected button events as a real low-level hook sees them, and modMouse's way of
// telling its own events from everyone else's.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <array>
#include <stdexcept>
#include <string>
#include <vector>

#include "PumpUntil.h"
#include "autodrag/modMouse.h"
#include "runtime/win32/Guarded.h"
#include "runtime/win32/HookWatch.h"
#include "runtime/win32/InjectedMouseInput.h"
#include "runtime/win32/Win32Platform.h"
#include "runtime/win32/WindowReach.h"

namespace {

struct SeenEvent {
  WPARAM message;
  ULONG_PTR extraInfo;
  DWORD tick;
  POINT pt;
};

// A hook of the test's own, installed before the program's, so it is called after it and
// sees exactly what the program passes on.
std::vector<SeenEvent> g_seen;

LRESULT CALLBACK RecordingHook(int code, WPARAM wParam, LPARAM lParam) {
  const auto* record = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
  if (code == HC_ACTION && (wParam == WM_LBUTTONDOWN || wParam == WM_LBUTTONUP || wParam == WM_MOUSEMOVE))
    g_seen.push_back({wParam, record->dwExtraInfo, ::GetTickCount(), record->pt});
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

  std::vector<SeenEvent> Seen(ULONG_PTR extraInfo) const {
    std::vector<SeenEvent> result;
    for (const SeenEvent& e : g_seen)
      if (e.extraInfo == extraInfo) result.push_back(e);
    return result;
  }
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

  ASSERT_EQ(mouse.Inject({{WM_LBUTTONDOWN, std::nullopt, 0}, {WM_LBUTTONUP, std::nullopt, 0}}, modMouse::kInjectedTag),
            2u);
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

// The user's own press is the held button: the swallowed pick-up release leaves the
// button down for every program, the drop release lets it go, and nothing of ours is
// injected. Events injected by someone else (no tag) stand in for the user's hand.
TEST_F(MouseInjectionTest, TheSwallowedPickUpKeepsTheButtonDownUntilTheDropOrAGiveUp) {
  const auto leftDown = [] { return (::GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0; };
  const auto click = [](rt::ScreenPoint at) {
    return std::vector<rt::MouseEventToInject>{{WM_LBUTTONDOWN, at, 0}, {WM_LBUTTONUP, at, 0}};
  };
  rt::MouseInput& mouse = platform_.Bundle().mouse;
  for (const bool givesUp : {false, true}) {
    g_seen.clear();
    modMouse module(platform_.Bundle());
    module.StartMouseHook();
    ASSERT_NE(module.MouseHookHandle(), 0u);
    mouse.Inject(click({200, 150}), 0);
    ASSERT_TRUE(win32test::PumpUntil(platform_.Pump(), [&] { return module.HoldingButton(); }));
    mouse.Inject({{WM_MOUSEMOVE, rt::ScreenPoint{260, 190}, 0}}, 0);
    // Wine adds moves of its own: wait for the hand's move itself.
    ASSERT_TRUE(win32test::PumpUntil(platform_.Pump(), [&] {
      return std::any_of(g_seen.begin(), g_seen.end(), [](const SeenEvent& e) { return e.pt.x == 260; });
    }));
    EXPECT_TRUE(leftDown()) << "the pick-up release reached nobody";
    EXPECT_EQ(CountSeen(WM_LBUTTONUP, 0), 0u);

    if (givesUp) {
      // The recorder is called before our hook: give ours the moment to see the move too,
      // as a hand always does before it reaches for the shortcut.
      win32test::PumpUntil(platform_.Pump(), [] { return false; }, std::chrono::milliseconds(100));
      module.GiveUp();
      // The hook answers on its own thread; the recorder here sees our events when we pump.
      const auto cursorX = [] {
        POINT at{};
        ::GetCursorPos(&at);
        return at.x;
      };
      ASSERT_TRUE(win32test::PumpUntil(platform_.Pump(), [&] {
        return !leftDown() && CountSeen(WM_LBUTTONUP, modMouse::kInjectedTag) == 1 && cursorX() == 260;
      })) << [&] {
        std::string seen;
        for (const SeenEvent& e : g_seen)
          seen += std::to_string(e.message) + "@" + std::to_string(e.pt.x) + (e.extraInfo != 0 ? "* " : " ");
        return seen + (leftDown() ? "left down" : "left up") + ", pointer at " + std::to_string(cursorX());
      }();
      // Let go where it was picked up, and the pointer came back to the hand; Wine may not
      // show the hooks that last move, so the pointer itself is asked.
      for (const SeenEvent& e : Seen(modMouse::kInjectedTag)) {
        if (e.message == WM_LBUTTONUP) {
          EXPECT_EQ(e.pt.x, 200) << "let go where it was picked up";
        }
      }
    } else {
      mouse.Inject(click({300, 220}), 0);
      ASSERT_TRUE(win32test::PumpUntil(platform_.Pump(), [&] { return !leftDown() && CountSeen(WM_LBUTTONUP, 0) == 1; }));
      EXPECT_EQ(CountSeen(WM_LBUTTONDOWN, 0), 1u) << "the drop's press never reached anyone";
      ASSERT_EQ(CountSeen(WM_LBUTTONUP, 0), 1u);
      EXPECT_EQ(g_seen.back().pt.x, 300);
      EXPECT_TRUE(Seen(modMouse::kInjectedTag).empty()) << "a drag as planned injects nothing";
      EXPECT_EQ(module.ClickCount(), 2);
    }
    module.StopMouseHook();
  }
}

// What the hook reports and where our events land must agree to the pixel, or a drag
// would end beside the place the user clicked.
TEST_F(MouseInjectionTest, EventsInjectedAtPointsArriveAtExactlyThosePoints) {
  rt::MouseInput& mouse = platform_.Bundle().mouse;
  const std::vector<rt::ScreenPoint> points{{0, 0}, {101, 57}, {333, 222}, {1023, 767}, {517, 300}};
  std::vector<rt::MouseEventToInject> events;
  for (const rt::ScreenPoint& p : points) events.push_back({WM_MOUSEMOVE, p, 0});
  events.push_back({WM_LBUTTONDOWN, rt::ScreenPoint{400, 401}, 0});
  events.push_back({WM_LBUTTONUP, rt::ScreenPoint{402, 403}, 0});
  ASSERT_EQ(mouse.Inject(events, modMouse::kInjectedTag), events.size()) << "SendInput's count";
  ASSERT_TRUE(
      win32test::PumpUntil(platform_.Pump(), [&] { return CountSeen(WM_LBUTTONUP, modMouse::kInjectedTag) == 1; }));

  std::vector<std::pair<WPARAM, std::pair<LONG, LONG>>> seen;
  for (const SeenEvent& e : Seen(modMouse::kInjectedTag))
    if (e.message != WM_MOUSEMOVE || seen.empty() || seen.back().second != std::pair(e.pt.x, e.pt.y))
      seen.push_back({e.message, {e.pt.x, e.pt.y}});
  std::vector<std::pair<WPARAM, std::pair<LONG, LONG>>> expected;
  for (const rt::ScreenPoint& p : points) expected.push_back({WM_MOUSEMOVE, {p.x, p.y}});
  // A button event with a point moves there first, as one record.
  expected.push_back({WM_MOUSEMOVE, {400, 401}});
  expected.push_back({WM_LBUTTONDOWN, {400, 401}});
  expected.push_back({WM_MOUSEMOVE, {402, 403}});
  expected.push_back({WM_LBUTTONUP, {402, 403}});
  // Some systems report the button event without a separate move; compare the buttons' points either way.
  std::vector<std::pair<WPARAM, std::pair<LONG, LONG>>> buttons, expectedButtons;
  for (const auto& e : seen)
    if (e.first != WM_MOUSEMOVE) buttons.push_back(e);
  for (const auto& e : expected)
    if (e.first != WM_MOUSEMOVE) expectedButtons.push_back(e);
  EXPECT_EQ(buttons, expectedButtons);
  std::vector<std::pair<LONG, LONG>> movedTo;
  for (const auto& e : seen)
    if (e.first == WM_MOUSEMOVE) movedTo.push_back(e.second);
  for (const rt::ScreenPoint& p : points)
    EXPECT_NE(std::find(movedTo.begin(), movedTo.end(), std::pair<LONG, LONG>(p.x, p.y)), movedTo.end())
        << "no move arrived at " << p.x << "," << p.y;
  POINT now{};
  ::GetCursorPos(&now);
  EXPECT_EQ(std::pair(now.x, now.y), std::pair(402L, 403L));
}

// The pointer's trail, after the hand's move and then ours, and after ours and then the
// hand's: it names the hand's point or nothing, never ours, whether or not it keeps extra
// info (Wine's does not, and must then say nothing).
TEST_F(MouseInjectionTest, ThePointersTrailNeverTakesOurPointForTheHands) {
  rt::MouseInput& mouse = platform_.Bundle().mouse;
  const rt::ScreenPoint hand{210, 160}, ours{430, 330}, handAgain{250, 170};
  const auto moveTo = [&](rt::ScreenPoint at, std::uintptr_t tag) {
    ASSERT_EQ(mouse.Inject({{WM_MOUSEMOVE, at, 0}}, tag), 1u);
    ASSERT_TRUE(win32test::PumpUntil(platform_.Pump(), [&] {
      POINT now{};
      return ::GetCursorPos(&now) && now.x == at.x && now.y == at.y;
    }));
  };
  moveTo(hand, 0);
  moveTo(ours, modMouse::kInjectedTag);
  const std::optional<rt::ScreenPoint> afterOurs = mouse.LastPointNotTagged(modMouse::kInjectedTag);
  if (afterOurs) {
    EXPECT_EQ(*afterOurs, hand);
  }
  moveTo(handAgain, 0);
  const std::optional<rt::ScreenPoint> afterTheHands = mouse.LastPointNotTagged(modMouse::kInjectedTag);
  if (afterTheHands) {
    EXPECT_EQ(*afterTheHands, handAgain);
  }
  // The two answers come from one kind of trail: both known, or both not.
  EXPECT_EQ(afterOurs.has_value(), afterTheHands.has_value());
}

// Every pixel of a desktop whose monitors reach left of and above the primary one maps to
// a coordinate that Windows scales back to that same pixel, whichever way it rounds.
TEST(NormalisedCoordinateTest, EveryPixelOfAWideDesktopWithNegativeCoordinatesComesBackExactly) {
  for (const auto& [origin, extent] :
       {std::pair(-1920L, 1920L + 2560L), std::pair(-1080L, 2520L), std::pair(0L, 1024L)}) {
    for (LONG pixel = origin; pixel < origin + extent; ++pixel) {
      const LONG n = win32::NormalisedCoordinate(pixel, origin, extent);
      ASSERT_GE(n, 0);
      ASSERT_LE(n, 65535);
      const LONG byShift = static_cast<LONG>((static_cast<LONGLONG>(n) * extent) >> 16) + origin;
      const LONG byMulDiv = ::MulDiv(n, extent, 65535) + origin;
      ASSERT_EQ(byShift, pixel) << "extent " << extent;
      ASSERT_EQ(byMulDiv, pixel) << "extent " << extent;
    }
  }
}

// A put-back on a monitor left of and above the primary one: the record says absolute over
// the whole virtual desktop, and its coordinates land on the pick-up's pixel; a release
// without a point stays where the pointer is.
TEST(NormalisedCoordinateTest, RecordsMapPointsAcrossTheWholeVirtualDesktop) {
  const RECT desktop{-1920, -1080, 2560, 1440};
  const std::vector<INPUT> records = win32::ToInputRecords(
      {{WM_LBUTTONUP, rt::ScreenPoint{-1500, -300}, 0}, {WM_LBUTTONUP, std::nullopt, 0}, {WM_MOUSEMOVE, rt::ScreenPoint{2559, 1439}, 0}},
      modMouse::kInjectedTag, desktop);
  ASSERT_EQ(records.size(), 3u);
  const DWORD absolute = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;
  EXPECT_EQ(records[0].mi.dwFlags, absolute | MOUSEEVENTF_LEFTUP);
  EXPECT_EQ(records[1].mi.dwFlags, static_cast<DWORD>(MOUSEEVENTF_LEFTUP));
  EXPECT_EQ(records[2].mi.dwFlags, absolute | MOUSEEVENTF_MOVE_NOCOALESCE);
  const auto back = [&](LONG n, LONG origin, LONG extent) { return ::MulDiv(n, extent, 65535) + origin; };
  EXPECT_EQ(back(records[0].mi.dx, -1920, 4480), -1500);
  EXPECT_EQ(back(records[0].mi.dy, -1080, 2520), -300);
  EXPECT_EQ(back(records[2].mi.dx, -1920, 4480), 2559);
  EXPECT_EQ(back(records[2].mi.dy, -1080, 2520), 1439);
  for (const INPUT& record : records) EXPECT_EQ(record.mi.dwExtraInfo, modMouse::kInjectedTag);
}

// Raw input's button flags, followed report by report, say which buttons the hand holds.
TEST(HookWatchTest, RawReportsFollowTheHandsButtons) {
  const auto after = [](std::uint8_t before, USHORT flags) {
    RAWMOUSE report{};
    report.usButtonFlags = flags;
    return win32::HookWatch::ButtonsAfter(before, report);
  };
  EXPECT_EQ(after(0, RI_MOUSE_LEFT_BUTTON_DOWN), 1);
  EXPECT_EQ(after(1, RI_MOUSE_LEFT_BUTTON_UP | RI_MOUSE_RIGHT_BUTTON_DOWN), 2);
  EXPECT_EQ(after(6, RI_MOUSE_MIDDLE_BUTTON_UP), 2);
  EXPECT_EQ(after(2, RI_MOUSE_WHEEL), 2);
  EXPECT_EQ(after(0, RI_MOUSE_LEFT_BUTTON_DOWN | RI_MOUSE_LEFT_BUTTON_UP), 0) << "a click in one report";
}

// One look at the window under a press tells whether it is ours, which program owns it, and
// whether our input reaches it; our own window is always in reach, and a window's program
// (in the Settings window's list of programs) is named by the process the look tells.
TEST(WindowReachTest, OneLookTellsOursTheProgramAndTheReach) {
  EXPECT_TRUE(win32::IntegrityLevelOf(::GetCurrentProcess()).has_value());
  EXPECT_TRUE(win32::IntegrityLevelOfProcess(::GetCurrentProcessId()).has_value());
  win32::Win32Platform platform{::GetModuleHandleW(nullptr)};
  // A button, since a static control is transparent to the look.
  const HWND window = ::CreateWindowExW(WS_EX_TOPMOST, L"BUTTON", L"reach", WS_POPUP | WS_VISIBLE, 40, 40, 80, 80,
                                        nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(window, nullptr);
  const rt::WindowAtPoint look = platform.Bundle().mouse.LookAt(rt::ScreenPoint{60, 60}, true);
  EXPECT_TRUE(look.ours);
  EXPECT_TRUE(look.reachable);
  EXPECT_EQ(look.program, ::GetCurrentProcessId());
  std::array<wchar_t, rt::RunningPrograms::kLongestFileName> name{};
  const std::size_t length = platform.Bundle().programs.FileNameOf(look.program, name);
  EXPECT_EQ(std::wstring(name.data(), length), L"vornatic_win32_tests.exe");
  EXPECT_EQ(platform.Bundle().programs.FileNameOf(0, name), 0u);
  ::DestroyWindow(window);
}

// The hook reads a program's token once: an answer is kept by process and thread, a reused
// process id with another thread is asked again, and the oldest of eight answers goes first.
TEST(WindowReachTest, AProgramsReachIsAskedOnceAndKnownByProcessAndThread) {
  win32::ReachMemory memory;
  std::vector<DWORD> asked;
  const auto ask = [&](DWORD process) {
    asked.push_back(process);
    return process % 2 == 0;
  };
  struct Row {
    DWORD process, thread;
    bool reaches, asks;
  };
  const Row rows[] = {
      {10, 1, true, true},   {10, 1, true, false},  {11, 1, false, true}, {11, 1, false, false},
      {10, 2, true, true},   // the same process id, another thread: another program, perhaps
      {12, 1, true, true},   {13, 1, false, true},  {14, 1, true, true},  {15, 1, false, true},
      {16, 1, true, true},   {17, 1, false, true},  // the ninth answer: the oldest goes
      {10, 1, true, true},   {10, 2, true, false},  {11, 1, false, true},
  };
  for (const Row& row : rows) {
    const std::size_t before = asked.size();
    EXPECT_EQ(memory.Reaches(row.process, row.thread, ask), row.reaches) << row.process << "/" << row.thread;
    EXPECT_EQ(asked.size() - before, row.asks ? 1u : 0u) << row.process << "/" << row.thread;
  }
}

}  // namespace

namespace {

// A crash that no handler of ours sees lets go of exactly what we keep down, for any
// button, and takes our hook away; a button the user holds themselves is left alone.
TEST(LastChanceTest, LetsGoOfWhatWeKeepDownAndNothingElseAndRemovesTheHook) {
  win32::Win32Platform platform{::GetModuleHandleW(nullptr)};
  rt::MouseInput& mouse = platform.Bundle().mouse;
  int calls = 0;
  const rt::HookHandle hook = mouse.SetLowLevelHook([&](int code, std::uintptr_t message, const auto& event) {
    ++calls;
    return mouse.CallNextHook(0, code, message, event);
  });
  ASSERT_NE(hook, 0u);
  const auto down = [](int key) { return (::GetAsyncKeyState(key) & 0x8000) != 0; };
  // The user's own left press and a right latch of ours are both down.
  ASSERT_EQ(mouse.Inject({{WM_LBUTTONDOWN, std::nullopt, 0}, {WM_RBUTTONDOWN, std::nullopt, 0}}, 0), 2u);
  ASSERT_TRUE(win32test::PumpUntil(platform.Pump(), [&] { return down(VK_LBUTTON) && down(VK_RBUTTON); }));
  mouse.NoteKeptDown(2);  // the secondary button

  win32::Win32MouseInput::LetGoOnTheWayOut();
  EXPECT_TRUE(win32test::PumpUntil(platform.Pump(), [&] { return !down(VK_RBUTTON); }));
  EXPECT_TRUE(down(VK_LBUTTON)) << "the user's own press was let go of";
  EXPECT_FALSE(mouse.Unhook(hook)) << "the hook was still there";
  const int before = calls;
  mouse.Inject({{WM_MOUSEMOVE, rt::ScreenPoint{5, 5}, 0}, {WM_LBUTTONUP, std::nullopt, 0}}, 0);
  win32test::PumpUntil(platform.Pump(), [&] { return false; }, std::chrono::milliseconds(200));
  EXPECT_EQ(calls, before) << "our procedure still ran";
  EXPECT_FALSE(down(VK_LBUTTON));
}

// A hook procedure that fails: its event passes on, and the failure reaches the program on
// the window's thread, once, with the process still there to say so.
TEST(HookFailureTest, IsReportedOnTheWindowsThreadAndTheEventPasses) {
  struct Recorder : rt::UnhandledFailureSink {
    void OnUnhandledFailure(const std::exception& failure) noexcept override {
      threads.push_back(::GetCurrentThreadId());
      what = failure.what();
    }
    std::vector<DWORD> threads;
    std::string what;
  } recorder;
  int endings = 0;
  win32::ScopedFailureEnding ending([&] { ++endings; });
  win32::Win32Platform platform{::GetModuleHandleW(nullptr)};
  platform.RouteFailuresTo(recorder);
  rt::MouseInput& mouse = platform.Bundle().mouse;
  const rt::HookHandle hook = mouse.SetLowLevelHook([](int, std::uintptr_t message, const auto&) -> std::intptr_t {
    if (message == WM_LBUTTONDOWN) throw std::runtime_error("the hook failed");
    return 0;
  });
  ASSERT_NE(hook, 0u);
  const auto down = [] { return (::GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0; };
  ASSERT_EQ(mouse.Inject({{WM_LBUTTONDOWN, std::nullopt, 0}}, 0), 1u);
  EXPECT_TRUE(win32test::PumpUntil(platform.Pump(), [&] { return !recorder.threads.empty(); }));
  EXPECT_TRUE(down()) << "the failing hook's event did not pass on";
  ASSERT_EQ(recorder.threads.size(), 1u);
  EXPECT_EQ(recorder.threads[0], ::GetCurrentThreadId()) << "reported on the hook's own thread";
  EXPECT_EQ(recorder.what, "the hook failed");
  EXPECT_EQ(endings, 1);
  mouse.Unhook(hook);
  mouse.Inject({{WM_LBUTTONUP, std::nullopt, 0}}, 0);
  EXPECT_TRUE(win32test::PumpUntil(platform.Pump(), [&] { return !down(); }));
  win32::ResetFailureHandlingForTesting();
}

}  // namespace
