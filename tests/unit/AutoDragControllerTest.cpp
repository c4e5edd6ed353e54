// One Start gives one drag: the controller on the fakes, driven by user input scheduled
// on the virtual clock.
#include <gtest/gtest.h>

#include "unit/ProgramFixture.h"

namespace {

constexpr std::uint32_t kLDown = 0x0201, kLUp = 0x0202;
constexpr rt::ScreenRect kTrayIcon{1000, 740, 1020, 760};
constexpr rt::ScreenRect kOwnWindow{300, 300, 840, 520};

class AutoDragTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    fakes.tray.iconRect = kTrayIcon;
    fakes.mouse.hookTimeouts = fake::FakeMouse::HookTimeoutModel{};
    ShowWindow();
  }

  void ExpectOff() {
    EXPECT_EQ(form.PushButton2.Caption(), L"Start Autodrag");
    EXPECT_EQ(form.Label1.Caption(), L"Auto-drag is off.");
    EXPECT_TRUE(form.Me.Visible());
    EXPECT_FALSE(program.State().HiddenInTray);
    EXPECT_FALSE(fakes.mouse.HookInstalled());
    EXPECT_FALSE(fakes.mouse.LeftButtonDown());
    EXPECT_FALSE(form.Drag().ButtonHeld());
  }
  std::string SeenSince(std::size_t from) const {
    return fakes.mouse.Seen(from);
  }
};

// Armed at once: the hook is in before the first balloon has gone, and nothing waits for it.
TEST_F(AutoDragTest, StartArmsAtOnceWhileTheFirstBalloonShows) {
  ClickStartStopAt(0);
  fakes.pump.At(0.001, [&] {
    EXPECT_TRUE(fakes.mouse.HookInstalled());
    EXPECT_TRUE(form.cSysTray1.BalloonShowing());
    EXPECT_EQ(form.PushButton2.Caption(), L"Stop Autodrag");
    EXPECT_EQ(form.Label1.Caption(), L"Auto-drag is on.");
    EXPECT_FALSE(form.Me.Visible());
    EXPECT_TRUE(program.State().HiddenInTray);
  });
  fakes.pump.At(5.1, [&] { EXPECT_FALSE(form.cSysTray1.BalloonShowing()) << "taken down after its 5 s"; });
  ClickStartStopAt(6);
  fakes.pump.RunUntil(7);
  ExpectOff();
  EXPECT_TRUE(fakes.mouse.injections.empty());
}

// What applications see of a drag, whatever its pace: the user's press, their moves live
// with the button down, one release, theirs, at the drop. The first drag is 0.3 s after
// the first Start of the run, while the balloon shows; one is on a monitor left of and
// above the primary one.
TEST_F(AutoDragTest, EveryDragIsThePressTheMovesAndOneReleaseWhateverItsPace) {
  struct Pace {
    const char* name;
    double press, release, moveEvery, dropPress, dropRelease;
    int dx;
  };
  const Pace paces[] = {{"careful, first", 0.3, 0.45, 0.4, 2.0, 2.15, 0},
                        {"hasty", 0.2, 0.26, 0.01, 0.9, 0.95, 0},
                        {"a tenth of a second", 0.2, 0.22, 0.02, 0.28, 0.3, 0},
                        {"a minute", 0.5, 0.6, 10.0, 60.0, 60.2, 0},
                        {"left of the primary monitor", 0.3, 0.4, 0.05, 1.0, 1.1, -1900}};
  double t = 0;
  for (const Pace& p : paces) {
    ClickStartStopAt(t);
    const auto at = [&](int x, int y) { return rt::ScreenPoint{x + p.dx, y - (p.dx != 0 ? 700 : 0)}; };
    const auto word = [&](const char* kind, int x, int y) {
      return std::string(kind) + "@" + std::to_string(at(x, y).x) + "," + std::to_string(at(x, y).y);
    };
    fakes.mouse.UserMoveAt(t + p.press - 0.01, at(100, 100));
    const std::size_t from = fakes.mouse.delivered.size() + 1;  // after the move there
    fakes.mouse.UserEventAt(t + p.press, kLDown, at(100, 100));
    fakes.mouse.UserEventAt(t + p.release, kLUp, at(100, 100));
    fakes.mouse.UserMoveAt(t + p.release + p.moveEvery / 2, at(150, 120));
    fakes.mouse.UserMoveAt(t + p.dropPress - 0.001, at(300, 200));
    fakes.mouse.UserEventAt(t + p.dropPress, kLDown, at(300, 200));
    fakes.mouse.UserEventAt(t + p.dropRelease, kLUp, at(300, 200));
    fakes.pump.RunUntil(t + p.dropRelease + 1);
    EXPECT_EQ(SeenSince(from), word("D", 100, 100) + " " + word("M", 150, 120) + " " + word("M", 300, 200) + " " +
                                   word("U", 300, 200))
        << p.name;
    EXPECT_TRUE(fakes.mouse.injections.empty()) << p.name;
    ExpectOff();
    t = fakes.clock.Now() + 10;  // the balloon is once a run
  }
  EXPECT_TRUE(fakes.mouse.timedOut.empty()) << "a hook call kept the desktop waiting";
}

// Giving up at every moment: nothing happens before the pick-up; while holding, the item
// goes back to where it was picked up, the pointer to where the user has it, and the
// window comes back. The next Start gives a whole drag.
struct GiveUpWay {
  const char* name;
  double at;  // when holding, the pick-up click is at 1.0-1.1 and the hand at 400,300 from 1.5
  enum { Button, Shortcut, TrayClick, WindowClick } how;
};

class GiveUpTest : public AutoDragTest, public ::testing::WithParamInterface<GiveUpWay> {};

TEST_P(GiveUpTest, PutsTheItemBackWithTheButtonUpAndTheNextStartWorks) {
  const GiveUpWay way = GetParam();
  const bool holding = way.at > 1.1;
  const bool byClick = way.how == GiveUpWay::TrayClick || way.how == GiveUpWay::WindowClick;
  const rt::ScreenPoint clickAt = way.how == GiveUpWay::TrayClick ? rt::ScreenPoint{1010, 750} : rt::ScreenPoint{500, 400};
  fakes.mouse.ownWindow = kOwnWindow;
  ClickStartStopAt(0);
  if (holding) {
    fakes.mouse.UserClickAt(1.0, {100, 100});
    fakes.mouse.UserMoveAt(1.5, {400, 300});
  }
  switch (way.how) {
    case GiveUpWay::Button: ClickStartStopAt(way.at); break;
    case GiveUpWay::Shortcut: fakes.pump.At(way.at, [&] { form.StartStopShortcut_Pressed(); }); break;
    default: fakes.mouse.UserClickAt(way.at, clickAt); break;
  }
  if (!holding && byClick) {
    // Before the pick-up a click on our own window or icon is just that: no pick-up.
    fakes.pump.At(way.at + 0.3, [&] {
      EXPECT_EQ(mouse.ClickCount(), 0);
      EXPECT_EQ(form.PushButton2.Caption(), L"Stop Autodrag");
    });
    ClickStartStopAt(way.at + 0.5);
  }
  fakes.pump.RunUntil(way.at + 1);
  if (holding) {
    // The hand is where the user left it: on the Stop key's way, or on our icon or window.
    const rt::ScreenPoint hand = byClick ? clickAt : rt::ScreenPoint{400, 300};
    const std::string moveThere =
        byClick ? " M@" + std::to_string(clickAt.x) + "," + std::to_string(clickAt.y) : std::string();
    EXPECT_EQ(fakes.mouse.Seen(), "D@100,100 M@400,300" + moveThere + " U@100,100*")
        << "nothing of the giving-up click reached anything";
    ASSERT_EQ(fakes.mouse.injections.size(), 2u);
    EXPECT_EQ(fakes.mouse.pointer, hand) << "the pointer is back with the user";
  } else {
    EXPECT_TRUE(fakes.mouse.injections.empty());
  }
  ExpectOff();

  const std::size_t injected = fakes.mouse.injections.size();
  ClickStartStopAt(10);
  fakes.mouse.UserClickAt(11, {10, 10});
  fakes.mouse.UserClickAt(12, {20, 20});
  fakes.pump.RunUntil(13);
  EXPECT_EQ(fakes.mouse.DeliveredOf(kLUp).back().point, (rt::ScreenPoint{20, 20}));
  EXPECT_EQ(fakes.mouse.injections.size(), injected);
  ExpectOff();
}

INSTANTIATE_TEST_SUITE_P(AutoDrag, GiveUpTest,
                         ::testing::Values(GiveUpWay{"StopBeforeThePickUp", 0.5, GiveUpWay::Button},
                                           GiveUpWay{"ShortcutBeforeThePickUp", 0.01, GiveUpWay::Shortcut},
                                           GiveUpWay{"TrayClickBeforeThePickUp", 0.5, GiveUpWay::TrayClick},
                                           GiveUpWay{"StopWhileHolding", 2.0, GiveUpWay::Button},
                                           GiveUpWay{"ShortcutWhileHolding", 2.0, GiveUpWay::Shortcut},
                                           GiveUpWay{"TrayClickWhileHolding", 2.0, GiveUpWay::TrayClick},
                                           GiveUpWay{"OwnWindowClickWhileHolding", 2.0, GiveUpWay::WindowClick}),
                         [](const auto& info) { return std::string(info.param.name); });

// A step of the time of day (synchronisation, daylight saving, the user) changes no wait:
// the balloon still goes after its 5 s and a drag is still a drag.
TEST_F(AutoDragTest, AClockStepChangesNothing) {
  ClickStartStopAt(0);
  fakes.pump.At(0.5, [&] { fakes.clock.StepTimeOfDay(-3600); });
  fakes.mouse.UserClickAt(1.0, {10, 10});
  fakes.pump.At(1.2, [&] { fakes.clock.StepTimeOfDay(+7200); });
  fakes.mouse.UserClickAt(1.3, {60, 60});
  fakes.pump.At(4.9, [&] { EXPECT_TRUE(form.cSysTray1.BalloonShowing()); });
  fakes.pump.RunUntil(5.1);
  EXPECT_FALSE(form.cSysTray1.BalloonShowing());
  EXPECT_EQ(fakes.mouse.Seen(), "D@10,10 M@60,60 U@60,60");
  ExpectOff();
}

// Windows drops what we inject into a window of a program that runs as administrator: if
// we kept its button down, giving up could never let go of it there.
TEST_F(AutoDragTest, AClickInAWindowOutOfReachGoesThroughAndEndsAutoDragWithOneMessage) {
  fakes.mouse.outOfReach = [](rt::ScreenPoint p) { return p.x >= 500; };
  ClickStartStopAt(0);
  fakes.mouse.UserClickAt(1, {600, 100});
  fakes.mouse.UserClickAt(3, {700, 100});
  fakes.pump.RunUntil(5);
  EXPECT_EQ(fakes.mouse.DeliveredOf(kLUp).size(), 2u) << "both clicks untouched";
  EXPECT_TRUE(fakes.mouse.injections.empty());
  ASSERT_EQ(fakes.dialogs.shown.size(), 1u);
  EXPECT_NE(fakes.dialogs.shown[0].text.find(L"run as administrator"), std::wstring::npos);
  EXPECT_EQ(fakes.dialogs.shown[0].title, program.State().AppTitle);
  ExpectOff();

  // The trouble was said once; the next drag works and says nothing.
  ClickStartStopAt(10);
  fakes.mouse.UserClickAt(11, {10, 10});
  fakes.mouse.UserClickAt(12, {20, 20});
  fakes.pump.RunUntil(13);
  EXPECT_EQ(fakes.dialogs.shown.size(), 1u);
  EXPECT_EQ(fakes.mouse.DeliveredOf(kLUp).back().point, (rt::ScreenPoint{20, 20}));
  ExpectOff();
}

// A give-up Windows refuses (the secure desktop) or that fails outright: the release is
// tried again on the way out, the user is told once, and the next drag works.
TEST_F(AutoDragTest, AGiveUpThatFailsLetsGoOnTheWayOutSaysSoOnceAndTheNextDragWorks) {
  for (const bool throws : {false, true}) {
    const double t = fakes.clock.Now() + 1;
    const std::size_t boxes = fakes.dialogs.shown.size();
    ClickStartStopAt(t);
    fakes.mouse.UserClickAt(t + 1, {40, 40});
    fakes.pump.At(t + 2, [&] { (throws ? fakes.mouse.throwOnNextInjection : fakes.mouse.refuseNextInjection) = true; });
    ClickStartStopAt(t + 2);
    fakes.pump.RunUntil(t + 3);
    EXPECT_FALSE(fakes.mouse.LeftButtonDown()) << "the owed release was tried again on the way out";
    ASSERT_EQ(fakes.dialogs.shown.size(), boxes + (throws ? 2u : 1u));
    if (throws) {
      EXPECT_NE(fakes.dialogs.shown[boxes].text.find(L"PushButton2_Click at line 156"), std::wstring::npos);
    }
    EXPECT_NE(fakes.dialogs.shown.back().text.find(L"did not let Vornatic"), std::wstring::npos);
    ExpectOff();

    ClickStartStopAt(t + 4);
    fakes.mouse.UserClickAt(t + 5, {10, 10});
    fakes.mouse.UserClickAt(t + 6, {20, 20});
    fakes.pump.RunUntil(t + 7);
    EXPECT_EQ(fakes.dialogs.shown.size(), boxes + (throws ? 2u : 1u)) << "no second message";
    EXPECT_EQ(fakes.mouse.DeliveredOf(kLUp).back().point, (rt::ScreenPoint{20, 20}));
    ExpectOff();
  }
}

// Windows takes a hook that keeps the desktop waiting away without a word. Waiting for
// the pick-up, the hook goes back in and auto-drag goes on; holding, what the user holds
// is no longer known, so auto-drag gives up and says why, once; after a give-up it is
// nothing to worry about.
TEST_F(AutoDragTest, AHookWindowsTakesAwayIsNoticedAndPutBackOrGivenUp) {
  // Waiting: the click that went by unseen was an ordinary click; the next drag works.
  ClickStartStopAt(0);
  fakes.mouse.TakeHooksAwayAt(0.5);
  fakes.mouse.UserClickAt(1.0, {10, 10});
  fakes.mouse.UserClickAt(3.0, {50, 50});
  fakes.mouse.UserClickAt(4.0, {90, 90});
  fakes.pump.RunUntil(5);
  EXPECT_EQ(fakes.mouse.hooksInstalled, 2);
  EXPECT_EQ(fakes.mouse.Seen(), "D@10,10 U@10,10 D@50,50 M@90,90 U@90,90");
  EXPECT_TRUE(fakes.dialogs.shown.empty());
  ExpectOff();

  // Waiting, and Windows will not take the hook back: auto-drag does not read "on" with no hook.
  ClickStartStopAt(6);
  fakes.mouse.TakeHooksAwayAt(6.5);
  fakes.pump.At(6.9, [&] { fakes.mouse.failNextHook = true; });
  fakes.mouse.UserClickAt(7.0, {10, 10});
  fakes.pump.RunUntil(8.5);
  ASSERT_EQ(fakes.dialogs.shown.size(), 1u);
  fakes.dialogs.shown.clear();
  ExpectOff();

  // Holding: the drop went by unseen, so applications already saw the button go up: the
  // user is told, and no release follows that they never saw pressed.
  const std::size_t from = fakes.mouse.delivered.size();
  ClickStartStopAt(10);
  fakes.mouse.UserClickAt(11, {100, 100});
  fakes.mouse.TakeHooksAwayAt(11.5);
  fakes.mouse.UserClickAt(12, {200, 200});
  fakes.pump.RunUntil(13.0);
  ASSERT_EQ(fakes.dialogs.shown.size(), 1u);
  EXPECT_NE(fakes.dialogs.shown[0].text.find(L"Windows stopped auto-drag"), std::wstring::npos);
  EXPECT_EQ(fakes.mouse.Seen(from), "D@100,100 M@200,200 D@200,200 U@200,200");
  EXPECT_TRUE(fakes.mouse.InjectedOf(kLUp).empty());
  ExpectOff();

  // Given up first: the loss noticed afterwards changes nothing.
  ClickStartStopAt(20);
  fakes.mouse.UserClickAt(21, {100, 100});
  fakes.mouse.TakeHooksAwayAt(21.5);
  fakes.pump.At(21.6, [&] { form.StartStopShortcut_Pressed(); });
  fakes.mouse.UserClickAt(22, {300, 300});
  fakes.pump.RunUntil(23);
  EXPECT_EQ(fakes.dialogs.shown.size(), 1u);
  EXPECT_EQ(fakes.mouse.InjectedOf(kLUp).size(), 1u) << "the shortcut's put-back, and nothing more";
  ExpectOff();
}

TEST_F(AutoDragTest, AStaleCountFromAStoppedDragDoesNotHoldAtTheNextStart) {
  ClickStartStopAt(0);
  fakes.mouse.UserClickAt(1);
  ClickStartStopAt(2);  // picked up, then stopped: one release still counted
  fakes.pump.RunUntil(3);
  ExpectOff();
  ASSERT_EQ(mouse.ClickCount(), 1);

  const auto injectedBefore = fakes.mouse.injections.size();
  ClickStartStopAt(20);
  ClickStartStopAt(25);
  fakes.pump.RunUntil(26);
  EXPECT_EQ(fakes.mouse.injections.size(), injectedBefore);
  EXPECT_EQ(mouse.ClickCount(), 0);
  ExpectOff();
}

TEST_F(AutoDragTest, AFailedHookInstallSaysSoAndEndsAutoDrag) {
  fakes.mouse.failNextHook = true;
  ClickStartStopAt(0);
  fakes.pump.RunUntil(1);
  ASSERT_EQ(fakes.dialogs.shown.size(), 1u);
  EXPECT_NE(fakes.dialogs.shown[0].text.find(L"could not start"), std::wstring::npos);
  EXPECT_EQ(fakes.dialogs.shown[0].title, program.State().AppTitle);
  EXPECT_TRUE(fakes.mouse.injections.empty());
  ExpectOff();
}

TEST_F(AutoDragTest, WaitingCostsNoPassesOfTheLoop) {
  ClickStartStopAt(0);
  ClickStartStopAt(3600);  // an hour of waiting
  fakes.pump.RunUntil(3601);
  EXPECT_LT(fakes.pump.Pumps(), 100);
  ExpectOff();
}

TEST_F(AutoDragTest, PointerShowsTheHandOverButtonsAndTheArrowElsewhereButKeepsTheHourglass) {
  rt::MouseMoveArgs move;
  form.PushButton2.RaiseMouseMove(move);
  EXPECT_EQ(form.Me.MousePointer(), rt::pointer::kCustom);
  form.Frame1.MouseMove.Raise(move);
  EXPECT_EQ(form.Me.MousePointer(), rt::pointer::kDefault);
  form.PushButton1.RaiseMouseMove(move);
  EXPECT_EQ(form.Me.MousePointer(), rt::pointer::kCustom);
  form.Me.MouseMove.Raise(move);
  EXPECT_EQ(form.Me.MousePointer(), rt::pointer::kDefault);

  form.Me.SetMousePointer(rt::pointer::kHourglass);
  form.PushButton1.RaiseMouseMove(move);
  form.Frame2.MouseMove.Raise(move);
  form.Me.MouseMove.Raise(move);
  EXPECT_EQ(form.Me.MousePointer(), rt::pointer::kHourglass);
}

}  // namespace
