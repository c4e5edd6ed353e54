// The latch: with no Start, a press held still for the hold time is held for the user like
// a pick-up; every other press is an ordinary click or drag that we never touch.
#include <gtest/gtest.h>

#include "autodrag/LatchSetting.h"
#include "runtime/Failure.h"
#include "unit/ProgramFixture.h"

namespace {

constexpr std::uint32_t kLDown = 0x0201, kLUp = 0x0202, kRDown = 0x0204, kRUp = 0x0205;
constexpr rt::ScreenRect kOwnWindow{300, 300, 840, 520};
const rt::Shortcut kWinShiftD{true, false, false, true, 'D'};

class LatchTest : public ProgramTest {
 protected:
  void Store(const wchar_t* key, const wchar_t* value) {
    SettingsStore(fakes.registry, fakes.dialogs, fakes.texts, L"Vornatic")
        .SaveSetting(L"Kestrova", L"Vornatic", key, value);
  }
  void StartWith(const wchar_t* latch, const wchar_t* right = nullptr) {
    Store(L"Latch", latch);
    if (right) Store(L"LatchRight", right);
    fakes.mouse.ownWindow = kOwnWindow;
    fakes.mouse.hookTimeouts = fake::FakeMouse::HookTimeoutModel{};
    ShowWindow();
  }
  // A press at the point, held still for the time, then released there.
  void HoldAt(double at, rt::ScreenPoint p, double heldFor, std::uint32_t down = kLDown, std::uint32_t up = kLUp) {
    fakes.mouse.UserEventAt(at, down, p);
    fakes.mouse.UserEventAt(at + heldFor, up, p);
  }
  std::string SeenSince(std::size_t from) const { return fakes.mouse.Seen(from); }
};

// Latched at the hold time on the press's own clock, not a moment before; the badge fills
// from half the hold time, becomes the holding badge at the latch and goes at the drop;
// and the latch is armed again for the next press.
TEST_F(LatchTest, APressHeldStillLatchesAtTheHoldTimeAndTheNextClickDrops) {
  StartWith(L"800");
  EXPECT_TRUE(fakes.mouse.HookInstalled()) << "in from the start, with no Start";
  EXPECT_EQ(form.cSysTray1.TrayTip(), L"Vornatic: hold still to latch");
  for (const double t : {1.0, 5.0}) {
    const std::size_t from = fakes.mouse.delivered.size();
    fakes.badge.fills.clear();
    HoldAt(t, {100, 100}, 1.0);
    fakes.pump.At(t + 0.39, [&] { EXPECT_FALSE(fakes.badge.visible) << "nothing in the first half"; });
    fakes.pump.At(t + 0.799, [&] {
      EXPECT_FALSE(mouse.HoldingButton());
      EXPECT_TRUE(fakes.badge.visible);
      EXPECT_LT(fakes.badge.filled, 1.0);
    });
    fakes.pump.At(t + 0.801, [&] {
      EXPECT_TRUE(mouse.HoldingButton());
      EXPECT_EQ(fakes.badge.filled, 1.0);
      EXPECT_EQ(fakes.badge.button, rt::HeldButton::Primary);
    });
    fakes.mouse.UserMoveAt(t + 1.5, {300, 200});
    fakes.pump.At(t + 1.6, [&] { EXPECT_TRUE(fakes.mouse.LeftButtonDown()) << "the release was swallowed"; });
    fakes.mouse.UserClickAt(t + 2.0, {300, 200});
    fakes.pump.RunUntil(t + 3.0);
    EXPECT_EQ(SeenSince(from), "D@100,100 M@300,200 U@300,200");
    EXPECT_EQ(fakes.badge.fills, (std::vector<double>{0.5, 0.6, 0.7, 0.8, 0.9}));
    EXPECT_FALSE(fakes.badge.visible);
    EXPECT_FALSE(mouse.HoldingButton());
  }
  EXPECT_TRUE(fakes.mouse.injections.empty());
  EXPECT_TRUE(fakes.mouse.timedOut.empty()) << "the hook kept the desktop waiting";
  EXPECT_EQ(form.PushButton2.Caption(), L"Start Autodrag");
  EXPECT_TRUE(form.Me.Visible());
}

// Released sooner, moved beyond the double-click area first, or another button in the
// meantime: an ordinary click or drag, exactly as it was, and no badge. A tremor inside
// the area still latches.
TEST_F(LatchTest, APressThatEndsSoonerOrMovesFirstIsUntouched) {
  StartWith(L"800");
  struct Case {
    const char* name;
    std::function<void(double)> act;
    const char* seen;
    bool latches;
  };
  const Case cases[] = {
      {"quick click",
       [&](double t) {
         HoldAt(t, {100, 100}, 0.2);
       },
       "D@100,100 U@100,100", false},
      {"released just before",
       [&](double t) {
         HoldAt(t, {100, 100}, 0.79);
       },
       "D@100,100 U@100,100", false},
      {"moved away, then held",
       [&](double t) {
         fakes.mouse.UserEventAt(t, kLDown, {100, 100});
         fakes.mouse.UserMoveAt(t + 0.3, {103, 100});
         fakes.mouse.UserEventAt(t + 2.0, kLUp, {103, 100});
       },
       "D@100,100 M@103,100 U@103,100", false},
      {"right click meanwhile",
       [&](double t) {
         fakes.mouse.UserEventAt(t, kLDown, {100, 100});
         fakes.mouse.UserEventAt(t + 0.3, kRDown, {100, 100});
         fakes.mouse.UserEventAt(t + 0.4, kRUp, {100, 100});
         fakes.mouse.UserEventAt(t + 2.0, kLUp, {100, 100});
       },
       "D@100,100 d@100,100 u@100,100 U@100,100", false},
      {"held on our own window",
       [&](double t) {
         HoldAt(t, {400, 400}, 2.0);
       },
       "D@400,400 U@400,400", false},
      {"a tremor inside the area",
       [&](double t) {
         fakes.mouse.UserEventAt(t, kLDown, {100, 100});
         fakes.mouse.UserMoveAt(t + 0.3, {102, 98});
         fakes.mouse.UserEventAt(t + 1.0, kLUp, {102, 98});
       },
       "D@100,100 M@102,98", true},
  };
  double t = 1;
  for (const Case& c : cases) {
    const std::size_t from = fakes.mouse.delivered.size();
    const std::size_t badgeChanges = fakes.badge.changes.size();
    c.act(t);
    fakes.pump.RunUntil(t + 3);
    EXPECT_EQ(SeenSince(from), c.seen) << c.name;
    EXPECT_EQ(mouse.HoldingButton(), c.latches) << c.name;
    if (c.name == std::string("quick click")) {
      EXPECT_EQ(fakes.badge.changes.size(), badgeChanges) << c.name;
    }
    if (!c.latches) {
      EXPECT_FALSE(fakes.badge.visible) << c.name;
    }
    t += 4;
  }
  EXPECT_TRUE(fakes.mouse.injections.empty());
}

// After a latch the double tap of a shaky hand is no drop, and every way of giving up puts
// the item back: the pointer to the press, one release there, the pointer back; the latch
// then watches again.
TEST_F(LatchTest, BounceAndGivingUpAfterALatch) {
  StartWith(L"500");
  struct Way {
    const char* name;
    std::function<void(double)> giveUp;
    rt::ScreenPoint hand;
  };
  const Way ways[] = {
      {"shortcut", [&](double t) { fakes.shortcuts.PressAt(t, kWinShiftD); }, {250, 150}},
      {"own window click",
       [&](double t) {
         fakes.mouse.UserClickAt(t, {400, 400});
       },
       {400, 400}},
  };
  double t = 1;
  for (const Way& way : ways) {
    const std::size_t from = fakes.mouse.delivered.size();
    const std::size_t injected = fakes.mouse.injections.size();
    HoldAt(t, {100, 100}, 0.7);
    fakes.mouse.UserClickAt(t + 0.9, {101, 101}, 0.05);  // 0.2 s after the latched release
    fakes.pump.At(t + 1.0, [&] { EXPECT_TRUE(mouse.HoldingButton()) << way.name << ": a bounce is no drop"; });
    fakes.mouse.UserMoveAt(t + 1.5, {250, 150});
    way.giveUp(t + 2);
    fakes.pump.RunUntil(t + 3);
    const std::string hand = std::to_string(way.hand.x) + "," + std::to_string(way.hand.y);
    // The bounce's press and release reached nothing; only the hand's move there did.
    EXPECT_EQ(SeenSince(from),
              std::string("D@100,100 M@101,101 M@250,150") + (way.hand.x == 400 ? " M@" + hand : "") + " U@100,100*")
        << way.name;
    EXPECT_EQ(fakes.mouse.injections.size(), injected + 2) << way.name;
    EXPECT_EQ(fakes.mouse.pointer, way.hand) << way.name;
    EXPECT_FALSE(mouse.HoldingButton()) << way.name;
    EXPECT_FALSE(fakes.badge.visible) << way.name;
    EXPECT_EQ(form.PushButton2.Caption(), L"Start Autodrag") << way.name << ": giving up started nothing";
    EXPECT_TRUE(fakes.dialogs.shown.empty()) << way.name;
    t += 5;
  }
  std::size_t from = fakes.mouse.delivered.size();
  HoldAt(t, {50, 50}, 0.7);
  fakes.mouse.UserClickAt(t + 2, {60, 60});
  fakes.pump.RunUntil(t + 3);
  EXPECT_EQ(SeenSince(from), "D@50,50 M@60,60 U@60,60") << "armed again after giving up";

  // Given up while the latched press is still down: the hand's late release reaches nothing.
  from = fakes.mouse.delivered.size();
  HoldAt(t + 4, {80, 80}, 2.0);
  fakes.shortcuts.PressAt(t + 5, kWinShiftD);
  HoldAt(t + 7, {90, 90}, 0.1);
  fakes.pump.RunUntil(t + 8);
  EXPECT_EQ(SeenSince(from), "D@80,80 U@80,80* D@90,90 U@90,90");
}

// With LatchRight, a held right press latches the same way; the badge says which button;
// giving up lets go of the secondary button, which is the device's left one when swapped.
TEST_F(LatchTest, TheRightButtonLatchesTooAndGivingUpLetsGoOfIt) {
  StartWith(L"800", L"On");
  const std::size_t from = fakes.mouse.delivered.size();
  HoldAt(1, {100, 100}, 1.0, kRDown, kRUp);
  fakes.pump.At(1.9, [&] { EXPECT_EQ(fakes.badge.button, rt::HeldButton::Secondary); });
  fakes.mouse.UserMoveAt(2.5, {300, 200});
  fakes.mouse.UserEventAt(3.0, kRDown, {300, 200});
  fakes.mouse.UserEventAt(3.1, kRUp, {300, 200});
  fakes.pump.RunUntil(4);
  EXPECT_EQ(SeenSince(from), "d@100,100 m@300,200 u@300,200");
  EXPECT_TRUE(fakes.mouse.injections.empty());

  for (const bool swapped : {false, true}) {
    fakes.mouse.buttonsSwapped = swapped;
    const double t = fakes.clock.Now() + 1;
    HoldAt(t, {100, 100}, 1.0, kRDown, kRUp);
    fakes.mouse.UserClickAt(t + 1.5, {120, 120});  // a left click while the right is held passes
    fakes.shortcuts.PressAt(t + 2, kWinShiftD);
    fakes.pump.RunUntil(t + 3);
    ASSERT_FALSE(fakes.mouse.injections.empty());
    EXPECT_EQ(fakes.mouse.injections[fakes.mouse.injections.size() - 2].message, swapped ? kLUp : kRUp);
    EXPECT_EQ(fakes.mouse.DeliveredOf(kRUp).back().point, (rt::ScreenPoint{100, 100}));
    EXPECT_TRUE(fakes.mouse.DeliveredOf(kRUp).back().injected);
    EXPECT_FALSE(mouse.HoldingButton());
  }
}

// Off, the program is as it was: no hook until Start. A text we cannot read is Off, said
// once in one balloon; the other setting still counts.
TEST_F(LatchTest, OffOrUnreadableSettingsLeaveTheLatchOffAndAreSaidOnce) {
  EXPECT_FALSE(latch_setting::FromTexts(fake::English(), L"Off", L"Off").latch.holdTime);
  EXPECT_TRUE(latch_setting::FromTexts(fake::English(), L" Off ", L"\tOFF ").complaint.empty())
      << "blanks around a word";
  EXPECT_EQ(latch_setting::FromTexts(fake::English(), L" 200 ", L"on").latch.holdTime, std::chrono::milliseconds(200));
  EXPECT_EQ(latch_setting::FromTexts(fake::English(), L"2200", L"Off").latch.holdTime, std::chrono::milliseconds(2200));
  for (const wchar_t* bad : {L"199", L"2201", L"", L"-500", L"800ms", L"1e3", L"99999999999"}) {
    const auto read = latch_setting::FromTexts(fake::English(), bad, L"Off");
    EXPECT_FALSE(read.latch.holdTime) << std::wstring(bad).size();
    EXPECT_FALSE(read.complaint.empty()) << std::wstring(bad).size();
  }

  struct Case {
    const wchar_t* latch;
    const wchar_t* right;
    bool on;
    std::size_t balloons;
  };
  for (const Case c :
       {Case{nullptr, nullptr, false, 0}, Case{L"Off", L"On", false, 0}, Case{L"soon", nullptr, false, 1},
        Case{L"800", L"maybe", true, 1}, Case{L"fast", L"maybe", false, 1}}) {
    fake::FakePlatform fakes;
    if (c.latch)
      SettingsStore(fakes.registry, fakes.dialogs, fakes.texts, L"Vornatic")
          .SaveSetting(L"Kestrova", L"Vornatic", L"Latch", c.latch);
    if (c.right)
      SettingsStore(fakes.registry, fakes.dialogs, fakes.texts, L"Vornatic")
          .SaveSetting(L"Kestrova", L"Vornatic", L"LatchRight", c.right);
    Program program(fakes.platform);
    program.Window().cSysTray1Site.SetHandle(0x2001);
    program.Window().Me.SetHandle(0x1001);
    program.Start();
    const std::wstring name = c.latch ? c.latch : L"(none)";
    EXPECT_EQ(fakes.mouse.HookInstalled(), c.on) << name.size();
    EXPECT_EQ(program.Window().cSysTray1.TrayTip(), c.on ? L"Vornatic: hold still to latch" : L"Vornatic");
    std::size_t balloons = 0;
    for (const auto& call : fakes.tray.calls)
      balloons +=
          (call.command == rt::nim::kModify && (call.record.uFlags & rt::nif::kInfo) && call.record.szInfo[0] != 0);
    EXPECT_EQ(balloons, c.balloons) << name.size();
    fakes.mouse.UserEventAt(1, kRDown, {10, 10});
    fakes.mouse.UserEventAt(3, kRUp, {10, 10});
    fakes.pump.RunUntil(4);
    EXPECT_EQ(fakes.mouse.Seen(), "d@10,10 u@10,10") << "the right button latches only with LatchRight=On";
    EXPECT_TRUE(fakes.dialogs.shown.empty());
  }
}

// Start and the shortcut work as before beside the latch; afterwards the latch watches
// again. Closing while latched lets go and takes the hook out.
TEST_F(LatchTest, StartStillGivesOneDragAndClosePutsBackALatchedHold) {
  StartWith(L"800");
  ClickStartStopAt(1);
  const std::size_t from = fakes.mouse.delivered.size();
  fakes.mouse.UserClickAt(11, {100, 100}, 0.05);
  fakes.mouse.UserClickAt(12, {200, 100}, 0.05);
  fakes.pump.RunUntil(13);
  EXPECT_EQ(SeenSince(from), "D@100,100 M@200,100 U@200,100");
  EXPECT_EQ(form.PushButton2.Caption(), L"Start Autodrag");
  EXPECT_TRUE(fakes.mouse.HookInstalled()) << "the latch keeps it in";

  HoldAt(14, {50, 50}, 1.0);
  fakes.mouse.UserMoveAt(15.5, {70, 80});
  fakes.pump.At(16, [&] { form.Me.RequestClose(rt::closereason::kUser); });
  try {
    fakes.pump.RunUntil(17);
  } catch (const rt::ProgramEnded&) {
    fakes.pump.RunUntil(17);
  }
  EXPECT_FALSE(fakes.mouse.LeftButtonDown());
  EXPECT_EQ(fakes.mouse.DeliveredOf(kLUp).back().point, (rt::ScreenPoint{50, 50})) << "put back, not dropped";
  EXPECT_FALSE(fakes.mouse.HookInstalled());
  EXPECT_FALSE(fakes.badge.visible);
}

}  // namespace

namespace {

// Windows takes the hook away during a latched hold: the item goes back, the user is told
// once, and the latch is armed again with the hook put back.
TEST_F(LatchTest, AHookTakenAwayDuringALatchedHoldGivesUpAndTheLatchWatchesAgain) {
  StartWith(L"800");
  HoldAt(1.0, {100, 100}, 1.0);
  fakes.mouse.TakeHooksAwayAt(2.5);
  fakes.mouse.UserClickAt(3.0, {300, 200});  // the drop, which no hook sees
  fakes.pump.RunUntil(4.0);
  ASSERT_EQ(fakes.dialogs.shown.size(), 1u);
  EXPECT_NE(fakes.dialogs.shown[0].text.find(L"Windows stopped auto-drag"), std::wstring::npos);
  EXPECT_FALSE(fakes.mouse.LeftButtonDown());
  EXPECT_TRUE(fakes.mouse.HookInstalled()) << "the latch watches again";

  const std::size_t from = fakes.mouse.delivered.size();
  HoldAt(5.0, {50, 50}, 1.0);
  fakes.mouse.UserClickAt(7.0, {80, 80});
  fakes.pump.RunUntil(8.0);
  EXPECT_EQ(SeenSince(from), "D@50,50 M@80,80 U@80,80");
}

}  // namespace
