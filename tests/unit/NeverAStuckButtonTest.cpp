// The promise this program cannot break, in the sequences that once broke it: whatever comes
// between (a failure in the hook, the shortcut, a lock, a lost hook, close), no button stays
// down in applications that the user does not hold, and no release reaches them without its
// press. Written as what applications see.
#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <sstream>
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
    SettingsStore(fakes.registry, fakes.dialogs, fakes.texts, L"Vornatic")
        .SaveSetting(L"Kestrova", L"Vornatic", key, value);
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

// One script per row: what the hand and the world do, at virtual times ("1 C100,100" a
// click, D/U/M the primary button and moves, d/u the secondary; start, stop, shortcut,
// close, lock, unlock, lost (Windows takes the hook away), fail (a failure inside the hook),
// refuse/accept (Windows refuses what we inject, or takes it again), refuse1/throw (the next
// injection only), race (the hand presses there while Windows takes ours), keptN (what a
// crash would let go of then), latch N / latchR N), and what applications must see,
// then where the pointer ends, what a crash would let go of, and every box the user is
// shown, in order ("|" between them).
struct Row {
  const char* name;
  const char* script;
  const char* seen;
  std::uint8_t keptDown;
  const char* said;
};

const Row kRows[] = {
    {"a release on the lock screen", "0 start|1 C100,100|1.5 M300,200|2 D300,200|2.5 lock|3 U300,200|30 unlock|31 C40,40",
     "D@100,100 M@300,200 U@100,100* D@40,40 U@40,40 ; 40,40", 0, ""},
    {"a latched press let go on the lock screen", "latch 800|1 D100,100|2 M300,200|2.5 lock|3 U300,200|30 unlock|31 C40,40",
     "D@100,100 M@300,200 U@100,100* D@40,40 U@40,40 ; 40,40", 0, ""},
    {"a press made on the lock screen, let go here", "latch 800|1 C10,10|2 lock|3 D50,50|30 unlock|31 U50,50|32 C40,40",
     "D@10,10 U@10,10 D@40,40 U@40,40 ; 40,40", 0, ""},
    {"a stop after a lost hook, let go on the lock screen",
     "0 start|1 C100,100|1.5 M300,200|2 D300,200|2.5 lost|2.6 d60,60|2.7 u60,60|2.9 stop|4 lock|4.5 U300,200|30 unlock|31 C40,40",
     "D@100,100 M@300,200 M@60,60 d@60,60 u@60,60 U@100,100* D@40,40 U@40,40 ; 40,40", 0, ""},
    {"refused on the lock screen, done on the return", "0 start|1 C10,10|1.5 M20,20|2 lock|30 unlock|31 C40,40",
     "D@10,10 M@20,20 U@10,10* D@40,40 U@40,40 ; 40,40", 0, ""},
    {"close puts back", "0 start|1 C100,100|1.5 M300,200|2 close", "D@100,100 M@300,200 U@100,100* ; 300,200", 0, ""},
    {"close waits for the hand's release", "0 start|1 C100,100|1.5 M300,200|2 D300,200|2.5 close|3 M350,250|4 U350,250",
     "D@100,100 M@300,200 M@350,250 U@100,100* ; 350,250", 0, ""},
    {"close past the wait for a press on our window", "0 start|1 C100,100|1.5 M300,200|2 d400,400|2.5 close|9 u400,400",
     "D@100,100 M@300,200 M@400,400 U@100,100* d@400,400* u@400,400 ; 400,400", 0, ""},
    {"a failure in the hook on the drop press", "0 start|1 C100,100|1.5 M300,200|1.9 fail|2 D300,200|2.3 U300,200",
     "D@100,100 M@300,200 U@100,100* ; 300,200", 0, "could not be found"},
    {"a stop before a lost hook is noticed", "0 start|1 C100,100|1.5 M300,200|1.8 lost|2 D300,200|2.1 stop|2.5 U300,200",
     "D@100,100 M@300,200 D@300,200 U@100,100* ; 300,200", 0, ""},
    {"started again before that release",
     "0 start|1 C100,100|1.5 M300,200|1.8 lost|2 D300,200|2.1 stop|2.2 start|2.5 U300,200|4 C40,40|5 C80,60",
     "D@100,100 M@300,200 D@300,200 U@100,100* D@40,40 M@80,60 U@80,60 ; 80,60", 0, ""},
    {"no stale swallow after a lost hook", "0 start|1 C100,100|1.5 M300,200|2 lost|2.2 C300,200|5 start|6 C40,40|7 C80,60",
     "D@100,100 M@300,200 D@300,200 U@300,200 D@40,40 M@80,60 U@80,60 ; 80,60", 0, "took away"},
    {"a press racing the put-back", "0 start|1 C100,100|1.5 M300,200|2 race300,200|2 shortcut|2.3 U300,200",
     "D@100,100 M@300,200 U@100,100* D@300,200* U@300,200 ; 300,200", 0, ""},
    {"a press racing the put-back by a lost hook",
     "0 start|1 C100,100|1.5 M300,200|1.8 lost|2 race300,200|2 stop|2.3 U300,200",
     "D@100,100 M@300,200 D@300,200 U@100,100* D@300,200* U@300,200 ; 300,200", 0, ""},
    {"the pointer back to where the hand is now", "0 start|1 C100,100|1.5 M300,200|2 D300,200|2.2 shortcut|2.5 M600,650|3 U600,650",
     "D@100,100 M@300,200 M@600,650 U@100,100* ; 600,650", 0, ""},
    {"refused, done at the next press, pointer to the hand",
     "0 start|1 C100,100|1.5 M300,200|1.9 refuse|2 shortcut|2.5 accept|2.8 M600,650|3 C600,650",
     "D@100,100 M@300,200 M@600,650 U@100,100* D@600,650* U@600,650 ; 600,650", 0, "did not let Vornatic press or release"},
    {"close while a put-back is refused", "0 start|1 C100,100|1.5 M300,200|1.9 refuse|2 shortcut|2.5 close|3.5 accept",
     "D@100,100 M@300,200 U@100,100* ; 300,200", 0, "did not let Vornatic press or release"},
    {"close while a put-back is refused for good", "0 start|1 C100,100|1.5 M300,200|1.9 refuse|2 shortcut|2.5 close",
     "D@100,100 M@300,200 ; 300,200", 1, "did not let Vornatic press or release|still does not let it let go"},
    {"lock with the drop press down, let go here", "0 start|1 C100,100|2 D300,200|2.5 leave|3 U300,200",
     "D@100,100 M@300,200 U@100,100* ; 300,200", 0, ""},
    {"a right latch given up on our window", "latchR 800|1 d100,100|2 u100,100|3 D150,150|4 U150,150|5 C400,400",
     "d@100,100 m@150,150 D@150,150 U@150,150 m@400,400 u@100,100* ; 400,400", 0, ""},
    {"close with a put-back that fails, then is refused", "0 start|1 D100,100|1.1 throw|1.15 refuse1|1.2 U-500,-300|1.3 close",
     "D@100,100 M@-500,-300 U@100,100* ; -500,-300", 0, "Injection refused"},
    {"a hand pressing an owed button is not the crash path's",
     "0 start|1 C100,100|1.2 M300,200|1.5 refuse|2 shortcut|2.5 D300,200|2.7 kept0|3 accept|3.5 U300,200",
     "D@100,100 M@300,200 U@100,100* ; 300,200", 0, "did not let Vornatic press or release"},
    {"left of and above the primary monitor", "0 start|1 C-1500,-300|1.5 M-200,-100|2 shortcut",
     "D@-1500,-300 M@-200,-100 U@-1500,-300* ; -200,-100", 0, ""},
    {"close: a failure, then a refusal with a press racing it",
     "0 start|1 C100,100|1.5 M300,200|2 D300,200|2.1 race300,200|2.2 throw|2.3 refuse1|2.5 close|2.6 U300,200|4 U300,200",
     "D@100,100 M@300,200 U@300,200 ; 300,200", 0, "Injection refused"},
    {"refused, done at a press of another button", "latch 800|1 D100,100|2 M300,200|2.5 U300,200|2.9 refuse1|3 shortcut|4 d600,650|4.2 u600,650",
     "D@100,100 M@300,200 M@600,650 d@600,650 U@100,100* m@600,650* u@600,650 ; 600,650", 0,
     "did not let Vornatic press or release"},
    {"a release by a lost hook just before the lock", "latch 800|1 D100,100|3 shortcut|4 lost|5 U-500,-300|5.1 lock|30 unlock",
     "D@100,100 M@-500,-300 U@-500,-300 ; -500,-300", 0, ""},
    {"a press by a lost hook after a give-up on our window",
     "0 start|1 C100,100|1.5 M300,200|2 d400,400|2.5 lost|2.6 u400,400|2.7 d300,200|3.5 u300,200",
     "D@100,100 M@300,200 M@400,400 U@100,100* u@400,400 d@300,200 u@300,200 ; 300,200", 0, ""},
    {"the pointer to where the hand pressed by a lost hook", "0 start|1 C100,100|1.5 M300,200|1.8 lost|2 race600,650|2 stop|2.3 U600,650",
     "D@100,100 M@300,200 M@600,650 D@600,650 U@100,100* D@600,650* U@600,650 ; 600,650", 0, ""},
    {"a press by a lost hook while close waits on a refusal",
     "0 start|1 C100,100|1.5 M300,200|1.8 lost|1.9 refuse1|2 close|2.1 D300,200|2.2 kept0|3 U300,200",
     "D@100,100 M@300,200 D@300,200 U@100,100* D@300,200* U@300,200 ; 300,200", 0, ""},
};

void PrintTo(const Row& row, std::ostream* out) { *out << row.name; }

class NeverAStuckButtonTable : public NeverAStuckButtonTest, public ::testing::WithParamInterface<Row> {
 protected:
  void Play(const std::string& script) {
    std::istringstream steps(script);
    std::string step;
    while (std::getline(steps, step, '|')) {
      std::istringstream words(step);
      std::string when, what;
      words >> when >> what;
      if (when == "latch" || when == "latchR") {
        Store(L"Latch", std::to_wstring(std::stoi(what)).c_str());
        if (when == "latchR") Store(L"LatchRight", L"On");
        continue;
      }
      Schedule(std::stod(when), what);
    }
  }
  void Schedule(double t, const std::string& what) {
    auto point = [&](std::size_t from) {
      const auto comma = what.find(',', from);
      return rt::ScreenPoint{std::stoi(what.substr(from, comma - from)), std::stoi(what.substr(comma + 1))};
    };
    auto& m = fakes.mouse;
    const char first = what[0];
    if (what == "start" || what == "stop") ClickStartStopAt(t);
    else if (what == "shortcut") fakes.shortcuts.PressAt(t, kWinShiftD);
    else if (what == "close") fakes.pump.At(t, [&] { form.Me.RequestClose(rt::closereason::kUser); });
    else if (what == "lock") fakes.LockScreenAt(t);
    else if (what == "unlock") fakes.UnlockScreenAt(t);
    else if (what == "leave") fakes.session.LeaveAt(t);
    else if (what == "lost") m.TakeHooksAwayAt(t);
    else if (what == "fail") fakes.pump.At(t, [&] { m.throwOnNextWindowLook = true; });
    else if (what == "throw") fakes.pump.At(t, [&] { m.throwOnNextInjection = true; });
    else if (what == "refuse1") fakes.pump.At(t, [&] { m.refuseNextInjection = true; });
    else if (what.rfind("kept", 0) == 0)
      fakes.pump.At(t, [&, t, n = std::stoi(what.substr(4))] { EXPECT_EQ(m.keptDown, n) << "at " << t; });
    else if (what == "refuse" || what == "accept") fakes.pump.At(t, [&, on = what == "refuse"] { m.refuseInjections = on; });
    else if (what.rfind("race", 0) == 0)
      fakes.pump.At(t, [&, at = point(4)] { m.whileNextInjection = [&, at] { m.DeliverAt(at, kLDown); }; });
    else if (first == 'C') m.UserClickAt(t, point(1));
    else if (first == 'M') m.UserMoveAt(t, point(1));
    else m.UserEventAt(t, first == 'D' ? kLDown : first == 'U' ? kLUp : first == 'd' ? kRDown : kRUp, point(1));
  }
};

// Whatever comes between (a lock, a lost hook, a failure, close, a refusal, a racing
// press), no button stays down in applications that nobody holds, no release reaches them
// without its press, a give-up puts the item back where it was picked up, and the pointer
// goes back to where the hand is.
TEST_P(NeverAStuckButtonTable, WhatApplicationsSee) {
  const Row& row = GetParam();
  fakes.mouse.doubleClickMs = 200;
  Play(row.script);
  ShowWindow();
  for (double until = 10; until <= 60; until += 10) {
    try {
      fakes.pump.RunUntil(until);
    } catch (const rt::ProgramEnded&) {
      // The hand goes on after the program has gone.
    } catch (const fake::PumpWouldBlockForever&) {
      ADD_FAILURE() << "a loop still waits at " << until << ": " << fakes.mouse.Seen();
      break;
    }
  }
  const rt::ScreenPoint at = fakes.mouse.pointer;
  EXPECT_EQ(fakes.mouse.Seen() + " ; " + std::to_string(at.x) + "," + std::to_string(at.y), row.seen);
  EXPECT_EQ(fakes.mouse.keptDown, row.keptDown) << "what a crash would let go of";
  // Every box shown, in order, each named by a part of its text.
  std::vector<std::wstring> said;
  for (const char* part = row.said; *part != 0;) {
    const char* end = std::strchr(part, '|');
    if (end == nullptr) end = part + std::strlen(part);
    said.emplace_back(part, end);
    part = *end == 0 ? end : end + 1;
  }
  ASSERT_EQ(fakes.dialogs.shown.size(), said.size());
  for (std::size_t i = 0; i < said.size(); ++i)
    EXPECT_NE(fakes.dialogs.shown[i].text.find(said[i]), std::wstring::npos) << "box " << i + 1;
}

INSTANTIATE_TEST_SUITE_P(Sequences, NeverAStuckButtonTable, ::testing::ValuesIn(kRows),
                         [](const ::testing::TestParamInfo<Row>& info) {
                           std::string name;
                           for (const char* c = info.param.name; *c; ++c) name += std::isalnum(*c) ? *c : '_';
                           return name;
                         });

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
