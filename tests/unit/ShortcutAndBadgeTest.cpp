// The start/stop shortcut does what the button does; the holding badge shows exactly while
// the button is held for the user, however the drag ends.
#include <gtest/gtest.h>

#include "runtime/Failure.h"
#include "shortcut/ShortcutText.h"
#include "unit/ProgramFixture.h"

namespace {

constexpr double kAfterBalloon = 10.0;
const rt::Shortcut kWinShiftD{true, false, false, true, 'D'};

TEST(ShortcutTextTest, ReadsWhatPeopleWriteAndRefusesTheRest) {
  const auto parsed = shortcut_text::Parse(L" win + SHIFT+d ");
  ASSERT_TRUE(parsed.understood);
  EXPECT_EQ(parsed.shortcut, kWinShiftD);
  EXPECT_EQ(shortcut_text::Describe(*parsed.shortcut), L"Win+Shift+D");
  EXPECT_EQ(shortcut_text::Describe(*shortcut_text::Parse(L"Ctrl+Alt+F12").shortcut), L"Ctrl+Alt+F12");
  EXPECT_EQ(shortcut_text::Describe(*shortcut_text::Parse(L"alt+f24").shortcut), L"Alt+F24");
  EXPECT_EQ(shortcut_text::Parse(L"ctrl+7").shortcut->key, static_cast<std::uint32_t>('7'));

  const auto none = shortcut_text::Parse(L"none");
  EXPECT_TRUE(none.understood);
  EXPECT_FALSE(none.shortcut);

  for (const wchar_t* bad : {L"", L"D", L"Win+", L"Win+Shift", L"Win+Win+D", L"Hyper+D", L"Ctrl+F25", L"Ctrl+F0",
                             L"Ctrl+Esc", L"Win+Shift+DD"})
    EXPECT_FALSE(shortcut_text::Parse(bad).understood) << std::wstring(bad).size();
}

// The texts of the balloons the tray icon was asked to show.
std::vector<std::wstring> BalloonTexts(const fake::FakePlatform& fakes) {
  std::vector<std::wstring> texts;
  for (const auto& call : fakes.tray.calls)
    if (call.command == rt::nim::kModify && (call.record.uFlags & rt::nif::kInfo) && call.record.szInfo[0] != 0)
      texts.emplace_back(std::wstring(call.record.szInfo.begin(), call.record.szInfo.end()).c_str());
  return texts;
}

class ShortcutTest : public ProgramTest {
 protected:
  void Store(const wchar_t* key, const wchar_t* value) {
    SettingsStore(fakes.registry, fakes.dialogs, fakes.texts, L"Vornatic")
        .SaveSetting(L"Kestrova", L"Vornatic", key, value);
  }
};

TEST_F(ShortcutTest, StartsAndStopsAutoDragLikeTheButtonAlsoWhileHolding) {
  ShowWindow();
  ASSERT_EQ(fakes.shortcuts.registered, kWinShiftD) << "Win+Shift+D unless the user chose otherwise";
  fakes.shortcuts.PressAt(1.0, kWinShiftD);
  fakes.mouse.UserClickAt(kAfterBalloon, {100, 100});
  fakes.pump.At(kAfterBalloon + 1, [&] {
    EXPECT_FALSE(form.Me.Visible());
    EXPECT_EQ(form.PushButton2.Caption(), L"Stop Autodrag");
    EXPECT_TRUE(fakes.mouse.LeftButtonDown()) << "picked up";
  });
  fakes.shortcuts.PressAt(kAfterBalloon + 2, kWinShiftD);  // stop while holding
  fakes.pump.RunUntil(kAfterBalloon + 3);
  EXPECT_FALSE(fakes.mouse.LeftButtonDown());
  EXPECT_EQ(form.PushButton2.Caption(), L"Start Autodrag");
  EXPECT_TRUE(form.Me.Visible());
  EXPECT_FALSE(fakes.mouse.HookInstalled());
  EXPECT_TRUE(fakes.dialogs.shown.empty());
}

TEST_F(ShortcutTest, ATakenShortcutOrAnUnreadableSettingIsSaidOnceInABalloonAndTheWindowStillWorks) {
  struct Case {
    const wchar_t* stored;
    const wchar_t* said;
  };
  for (const Case c : {Case{nullptr, L"another program already uses it"}, Case{L"Win+Banana", L"not one Vornatic"}}) {
    fake::FakePlatform fakes;
    fakes.shortcuts.heldByOthers.push_back(kWinShiftD);
    if (c.stored)
      SettingsStore(fakes.registry, fakes.dialogs, fakes.texts, L"Vornatic")
          .SaveSetting(L"Kestrova", L"Vornatic", L"Hotkey", c.stored);
    Program program(fakes.platform);
    program.Window().cSysTray1Site.SetHandle(0x2001);
    program.Window().Me.SetHandle(0x1001);
    program.Start();
    EXPECT_FALSE(fakes.shortcuts.registered);
    const std::vector<std::wstring> said = BalloonTexts(fakes);
    ASSERT_EQ(said.size(), 1u);
    EXPECT_NE(said[0].find(c.said), std::wstring::npos) << said[0];
    EXPECT_TRUE(fakes.dialogs.shown.empty()) << "no failure";
    // The window's own button still starts and stops, and the first minimise has its balloon.
    Form1& window = program.Window();
    fakes.pump.At(1, [&] { window.PushButton2.RaiseClick(); });
    fakes.pump.At(20, [&] { EXPECT_EQ(window.Label1.Caption(), L"Auto-drag is on."); });
    fakes.pump.At(21, [&] { window.PushButton2.RaiseClick(); });
    fakes.pump.RunUntil(22);
    EXPECT_EQ(program.Window().Label1.Caption(), L"Auto-drag is off.");
  }
}

TEST_F(ShortcutTest, NoneTurnsTheShortcutOffWithoutAWord) {
  Store(L"Hotkey", L"None");
  ShowWindow();
  EXPECT_FALSE(fakes.shortcuts.registered);
  EXPECT_TRUE(BalloonTexts(fakes).empty());
}

// How a drag can end, and what ends it.
struct Ending {
  const char* name;
  std::function<void(fake::FakePlatform&, Form1&, double)> end;
};

class BadgeTest : public ProgramTest, public ::testing::WithParamInterface<Ending> {};

TEST_P(BadgeTest, ShowsExactlyWhileTheButtonIsHeld) {
  ShowWindow();
  ClickStartStopAt(0);
  fakes.mouse.UserClickAt(kAfterBalloon, {100, 100});  // held from the release at +0.1
  fakes.mouse.UserMoveAt(kAfterBalloon + 1.0, {150, 120});
  fakes.mouse.UserMoveAt(kAfterBalloon + 1.2, {180, 130});
  fakes.pump.At(kAfterBalloon + 0.05, [&] { EXPECT_FALSE(fakes.badge.visible) << "not before the pick-up"; });
  fakes.pump.At(kAfterBalloon + 1.3, [&] {
    EXPECT_TRUE(fakes.badge.visible);
    EXPECT_EQ(fakes.badge.pointer, (rt::ScreenPoint{180, 130})) << "follows the pointer";
  });
  try {
    GetParam().end(fakes, form, kAfterBalloon + 2);
    fakes.pump.RunUntil(kAfterBalloon + 4);
  } catch (const rt::ProgramEnded&) {
    fakes.pump.RunUntil(kAfterBalloon + 4);  // what we injected on the way out still reaches the desktop
  }
  EXPECT_FALSE(fakes.badge.visible);
  EXPECT_FALSE(fakes.mouse.LeftButtonDown());
  // Shown once from the pick-up on, hidden once at the end.
  ASSERT_FALSE(fakes.badge.changes.empty());
  EXPECT_GE(fakes.badge.changes.front().at, kAfterBalloon + 0.1);
  EXPECT_FALSE(fakes.badge.changes.back().visible);
  EXPECT_LE(fakes.badge.changes.back().at, kAfterBalloon + 2.01);
}

INSTANTIATE_TEST_SUITE_P(
    EveryEnding, BadgeTest,
    ::testing::Values(
        Ending{"Drop",
               [](fake::FakePlatform& f, Form1&, double at) {
                 f.mouse.UserClickAt(at - 0.1, {200, 140});
               }},
        Ending{"StopButton", [](fake::FakePlatform& f, Form1& form,
                                double at) { f.pump.At(at, [&form] { form.PushButton2.RaiseClick(); }); }},
        Ending{"StopShortcut", [](fake::FakePlatform& f, Form1&, double at) { f.shortcuts.PressAt(at, kWinShiftD); }},
        Ending{"Close", [](fake::FakePlatform& f, Form1& form,
                           double at) { f.pump.At(at, [&form] { form.Me.RequestClose(rt::closereason::kUser); }); }},
        Ending{"Failure", [](fake::FakePlatform& f, Form1&,
                             double at) { f.pump.At(at, [] { throw rt::Failure(L"Out of memory"); }); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(BadgeTest, FollowsAFastHandOnceAFrameAndStopsWhereItStops) {
  ShowWindow();
  ClickStartStopAt(0);
  fakes.mouse.UserClickAt(kAfterBalloon, {100, 100});
  // A tenth of a second of moves, 500 a second, as a quick hand with a fine mouse makes.
  const double from = kAfterBalloon + 1.0;
  const int kMoves = 50;
  const double lastMove = from + (kMoves - 1) * 0.002;
  for (int i = 0; i < kMoves; ++i) fakes.mouse.UserMoveAt(from + i * 0.002, {110 + i, 100});
  std::size_t changesBefore = 0;
  int ringsBefore = 0;
  fakes.pump.At(from - 0.01, [&] {
    changesBefore = fakes.badge.changes.size();
    ringsBefore = fakes.pump.rings;
  });
  fakes.pump.At(from + 0.3, [&] {
    const auto moved = static_cast<int>(fakes.badge.changes.size() - changesBefore);
    EXPECT_EQ(fakes.badge.pointer, (rt::ScreenPoint{110 + kMoves - 1, 100})) << "ends where the hand stopped";
    EXPECT_TRUE(fakes.badge.changes.back().visible);
    EXPECT_LE(fakes.badge.changes.back().at, lastMove + 0.0165) << "within a frame of the last move";
    // A tenth of a second is six frames and a bit: the badge moves with each, not with each move.
    EXPECT_GE(moved, 6);
    EXPECT_LE(moved, 8);
    EXPECT_LE(fakes.pump.rings - ringsBefore, 1) << "the moves wake the window's thread by its frames, not the hook";
  });
  fakes.mouse.UserClickAt(from + 0.5, {200, 140});
  fakes.pump.RunUntil(from + 1);
  EXPECT_FALSE(fakes.badge.visible);
  EXPECT_EQ(fakes.mouse.DeliveredOf(0x0202).back().point, (rt::ScreenPoint{200, 140})) << "the drag itself worked";
}

TEST_F(BadgeTest, TurnedOffInTheSettingsItNeverShows) {
  SettingsStore(fakes.registry, fakes.dialogs, fakes.texts, L"Vornatic")
      .SaveSetting(L"Kestrova", L"Vornatic", L"Indicator", L"Off");
  ShowWindow();
  ClickStartStopAt(0);
  fakes.mouse.UserClickAt(kAfterBalloon, {100, 100});
  fakes.mouse.UserMoveAt(kAfterBalloon + 1.0, {150, 120});
  fakes.mouse.UserClickAt(kAfterBalloon + 2, {200, 140});
  fakes.pump.RunUntil(kAfterBalloon + 4);
  EXPECT_TRUE(fakes.badge.changes.empty());
  EXPECT_EQ(fakes.mouse.DeliveredOf(0x0202).back().point, (rt::ScreenPoint{200, 140})) << "the drag itself worked";
}

}  // namespace
