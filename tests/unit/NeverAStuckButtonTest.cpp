// The promise this program cannot break, in the sequences that once broke it: whatever comes
// between (a failure in the hook, the shortcut, a lock, a lost hook, close), no button stays
// down in applications that the user does not hold, and no release reaches them without its
// press. Written as what applications see.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/Failure.h"
#include "unit/ProgramFixture.h"

namespace {

constexpr std::uint32_t kLDown = 0x0201, kLUp = 0x0202, kRDown = 0x0204, kRUp = 0x0205, kMDown = 0x0207,
                        kMUp = 0x0208;
constexpr rt::ScreenRect kOwnWindow{300, 300, 840, 520};
const rt::Shortcut kWinShiftD{true, false, false, true, 'D'};

class NeverAStuckButtonTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    fakes.mouse.ownWindow = kOwnWindow;
  }
  void Store(const wchar_t* key, const wchar_t* value) {
    SettingsStore(fakes.registry, fakes.dialogs, L"Vornatic").SaveSetting(L"Kestrova", L"Vornatic", key, value);
  }
  std::vector<std::wstring> Balloons() const {
    std::vector<std::wstring> texts;
    for (const auto& call : fakes.tray.calls)
      if (call.command == rt::nim::kModify && (call.record.uFlags & rt::nif::kInfo) && call.record.szInfo[0] != 0)
        texts.emplace_back(std::wstring(call.record.szInfo.begin(), call.record.szInfo.end()).c_str());
    return texts;
  }
  bool NothingDown() const {
    return !fakes.mouse.LeftButtonDown() && !fakes.mouse.DownForApplications(kRDown, kRUp) &&
           !fakes.mouse.DownForApplications(kMDown, kMUp);
  }
};

// A failure inside the hook: the event passes, what was held is let go, and the failure is
// reported on the window's thread by a process still there to do it.
TEST_F(NeverAStuckButtonTest, AFailureInTheHookLetsGoAndIsReportedOnTheWindowsThread) {
  ShowWindow();
  ClickStartStopAt(0);
  fakes.mouse.UserClickAt(1, {100, 100});
  fakes.mouse.UserMoveAt(1.5, {300, 200});
  fakes.pump.At(1.9, [&] { fakes.mouse.throwOnNextWindowLook = true; });
  fakes.mouse.UserEventAt(2.0, kLDown, rt::ScreenPoint{300, 200});
  EXPECT_THROW(fakes.pump.RunUntil(3), rt::ProgramEnded);

  EXPECT_EQ(fakes.mouse.Seen(), "D@100,100 M@300,200 D@300,200 U@300,200*");
  EXPECT_TRUE(fakes.app.ended);
  ASSERT_EQ(fakes.dialogs.shown.size(), 1u);
  EXPECT_NE(fakes.dialogs.shown[0].text.find(L"could not be found"), std::wstring::npos);
  EXPECT_FALSE(fakes.mouse.HookInstalled());
  EXPECT_EQ(fakes.mouse.keptDown, 0);
}

// The lock comes after the input desktop has changed, so the put-back is refused; it is kept
// and done on the return, before the user's first click there, which is an ordinary click.
TEST_F(NeverAStuckButtonTest, APutBackRefusedOnTheLockScreenIsDoneOnTheReturn) {
  ShowWindow();
  ClickStartStopAt(0);
  fakes.mouse.UserClickAt(1, {10, 10});
  fakes.mouse.UserMoveAt(1.5, {20, 20});
  fakes.LockScreenAt(2);
  fakes.pump.At(2.5, [&] { EXPECT_EQ(fakes.mouse.keptDown, 1) << "owed, and a crash would let go of it"; });
  fakes.UnlockScreenAt(30);
  fakes.mouse.UserClickAt(31, {40, 40});
  ClickStartStopAt(33);
  fakes.mouse.UserClickAt(34, {50, 50});
  fakes.mouse.UserClickAt(35, {60, 60});
  fakes.pump.RunUntil(36);

  EXPECT_EQ(fakes.mouse.Seen(), "D@10,10 M@20,20 U@10,10* D@40,40 U@40,40 D@50,50 M@60,60 U@60,60");
  EXPECT_TRUE(fakes.dialogs.shown.empty()) << "a refusal while away is no trouble to report";
  EXPECT_TRUE(NothingDown());
}

// Refused on the desktop itself: said, and tried again at the user's next press of that
// button, a click that reaches nothing, since applications still see the button down.
TEST_F(NeverAStuckButtonTest, APutBackRefusedOnTheDesktopIsTriedAgainAtTheNextPress) {
  ShowWindow();
  ClickStartStopAt(0);
  fakes.mouse.UserClickAt(1, {10, 10});
  fakes.mouse.UserMoveAt(1.5, {20, 20});
  // Refused for a while with no word from the session, as a program of a higher level in
  // the foreground does.
  fakes.pump.At(1.9, [&] { fakes.mouse.desktopLocked = true; });
  fakes.shortcuts.PressAt(2, kWinShiftD);
  fakes.pump.At(2.5, [&] { fakes.mouse.desktopLocked = false; });
  fakes.mouse.UserClickAt(3, {30, 30});
  fakes.pump.RunUntil(4);
  EXPECT_EQ(fakes.mouse.Seen(), "D@10,10 M@20,20 M@30,30 U@10,10*");
  ASSERT_EQ(fakes.dialogs.shown.size(), 1u);
  EXPECT_NE(fakes.dialogs.shown[0].text.find(L"did not let Vornatic press or release"), std::wstring::npos);
  EXPECT_TRUE(NothingDown());
  EXPECT_EQ(fakes.mouse.keptDown, 0);
}

// Pressed to drop, and given up before letting go (the shortcut, a lock): the put-back lets
// go at the pick-up, and the hand's own release then reaches nothing. Closed meanwhile: the
// hand's own release lets go, and nothing of ours comes before it.
TEST_F(NeverAStuckButtonTest, AReleaseAfterTheDropPressNeverFollowsThePutBack) {
  ShowWindow();
  struct Way {
    const char* name;
    std::function<void(double)> giveUp;
  };
  const Way ways[] = {
      {"shortcut", [&](double t) { fakes.shortcuts.PressAt(t, kWinShiftD); }},
      {"lock", [&](double t) { fakes.session.LeaveAt(t); }},
      {"close", [&](double t) { fakes.pump.At(t, [&] { form.Me.RequestClose(rt::closereason::kUser); }); }},
  };
  double t = 0;
  for (const Way& way : ways) {
    const std::size_t from = fakes.mouse.delivered.size();
    ClickStartStopAt(t);
    fakes.mouse.UserClickAt(t + 1, {100, 100});
    fakes.mouse.UserEventAt(t + 2, kLDown, rt::ScreenPoint{300, 200});
    way.giveUp(t + 2.5);
    fakes.mouse.UserEventAt(t + 3, kLUp, rt::ScreenPoint{300, 200});
    try {
      fakes.pump.RunUntil(t + 4);
    } catch (const rt::ProgramEnded&) {
      fakes.pump.RunUntil(t + 4);  // the hand goes on after the program has gone
    }
    const bool closed = std::string(way.name) == "close";
    EXPECT_EQ(fakes.mouse.Seen(from), closed ? "D@100,100 M@300,200 U@300,200" : "D@100,100 M@300,200 U@100,100*")
        << way.name;
    EXPECT_TRUE(NothingDown()) << way.name;
    t += 10;
  }
}

// A right latch: a click of any button on our window gives it up, and that click works
// nothing there; a crash meanwhile would let go of the secondary button, and of nothing the
// user holds.
TEST_F(NeverAStuckButtonTest, EveryWayOfGivingUpWorksForEveryHeldButton) {
  Store(L"Latch", L"800");
  Store(L"LatchRight", L"On");
  ShowWindow();
  fakes.mouse.UserEventAt(1, kRDown, rt::ScreenPoint{100, 100});
  fakes.mouse.UserEventAt(2, kRUp, rt::ScreenPoint{100, 100});
  fakes.mouse.UserEventAt(3, kLDown, rt::ScreenPoint{150, 150});
  fakes.pump.At(3.5, [&] { EXPECT_EQ(fakes.mouse.keptDown, 2) << "the right button alone"; });
  fakes.mouse.UserEventAt(4, kLUp, rt::ScreenPoint{150, 150});
  fakes.mouse.UserClickAt(5, {400, 400});
  fakes.pump.RunUntil(6);

  EXPECT_EQ(fakes.mouse.Seen(), "d@100,100 m@150,150 D@150,150 U@150,150 m@400,400 u@100,100*");
  EXPECT_FALSE(mouse.HoldingButton());
  EXPECT_EQ(fakes.mouse.keptDown, 0);
  EXPECT_TRUE(NothingDown());
}

// The middle button latches like the right one when chosen, and goes back the same way.
TEST_F(NeverAStuckButtonTest, TheMiddleButtonLatchesWhenChosen) {
  Store(L"Latch", L"600");
  ShowWindow();
  fakes.pump.At(0.5, [&] { mouse.SetLatch({std::chrono::milliseconds(600), false, true}); });
  fakes.mouse.UserEventAt(1, kMDown, rt::ScreenPoint{100, 100});
  fakes.mouse.UserEventAt(1.7, kMUp, rt::ScreenPoint{100, 100});
  fakes.pump.At(1.8, [&] {
    EXPECT_TRUE(mouse.HoldingButton());
    EXPECT_EQ(fakes.badge.button, rt::HeldButton::Middle);
  });
  fakes.mouse.UserMoveAt(2, {200, 200});
  fakes.shortcuts.PressAt(3, kWinShiftD);
  fakes.pump.RunUntil(4);
  EXPECT_TRUE(NothingDown());
  ASSERT_EQ(fakes.mouse.InjectedOf(kMUp).size(), 1u);
  EXPECT_EQ(fakes.mouse.InjectedOf(kMUp)[0].point, (rt::ScreenPoint{100, 100}));
  // Turned off with nothing held: no hook stays behind to cost anything.
  mouse.SetLatch({});
  EXPECT_FALSE(fakes.mouse.HookInstalled());
}

// A busy window thread runs its timers late: the latch is decided by the events' own times
// all the same, and the badge catches up with the hold.
TEST_F(NeverAStuckButtonTest, LateTimersMakeTheBadgeLateNeverTheLatch) {
  Store(L"Latch", L"800");
  ShowWindow();
  fakes.pump.timersLate = 3.0;
  fakes.mouse.UserEventAt(1, kLDown, rt::ScreenPoint{100, 100});
  fakes.mouse.UserEventAt(1.8, kLUp, rt::ScreenPoint{100, 100});
  fakes.pump.At(1.85, [&] {
    EXPECT_TRUE(mouse.HoldingButton()) << "released at exactly the hold time, before any timer ran";
    EXPECT_TRUE(fakes.badge.visible);
  });
  fakes.mouse.UserClickAt(2.5, {300, 200});
  fakes.pump.RunUntil(8);
  EXPECT_EQ(fakes.mouse.Seen(), "D@100,100 M@300,200 U@300,200");
  EXPECT_FALSE(fakes.badge.visible) << "a late fill timer brought back no badge";

  // A press filling towards the latch whose release went by while Windows had the hook
  // away: once that is noticed, the badge goes.
  fakes.pump.timersLate = 0;
  fakes.mouse.UserEventAt(10, kLDown, rt::ScreenPoint{100, 100});
  fakes.mouse.TakeHooksAwayAt(10.6);
  fakes.pump.At(10.65, [&] { EXPECT_TRUE(fakes.badge.visible); });
  fakes.mouse.UserEventAt(10.7, kLUp, rt::ScreenPoint{100, 100});
  fakes.pump.RunUntil(12);
  EXPECT_FALSE(fakes.badge.visible);
  EXPECT_TRUE(NothingDown());
}

// The taskbar is made anew and our icon stands elsewhere: a click on it there gives up.
TEST_F(NeverAStuckButtonTest, AClickOnTheIconWhereTheNewTaskbarPutItGivesUp) {
  fakes.tray.iconRect = rt::ScreenRect{1000, 740, 1020, 760};
  ShowWindow();
  ClickStartStopAt(0);
  fakes.mouse.UserClickAt(1, {100, 100});
  fakes.pump.At(1.5, [&] {
    fakes.tray.iconRect = rt::ScreenRect{900, 740, 920, 760};
    form.cSysTray1Site.TaskbarCreated.Raise();
  });
  fakes.mouse.UserClickAt(2, {910, 750});
  fakes.pump.RunUntil(3);
  EXPECT_EQ(fakes.mouse.Seen(), "D@100,100 M@910,750 U@100,100*");
  EXPECT_FALSE(form.Drag().IsOn());
}

// Windows takes the latch's hook away and will not take it back: the user hears so once,
// the tip no longer promises the latch, and the next Start begins clean.
TEST_F(NeverAStuckButtonTest, ALatchThatCannotWatchSaysSoAndTheNextStartIsClean) {
  Store(L"Latch", L"800");
  ShowWindow();
  fakes.mouse.TakeHooksAwayAt(1);
  fakes.pump.At(1.5, [&] { fakes.mouse.failNextHook = true; });
  fakes.mouse.UserClickAt(2, {10, 10});
  fakes.pump.RunUntil(4);
  EXPECT_EQ(Balloons(), std::vector<std::wstring>{L"Windows did not let Vornatic watch the mouse, so the latch is off."});
  EXPECT_EQ(form.cSysTray1.TrayTip(), L"Vornatic");
  EXPECT_FALSE(mouse.LatchOn());

  const std::size_t from = fakes.mouse.delivered.size();
  ClickStartStopAt(5);
  fakes.mouse.UserClickAt(6, {100, 100});
  fakes.mouse.UserClickAt(7, {200, 200});
  fakes.pump.RunUntil(8);
  EXPECT_EQ(fakes.mouse.Seen(from), "D@100,100 M@200,200 U@200,200");
  EXPECT_TRUE(fakes.dialogs.shown.empty());
}

// A Start's drag loses its hook while the latch is on: the give-up puts the hook back, so
// the very next press held still latches.
TEST_F(NeverAStuckButtonTest, TheLatchWatchesAgainAtOnceAfterAStartLostItsHook) {
  Store(L"Latch", L"800");
  ShowWindow();
  ClickStartStopAt(0);
  fakes.mouse.UserClickAt(1, {100, 100});
  fakes.mouse.TakeHooksAwayAt(1.5);
  fakes.mouse.UserEventAt(2, kRDown, rt::ScreenPoint{100, 100});
  fakes.mouse.UserEventAt(2.1, kRUp, rt::ScreenPoint{100, 100});
  fakes.pump.RunUntil(4);
  fakes.dialogs.shown.clear();
  ASSERT_TRUE(fakes.mouse.HookInstalled());

  const std::size_t from = fakes.mouse.delivered.size();
  fakes.mouse.UserEventAt(5, kLDown, rt::ScreenPoint{50, 50});
  fakes.mouse.UserEventAt(6, kLUp, rt::ScreenPoint{50, 50});
  fakes.mouse.UserClickAt(7, {60, 60});
  fakes.pump.RunUntil(8);
  EXPECT_EQ(fakes.mouse.Seen(from), "D@50,50 M@60,60 U@60,60");
}

// The watch for a lost hook could not be set up: said once, and the hook works regardless.
TEST_F(NeverAStuckButtonTest, ALostHookWatchThatCannotBeSetUpIsSaidOnce) {
  ShowWindow();
  fakes.mouse.rawInputRefused = true;
  for (double t : {0.0, 5.0}) {
    ClickStartStopAt(t);
    fakes.mouse.UserClickAt(t + 1, {100, 100});
    fakes.mouse.UserClickAt(t + 2, {200, 200});
  }
  fakes.pump.RunUntil(10);
  ASSERT_EQ(Balloons().size(), 2u) << "the tray balloon, and one notice";
  EXPECT_NE(Balloons()[1].find(L"could not tell you"), std::wstring::npos);
  EXPECT_EQ(fakes.mouse.Seen(), "D@100,100 M@200,200 U@200,200 D@100,100 M@200,200 U@200,200");
}

// A click on our own window is forgotten with its release: a pick-up whose press the hook
// missed (it came back in between) is taken where it was released, and the give-up lets
// go there, not on our window.
TEST_F(NeverAStuckButtonTest, APickUpNeverTakesAnOlderPressAsItsPoint) {
  ShowWindow();
  ClickStartStopAt(0);
  fakes.mouse.UserClickAt(1, {400, 400});
  fakes.pump.At(1.5, [&] { mouse.StartMouseHook(); });
  fakes.pump.At(2, [&] {
    fakes.mouse.Unhook(mouse.MouseHookHandle());
    fakes.mouse.UserEventAt(2.05, kLDown, rt::ScreenPoint{120, 120});
  });
  fakes.pump.At(2.1, [&] { mouse.StartMouseHook(); });
  fakes.mouse.UserEventAt(2.2, kLUp, rt::ScreenPoint{130, 130});
  fakes.shortcuts.PressAt(3, kWinShiftD);
  fakes.pump.RunUntil(4);
  ASSERT_EQ(fakes.mouse.InjectedOf(kLUp).size(), 1u);
  EXPECT_EQ(fakes.mouse.InjectedOf(kLUp)[0].point, (rt::ScreenPoint{130, 130}));
  EXPECT_TRUE(NothingDown());
}

}  // namespace
