// What the session does around the program: the user leaving the desktop (a lock, sleep, a
// user switch) ends auto-drag as Stop does, whatever phase it is in; a second start brings
// the window back; a drag started by the shortcut from the tray brings the window back as a
// window.
#include <gtest/gtest.h>

#include "unit/ProgramFixture.h"

namespace {

constexpr std::uint32_t kLDown = 0x0201, kLUp = 0x0202;
constexpr double kAfterBalloon = 10.0;
constexpr rt::WindowHandle kControlWindow = 0x2001;
const rt::Shortcut kWinShiftD{true, false, false, true, 'D'};

enum class Phase { Off, WaitingForPickUp, Holding };

class LeavingTheDesktopTest : public ProgramTest, public ::testing::WithParamInterface<Phase> {};

TEST_P(LeavingTheDesktopTest, EndsAutoDragAsStopDoesAndTheNextClickIsOrdinary) {
  ShowWindow();
  if (GetParam() != Phase::Off) ClickStartStopAt(0);
  if (GetParam() == Phase::Holding) fakes.mouse.UserClickAt(kAfterBalloon, {100, 100});
  fakes.pump.At(kAfterBalloon + 1.9, [&] {
    ASSERT_EQ(form.Drag().IsOn(), GetParam() != Phase::Off);
    ASSERT_EQ(mouse.HoldingButton(), GetParam() == Phase::Holding);
  });
  fakes.session.LeaveAt(kAfterBalloon + 2);
  fakes.pump.RunUntil(kAfterBalloon + 3);

  EXPECT_EQ(form.PushButton2.Caption(), L"Start Autodrag");
  EXPECT_EQ(form.Label1.Caption(), L"Auto-drag is off.");
  EXPECT_FALSE(fakes.mouse.HookInstalled());
  EXPECT_FALSE(mouse.HoldingButton());
  EXPECT_FALSE(fakes.mouse.LeftButtonDown()) << "the button is up when the user comes back";
  EXPECT_TRUE(form.Me.Visible());
  EXPECT_FALSE(program.State().HiddenInTray);
  EXPECT_TRUE(fakes.dialogs.shown.empty());
  if (GetParam() == Phase::Holding) {
    std::vector<fake::InjectedMouseEvent> releasedThen;
    for (const auto& release : fakes.mouse.InjectedOf(kLUp))
      if (release.at == kAfterBalloon + 2) releasedThen.push_back(release);
    ASSERT_EQ(releasedThen.size(), 1u) << "what was held goes back at once, with one release";
    EXPECT_EQ(releasedThen[0].extraInfo, modMouse::kInjectedTag);
  } else {
    EXPECT_TRUE(fakes.mouse.injections.empty()) << "nothing was held, nothing is released";
  }

  // Back at the desk: the first click is the user's own, at once and untouched.
  const std::size_t injectedBefore = fakes.mouse.injections.size();
  fakes.mouse.UserClickAt(kAfterBalloon + 5, {300, 200});
  fakes.pump.RunUntil(kAfterBalloon + 6);
  const auto presses = fakes.mouse.DeliveredOf(kLDown);
  const auto releases = fakes.mouse.DeliveredOf(kLUp);
  ASSERT_FALSE(presses.empty());
  ASSERT_FALSE(releases.empty());
  EXPECT_EQ(presses.back().point, (rt::ScreenPoint{300, 200}));
  EXPECT_FALSE(releases.back().injected);
  EXPECT_NEAR(releases.back().at, kAfterBalloon + 5.1, 1e-9) << "not held back";
  EXPECT_EQ(fakes.mouse.injections.size(), injectedBefore);
  EXPECT_EQ(form.PushButton2.Caption(), L"Start Autodrag");
}

INSTANTIATE_TEST_SUITE_P(EveryPhase, LeavingTheDesktopTest,
                         ::testing::Values(Phase::Off, Phase::WaitingForPickUp, Phase::Holding), [](const auto& info) {
                           switch (info.param) {
                             case Phase::Off:
                               return "Off";
                             case Phase::WaitingForPickUp:
                               return "WaitingForPickUp";
                             default:
                               return "Holding";
                           }
                         });

class SessionTest : public ProgramTest {
 protected:
  void MinimiseByUser() { form.Me.WindowStateChangedBySystem(rt::windowstate::kMinimized); }
};

TEST_F(SessionTest, ASecondStartBringsTheWindowBackFromTheTrayAsATrayClickDoes) {
  ShowWindow();
  ASSERT_TRUE(fakes.session.Listening());
  MinimiseByUser();
  ASSERT_FALSE(form.Me.Visible());
  fakes.session.StartAgainAt(fakes.clock.Now() + 1);
  fakes.pump.RunUntil(fakes.clock.Now() + 2);
  EXPECT_TRUE(form.Me.Visible());
  EXPECT_EQ(form.Me.WindowState(), rt::windowstate::kNormal);
  EXPECT_FALSE(program.State().HiddenInTray);
  // Into the tray again afterwards, as after a tray click.
  MinimiseByUser();
  EXPECT_FALSE(form.Me.Visible());
  EXPECT_TRUE(program.State().HiddenInTray);
}

TEST_F(SessionTest, AfterAShortcutStartFromTheTrayTheWindowComesBackAsAWindow) {
  ShowWindow();
  MinimiseByUser();  // with the first balloon, so the shortcut's start has none
  double inTray = fakes.clock.Now();
  fakes.shortcuts.PressAt(inTray + 1, kWinShiftD);
  fakes.mouse.UserClickAt(inTray + 3, {100, 100});
  fakes.mouse.UserClickAt(inTray + 5, {200, 150});
  fakes.pump.RunUntil(inTray + 7);
  EXPECT_EQ(form.PushButton2.Caption(), L"Start Autodrag");
  EXPECT_TRUE(form.Me.Visible());
  EXPECT_EQ(form.Me.WindowState(), rt::windowstate::kNormal) << "back on the screen, not minimised on the taskbar";
  EXPECT_FALSE(program.State().HiddenInTray);
  EXPECT_EQ(fakes.mouse.DeliveredOf(kLUp).back().point, (rt::ScreenPoint{200, 150})) << "the drag itself worked";

  // A click on the tray icon while such a drag waits brings the window back as a window too.
  MinimiseByUser();
  inTray = fakes.clock.Now();
  fakes.shortcuts.PressAt(inTray + 1, kWinShiftD);
  fakes.pump.At(inTray + 2, [&] { fakes.windowProcs.Send(kControlWindow, cSysTray::TrayCallbackMessage, 0, 514); });
  fakes.pump.At(inTray + 3, [&] {
    EXPECT_TRUE(form.Me.Visible());
    EXPECT_EQ(form.Me.WindowState(), rt::windowstate::kNormal) << "shown minimised on the taskbar";
  });
  fakes.session.LeaveAt(inTray + 4);  // ends auto-drag, whether the tray click did or not
  fakes.pump.RunUntil(inTray + 5);
  EXPECT_EQ(form.Me.WindowState(), rt::windowstate::kNormal);
}

}  // namespace
