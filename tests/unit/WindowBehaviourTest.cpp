// The main window after start-up: minimising takes it into the tray (with a balloon only the
// first time), closing takes the icon and the hook away and ends the program at once.
#include <gtest/gtest.h>

#include "runtime/Failure.h"
#include "unit/ProgramFixture.h"

namespace {

constexpr std::uint32_t kLDown = 0x0201, kLUp = 0x0202;
constexpr rt::WindowHandle kControlWindow = 0x2001;

class WindowBehaviourTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    ShowWindow();
    trayCallsAfterStart = fakes.tray.calls.size();
  }
  void MinimiseByUser() { form.Me.WindowStateChangedBySystem(rt::windowstate::kMinimized); }
  std::vector<fake::FakeNotifyIcons::Call> BalloonsSent() const {
    std::vector<fake::FakeNotifyIcons::Call> result;
    for (const auto& call : fakes.tray.calls)
      if (call.command == rt::nim::kModify && call.record.uFlags == rt::nif::kInfo && call.record.szInfo[0] != 0)
        result.push_back(call);
    return result;
  }
  std::size_t Count(std::uint32_t command) const {
    std::size_t n = 0;
    for (const auto& call : fakes.tray.calls) n += call.command == command;
    return n;
  }
  std::size_t Injected(std::uint32_t message) const {
    std::size_t n = 0;
    for (const auto& i : fakes.mouse.injections) n += i.message == message;
    return n;
  }
  std::size_t trayCallsAfterStart = 0;
};

TEST_F(WindowBehaviourTest, FirstMinimiseHidesTheWindowIntoTheTrayWithABalloon) {
  ASSERT_EQ(Count(rt::nim::kAdd), 1u);  // start-up put the icon in the tray
  MinimiseByUser();

  EXPECT_FALSE(form.Me.Visible());
  EXPECT_EQ(form.Me.WindowState(), rt::windowstate::kNormal);  // comes back normal, not minimised
  EXPECT_TRUE(program.State().HiddenInTray);
  const auto balloons = BalloonsSent();
  ASSERT_EQ(balloons.size(), 1u);
  const auto& record = balloons[0].record;
  const std::u16string text =
      u"has been minimized to the system tray.\r\nClick on the blue 'K' icon (K for Kestrova) to bring the software "
      u"back.";
  EXPECT_EQ(std::u16string(record.szInfo.data(), text.size() + 1), text + u'\0');
  EXPECT_EQ(std::u16string(record.szInfoTitle.data(), 9), std::u16string(u"Vornatic\0", 9));
  EXPECT_EQ(record.uTimeout, 5000u);
  EXPECT_EQ(record.hWnd, kControlWindow);
  EXPECT_EQ(fakes.clock.Now(), 0.0) << "nothing waits for the balloon";
}

TEST_F(WindowBehaviourTest, LaterMinimisesHideAtOnceWithoutABalloon) {
  MinimiseByUser();
  std::int16_t button = 1;
  std::int32_t id = 0;
  form.cSysTray1_MouseUp(button, id);
  const double before = fakes.clock.Now();
  MinimiseByUser();
  EXPECT_FALSE(form.Me.Visible());
  EXPECT_TRUE(program.State().HiddenInTray);
  EXPECT_EQ(BalloonsSent().size(), 1u);
  EXPECT_EQ(fakes.clock.Now(), before);
}

TEST_F(WindowBehaviourTest, RestoreAndMinimiseWhileTheBalloonShowsHidesAgainWithoutASecondBalloon) {
  MinimiseByUser();
  fakes.pump.At(1.0, [&] {
    fakes.windowProcs.Send(kControlWindow, cSysTray::TrayCallbackMessage, 0, 514);
    EXPECT_TRUE(form.Me.Visible());
    MinimiseByUser();
  });
  fakes.pump.RunUntil(2.0);
  EXPECT_FALSE(form.Me.Visible());
  EXPECT_TRUE(program.State().HiddenInTray);
  EXPECT_EQ(BalloonsSent().size(), 1u);
}

TEST_F(WindowBehaviourTest, MinimiseWhileAlreadyHiddenInTheTrayChangesNothing) {
  MinimiseByUser();
  ASSERT_TRUE(program.State().HiddenInTray);
  form.Me.SetVisible(true);  // shown again by other means than the tray, which clears the flag
  trayCallsAfterStart = fakes.tray.calls.size();
  MinimiseByUser();
  EXPECT_TRUE(form.Me.Visible());
  EXPECT_EQ(form.Me.WindowState(), rt::windowstate::kMinimized);
  EXPECT_EQ(fakes.tray.calls.size(), trayCallsAfterStart);
}

TEST_F(WindowBehaviourTest, ClosingRemovesTheIconAndTheHookAndEndsTheProgram) {
  EXPECT_THROW(form.Me.RequestClose(rt::closereason::kUser), rt::ProgramEnded);
  EXPECT_TRUE(fakes.app.ended);
  ASSERT_EQ(Count(rt::nim::kDelete), 1u);
  EXPECT_EQ(fakes.tray.calls.back().command, rt::nim::kDelete);
  EXPECT_EQ(fakes.windowProcs.current.at(kControlWindow), fake::FakeWindowProcs::OriginalProcOf(kControlWindow));
  EXPECT_FALSE(fakes.mouse.HookInstalled());  // there was none: nothing to remove, and nothing said
  EXPECT_TRUE(fakes.dialogs.shown.empty());
  EXPECT_TRUE(fakes.mouse.injections.empty());  // no button was held, none is released
}

TEST_F(WindowBehaviourTest, CloseIsNeverRefusedAndPumpsTwice) {
  for (int reason : {rt::closereason::kUser, rt::closereason::kCode, rt::closereason::kWindowsEnding}) {
    int cancel = 0;
    int mode = reason;
    form.Form_QueryUnload(cancel, mode);
    EXPECT_EQ(cancel, 0);
  }
  // Messages already waiting are handled before the window goes.
  int ran = 0;
  fakes.pump.Post([&] { ++ran; });
  int cancel = 0, mode = 0;
  form.Form_QueryUnload(cancel, mode);
  EXPECT_EQ(ran, 1);
}

TEST_F(WindowBehaviourTest, AFailureTakingTheIconAwayIsReportedAndTheHookStillGoes) {
  form.cSysTray1Site.PropertyChanged.Handle([](std::wstring) { throw rt::Failure(L"Shell not answering"); });
  ClickStartStopAt(0);  // auto-drag on: a hook to remove
  fakes.pump.At(8.0, [&] { form.Me.RequestClose(rt::closereason::kUser); });
  EXPECT_THROW(fakes.pump.RunUntil(9.0), rt::ProgramEnded);
  ASSERT_EQ(fakes.dialogs.shown.size(), 1u);
  EXPECT_EQ(fakes.dialogs.shown[0].text,
            L"Shell not answering\r\nin Vornix2021/08/31.Form1.Form_QueryUnload at line 100\r\r"
            L"Please email screenshot of this message to support@kestrova.example");
  EXPECT_FALSE(fakes.mouse.HookInstalled());
  EXPECT_TRUE(fakes.app.ended);
}

// Closing gives up like a Stop: the item goes back to where it was picked up, at once, and
// the pointer comes back to the hand.
TEST_F(WindowBehaviourTest, ClosingDuringAutoDragWithTheButtonHeldPutsItBackAndEnds) {
  ClickStartStopAt(0);
  fakes.mouse.UserClickAt(8.0, {100, 100});  // pick up
  fakes.mouse.UserMoveAt(9.0, {150, 150});
  fakes.pump.At(10.0, [&] {
    ASSERT_TRUE(form.Drag().ButtonHeld());
    form.Me.RequestClose(rt::closereason::kUser);  // dispatched inside the auto-drag loop
  });
  EXPECT_THROW(fakes.pump.RunUntil(20.0), rt::ProgramEnded);

  EXPECT_TRUE(fakes.app.ended);
  EXPECT_FALSE(fakes.mouse.HookInstalled());
  EXPECT_EQ(fakes.tray.calls.back().command, rt::nim::kDelete);
  ASSERT_EQ(fakes.mouse.injections.size(), 2u);
  const auto& release = fakes.mouse.injections.front();
  EXPECT_EQ(release.message, rt::msg::kLButtonUp);
  EXPECT_EQ(release.extraInfo, modMouse::kInjectedTag);
  EXPECT_EQ(release.point, (rt::ScreenPoint{100, 100}));
  EXPECT_EQ(release.at, 10.0);  // at once, on the way out
  EXPECT_EQ(fakes.mouse.injections.back().point, (rt::ScreenPoint{150, 150}));
  EXPECT_FALSE(mouse.HoldingButton());
  EXPECT_FALSE(fakes.mouse.LeftButtonDown());
}

TEST_F(WindowBehaviourTest, ClosingWithoutAHeldButtonInjectsNothing) {
  ClickStartStopAt(0);
  fakes.pump.At(8.0, [&] { form.Me.RequestClose(rt::closereason::kUser); });
  EXPECT_THROW(fakes.pump.RunUntil(20.0), rt::ProgramEnded);
  EXPECT_TRUE(fakes.mouse.injections.empty());
  EXPECT_TRUE(fakes.mouse.DeliveredOf(kLDown).empty());
  EXPECT_TRUE(fakes.mouse.DeliveredOf(kLUp).empty());
}

TEST_F(WindowBehaviourTest, PointerGoesBackToTheArrowOverBackgroundAndFramesUnlessHourglass) {
  rt::MouseMoveArgs move;
  for (rt::Event<rt::MouseMoveArgs>* event : {&form.Me.MouseMove, &form.Frame1.MouseMove, &form.Frame2.MouseMove}) {
    form.Me.SetMousePointer(rt::pointer::kCustom);
    event->Raise(move);
    EXPECT_EQ(form.Me.MousePointer(), rt::pointer::kDefault);
    form.Me.SetMousePointer(rt::pointer::kHourglass);
    event->Raise(move);
    EXPECT_EQ(form.Me.MousePointer(), rt::pointer::kHourglass);
  }
}

}  // namespace
