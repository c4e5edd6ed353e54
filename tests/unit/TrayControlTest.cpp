// The tray icon control: the records it sends the shell for each operation, the balloon and
// its wait, the events it makes of the shell's notifications, and its life cycle.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "fakes/FakePlatform.h"
#include "runtime/Failure.h"
#include "tray/SysTray.h"
#include "tray/cSysTray.h"

namespace {

constexpr rt::WindowHandle kControlWindow = 0x2001;

// The field as the shell must find it: the text, one NUL, then spaces to the end.
template <std::size_t N>
std::u16string FieldText(const std::array<char16_t, N>& field) {
  std::u16string text;
  std::size_t i = 0;
  for (; i < N && field[i] != u'\0'; ++i) text.push_back(field[i]);
  EXPECT_LT(i, N) << "no NUL inside the field";
  for (++i; i < N; ++i) EXPECT_EQ(field[i], u' ') << "at " << i;
  return text;
}
template <std::size_t N>
bool AllZero(const std::array<char16_t, N>& field) {
  for (char16_t c : field)
    if (c != 0) return false;
  return true;
}

class TrayControlTest : public ::testing::Test {
 protected:
  TrayControlTest() {
    site.SetHandle(kControlWindow);
    site.PropertyChanged.Handle([this](std::wstring name) { notices.push_back(name); });
  }

  // What the shell is told about the icon; the requests for version 4 that follow each add
  // are checked on their own.
  std::vector<fake::FakeNotifyIcons::Call> IconCalls() const {
    std::vector<fake::FakeNotifyIcons::Call> calls;
    for (const auto& call : fakes.tray.calls)
      if (call.command != rt::nim::kSetVersion) calls.push_back(call);
    return calls;
  }
  fake::FakeNotifyIcons::Call Sent(std::size_t i) const { return IconCalls().at(i); }
  std::size_t SentCount() const { return IconCalls().size(); }
  bool Hooked() const {
    auto it = fakes.windowProcs.current.find(kControlWindow);
    return it != fakes.windowProcs.current.end() && it->second != fake::FakeWindowProcs::OriginalProcOf(kControlWindow);
  }
  void Notify(std::int32_t message) {
    fakes.windowProcs.Send(kControlWindow, cSysTray::TrayCallbackMessage, 0, message);
  }

  fake::FakePlatform fakes;
  rt::UserControlSite site{L"cSysTray1"};
  SysTray routing{fakes.windowProcs};
  cSysTray tray{fakes.platform, site, routing};
  std::vector<std::wstring> notices;
  rt::PicturePtr blueK = fake::MakePicture(rt::pic::kIcon, 0xB1);
};

TEST_F(TrayControlTest, AddingSendsTheIconTheTipAndTheCallbackAndHooksTheWindow) {
  tray.SetTrayIcon(blueK);
  tray.SetTrayTip(L"Vornatic");
  EXPECT_EQ(SentCount(), 0u);  // out of the tray they are only stored
  notices.clear();

  tray.SetInTray(true);
  ASSERT_EQ(SentCount(), 1u);
  const auto& add = Sent(0);
  EXPECT_EQ(add.command, rt::nim::kAdd);
  EXPECT_EQ(add.record.hWnd, kControlWindow);
  EXPECT_EQ(add.record.uID, 0u);
  EXPECT_EQ(add.record.uFlags, rt::nif::kMessage | rt::nif::kIcon | rt::nif::kTip | rt::nif::kShowTip);
  EXPECT_EQ(add.record.uCallbackMessage, 1125u);
  EXPECT_EQ(add.record.hIcon, 0xB1u);
  EXPECT_EQ(FieldText(add.record.szTip), u"Vornatic");
  EXPECT_TRUE(AllZero(add.record.szInfo));
  EXPECT_TRUE(AllZero(add.record.szInfoTitle));
  EXPECT_EQ(add.record.uTimeout, 0u);
  EXPECT_EQ(add.record.dwInfoFlags, 0u);
  EXPECT_TRUE(tray.InTray());
  EXPECT_TRUE(tray.IconAdded());
  EXPECT_TRUE(Hooked());
  EXPECT_EQ(notices, std::vector<std::wstring>{L"InTray"});
}

TEST_F(TrayControlTest, AddingWithoutTipOrIconCarriesOnlyTheCallback) {
  tray.SetInTray(true);
  ASSERT_EQ(SentCount(), 1u);
  EXPECT_EQ(Sent(0).record.uFlags, rt::nif::kMessage);
  EXPECT_EQ(Sent(0).record.hIcon, 0u);
  EXPECT_TRUE(AllZero(Sent(0).record.szTip));
}

TEST_F(TrayControlTest, InTrayChangesOnlyTheIconThatIsThere) {
  tray.SetTrayTip(L"Vornatic");
  tray.SetTrayIcon(blueK);

  // Setting a tip or icon while in the tray modifies just that field.
  tray.SetInTray(true);
  tray.SetTrayTip(L"Dragging");
  tray.SetTrayTip(L"");  // clears the tip the shell shows
  auto otherIcon = fake::MakePicture(rt::pic::kIcon, 0xC7);
  tray.SetTrayIcon(otherIcon);
  ASSERT_EQ(SentCount(), 4u);
  for (std::size_t i = 1; i < 4; ++i) {
    EXPECT_EQ(Sent(i).command, rt::nim::kModify);
    EXPECT_EQ(Sent(i).record.hWnd, kControlWindow);
    EXPECT_EQ(Sent(i).record.uCallbackMessage, 0u);
  }
  EXPECT_EQ(Sent(1).record.uFlags, rt::nif::kTip | rt::nif::kShowTip);
  EXPECT_EQ(FieldText(Sent(1).record.szTip), u"Dragging");
  EXPECT_EQ(Sent(1).record.hIcon, 0u);
  EXPECT_EQ(Sent(2).record.uFlags, rt::nif::kTip | rt::nif::kShowTip);
  EXPECT_EQ(FieldText(Sent(2).record.szTip), u"");
  EXPECT_EQ(Sent(3).record.uFlags, rt::nif::kIcon);
  EXPECT_EQ(Sent(3).record.hIcon, 0xC7u);
  EXPECT_TRUE(AllZero(Sent(3).record.szTip));
  EXPECT_EQ(tray.TrayIcon(), otherIcon);
  EXPECT_EQ(site.Picture(), otherIcon);  // the control's face follows its icon
  EXPECT_EQ(tray.TrayTip(), L"");
}

TEST_F(TrayControlTest, DeletingSendsAnEmptyRecordAndPutsTheProcedureBack) {
  tray.SetTrayTip(L"Vornatic");
  tray.SetInTray(true);
  notices.clear();
  tray.SetInTray(false);
  ASSERT_EQ(SentCount(), 2u);
  EXPECT_EQ(Sent(1).command, rt::nim::kDelete);
  EXPECT_EQ(Sent(1).record.hWnd, kControlWindow);
  EXPECT_EQ(Sent(1).record.uID, 0u);
  EXPECT_EQ(Sent(1).record.uFlags, 0u);
  EXPECT_TRUE(AllZero(Sent(1).record.szTip));
  EXPECT_FALSE(Hooked());
  EXPECT_FALSE(tray.IconAdded());
  EXPECT_EQ(notices, std::vector<std::wstring>{L"InTray"});
}

TEST_F(TrayControlTest, SettingInTrayToItsValueDoesNothingAtAll) {
  tray.SetInTray(false);
  tray.SetInTray(true);
  notices.clear();
  tray.SetInTray(true);
  EXPECT_EQ(SentCount(), 1u);
  EXPECT_TRUE(notices.empty());
}

TEST_F(TrayControlTest, InADesignerInTrayIsStoredButNoIconIsAddedOrDeleted) {
  site.SetUserMode(false);
  tray.SetInTray(true);
  EXPECT_TRUE(tray.InTray());
  EXPECT_FALSE(tray.IconAdded());
  EXPECT_FALSE(Hooked());
  tray.SetTrayTip(L"tip");      // nothing there to modify
  site.TaskbarCreated.Raise();  // nothing there to bring back
  tray.SetInTray(false);
  EXPECT_EQ(SentCount(), 0u);
  EXPECT_EQ(notices, (std::vector<std::wstring>{L"InTray", L"TrayTip", L"InTray"}));
}

TEST_F(TrayControlTest, PicturesThatAreNotIconsAndNoPictureAtAllAreIgnored) {
  tray.SetTrayIcon(blueK);
  tray.SetInTray(true);
  notices.clear();
  tray.SetTrayIcon(nullptr);
  tray.SetTrayIcon(fake::MakePicture(rt::pic::kBitmap, 0xD1));
  EXPECT_EQ(SentCount(), 1u);
  EXPECT_EQ(tray.TrayIcon(), blueK);
  EXPECT_TRUE(notices.empty());
}

TEST_F(TrayControlTest, TextsAreCutSoTheFieldAlwaysEndsInANul) {
  const std::wstring tip127(127, L't');
  tray.SetTrayTip(tip127 + L"xyz");
  tray.SetInTray(true);
  EXPECT_EQ(FieldText(Sent(0).record.szTip), std::u16string(127, u't'));
  EXPECT_EQ(tray.TrayTip(), tip127 + L"xyz");  // the control keeps what it was given

  tray.SetTrayTip(tip127);
  EXPECT_EQ(FieldText(Sent(1).record.szTip), std::u16string(127, u't'));  // exactly fits

  const std::wstring title(100, L'T'), text(300, L'b');
  tray.ShowBalloon(text, title, 0, false);
  EXPECT_EQ(FieldText(Sent(2).record.szInfoTitle), std::u16string(63, u'T'));
  EXPECT_EQ(FieldText(Sent(2).record.szInfo), std::u16string(255, u'b'));
}

TEST_F(TrayControlTest, TextsKeepEveryCharacterAndNeverSplitASurrogatePair) {
  tray.SetTrayTip(L"Gr\u00f6\u00dfe \u20ac \u4e2d \U0001F600");
  tray.SetInTray(true);
  EXPECT_EQ(FieldText(Sent(0).record.szTip), u"Gr\u00f6\u00dfe \u20ac \u4e2d \U0001F600");

  // 62 letters and a character outside the basic plane: its pair would need units 62 and
  // 63, but 63 belongs to the NUL, so the whole character goes.
  tray.ShowBalloon(L"", std::wstring(62, L'a') + L"\U0001F600", 0, false);
  EXPECT_EQ(FieldText(Sent(1).record.szInfoTitle), std::u16string(62, u'a'));
}

// Nothing waits for a balloon: the call returns at once, and a balloon the shell never
// closes is taken down by an emptying modify when its time is up.
TEST_F(TrayControlTest, ABalloonReturnsAtOnceAndIsTakenDownWhenItsTimeIsUp) {
  tray.SetInTray(true);
  tray.ShowBalloon(L"Line one\r\nLine two", L"Vornatic", 5, true);
  EXPECT_EQ(fakes.clock.Now(), 0.0);
  EXPECT_EQ(fakes.pump.Pumps(), 0);
  EXPECT_TRUE(tray.BalloonShowing());
  fakes.pump.RunUntil(4.99);
  EXPECT_EQ(SentCount(), 2u);
  fakes.pump.RunUntil(5.01);
  ASSERT_EQ(SentCount(), 3u);
  EXPECT_FALSE(tray.BalloonShowing());
  const auto& balloon = Sent(1).record;
  EXPECT_EQ(Sent(1).command, rt::nim::kModify);
  EXPECT_EQ(balloon.uFlags, rt::nif::kInfo);
  EXPECT_EQ(FieldText(balloon.szInfoTitle), u"Vornatic");
  EXPECT_EQ(FieldText(balloon.szInfo), u"Line one\r\nLine two");
  EXPECT_EQ(balloon.uTimeout, 5000u);
  EXPECT_EQ(balloon.dwInfoFlags, 0u);
  EXPECT_EQ(balloon.uCallbackMessage, 0u);
  EXPECT_TRUE(AllZero(balloon.szTip));

  const auto& emptying = Sent(2).record;
  EXPECT_EQ(Sent(2).command, rt::nim::kModify);
  EXPECT_EQ(emptying.uFlags, rt::nif::kInfo);
  EXPECT_EQ(FieldText(emptying.szInfoTitle), u"");
  EXPECT_EQ(FieldText(emptying.szInfo), u"");
  EXPECT_EQ(emptying.uTimeout, 5000u);
  EXPECT_EQ(emptying.hWnd, kControlWindow);
}

TEST_F(TrayControlTest, OnlyTheShellsClosingNoticesSpareTheEmptyingModify) {
  tray.SetInTray(true);
  for (std::int32_t closed : {1027, 1028, 1029}) {
    const double start = fakes.clock.Now();
    const std::size_t before = SentCount();
    fakes.pump.After(1.5, [&, closed] { Notify(closed); });
    tray.ShowBalloon(L"text", L"title", 5, false);
    fakes.pump.RunUntil(start + 6);
    EXPECT_EQ(SentCount(), before + 1) << closed;
  }
  const std::size_t before = SentCount();
  for (std::int32_t other : {1026, 512, 519, 520}) fakes.pump.After(1.0, [&, other] { Notify(other); });
  tray.ShowBalloon(L"text", L"title", 5, false);
  fakes.pump.RunUntil(fakes.clock.Now() + 6);
  EXPECT_EQ(SentCount(), before + 2);  // balloon, emptying modify
}

TEST_F(TrayControlTest, BalloonWithoutTimerReturnsAtOnceAndLeavesItToTheShell) {
  tray.ShowBalloon(L"text", L"title", 0, false);
  tray.ShowBalloon(L"text", L"title", -3, false);
  EXPECT_EQ(fakes.pump.Pumps(), 0);
  ASSERT_EQ(SentCount(), 2u);  // sent although no icon is there: the shell refuses it
  EXPECT_EQ(Sent(0).record.uTimeout, 0u);
  EXPECT_EQ(Sent(1).record.uTimeout, 0u);
}

TEST_F(TrayControlTest, ShowOnceBalloonsShowOnceAndOthersEveryTime) {
  tray.SetInTray(true);
  tray.ShowBalloon(L"a", L"t", 0, false);  // does not count
  tray.ShowBalloon(L"b", L"t", 0, true);
  tray.ShowBalloon(L"c", L"t", 5, true);  // returns at once, nothing sent
  EXPECT_EQ(fakes.clock.Now(), 0.0);
  tray.ShowBalloon(L"d", L"t", 0, false);
  std::vector<std::u16string> shown;
  for (std::size_t i = 1; i < SentCount(); ++i) shown.push_back(FieldText(Sent(i).record.szInfo));
  EXPECT_EQ(shown, (std::vector<std::u16string>{u"a", u"b", u"d"}));
}

TEST_F(TrayControlTest, TimerTooLongForMillisecondsFailsBeforeAnythingIsSent) {
  tray.SetInTray(true);
  try {
    tray.ShowBalloon(L"text", L"title", 2'147'484, true);
    FAIL() << "no failure";
  } catch (const rt::Failure& failure) {
    EXPECT_EQ(failure.Description(), L"Overflow");
  }
  EXPECT_EQ(SentCount(), 1u);

  // The largest timer that fits still works, and the failed call did not use up the show-once.
  fakes.pump.After(1.0, [&] { Notify(1028); });
  tray.ShowBalloon(L"text", L"title", 2'147'483, true);
  ASSERT_EQ(SentCount(), 2u);
  EXPECT_EQ(Sent(1).record.uTimeout, 2'147'483'000u);
}

TEST_F(TrayControlTest, NotificationsBecomeTheEventsWithButtonAndId) {
  std::vector<std::string> raised;
  tray.MouseMove.Handle([&](std::int32_t id) { raised.push_back("move " + std::to_string(id)); });
  tray.MouseDown.Handle([&](std::int16_t b, std::int32_t id) {
    raised.push_back("down " + std::to_string(b) + " " + std::to_string(id));
  });
  tray.MouseUp.Handle(
      [&](std::int16_t b, std::int32_t id) { raised.push_back("up " + std::to_string(b) + " " + std::to_string(id)); });
  tray.MouseDblClick.Handle([&](std::int16_t b, std::int32_t id) {
    raised.push_back("dbl " + std::to_string(b) + " " + std::to_string(id));
  });
  tray.Select.Handle([&](std::int32_t id) { raised.push_back("select " + std::to_string(id)); });
  tray.ContextMenu.Handle([&](std::int32_t id) { raised.push_back("menu " + std::to_string(id)); });

  std::int32_t id = 7;
  // 1024 and 1025: chosen with the mouse, and with Enter or Space; 123: its menu asked for.
  for (std::int32_t message :
       {512, 513, 514, 515, 516, 517, 518, 519, 520, 521, 1024, 1025, 123, 1026, 1027, 1028, 1029, 0, -1}) {
    tray.HandleTrayMessage(message, id);
  }
  // The classic form has no menu notice: the right button's release asks for the menu.
  EXPECT_EQ(raised, (std::vector<std::string>{"move 7", "down 1 7", "up 1 7", "dbl 1 7", "down 2 7", "up 2 7",
                                              "menu 7", "dbl 2 7", "select 7", "select 7", "menu 7"}));
}

TEST_F(TrayControlTest, EveryAddAsksForVersion4AndTheAnswerSaysHowNoticesCome) {
  const auto versionRequests = [&] {
    std::vector<std::size_t> at;
    for (std::size_t i = 0; i < fakes.tray.calls.size(); ++i)
      if (fakes.tray.calls[i].command == rt::nim::kSetVersion) at.push_back(i);
    return at;
  };
  tray.SetInTray(true);
  site.TaskbarCreated.Raise();  // the icon added again on a new taskbar
  // Each right after its add, for the same icon.
  EXPECT_EQ(versionRequests(), (std::vector<std::size_t>{1, 3}));
  for (std::size_t i : versionRequests()) {
    const auto& request = fakes.tray.calls[i].record;
    EXPECT_EQ(fakes.tray.calls[i - 1].command, rt::nim::kAdd);
    EXPECT_EQ(request.uVersion, 4u);
    EXPECT_EQ(request.hWnd, kControlWindow);
    EXPECT_EQ(request.uID, 0u);
  }
  EXPECT_TRUE(tray.UsesVersion4());

  // A shell that refuses it goes on with the classic notices.
  fakes.tray.result = false;
  site.TaskbarCreated.Raise();
  EXPECT_FALSE(tray.UsesVersion4());
}

TEST_F(TrayControlTest, NewTaskbarGetsTheIconBackWithItsTipAndPicture) {
  site.TaskbarCreated.Raise();  // out of the tray: nothing to bring back
  EXPECT_EQ(SentCount(), 0u);

  tray.SetTrayIcon(blueK);
  tray.SetTrayTip(L"Vornatic");
  tray.SetInTray(true);
  tray.SetTrayTip(L"Later tip");
  site.TaskbarCreated.Raise();
  ASSERT_EQ(SentCount(), 3u);
  const auto& again = Sent(2);
  EXPECT_EQ(again.command, rt::nim::kAdd);
  EXPECT_EQ(again.record.uFlags, rt::nif::kMessage | rt::nif::kIcon | rt::nif::kTip | rt::nif::kShowTip);
  EXPECT_EQ(again.record.uCallbackMessage, 1125u);
  EXPECT_EQ(again.record.hIcon, 0xB1u);
  EXPECT_EQ(FieldText(again.record.szTip), u"Later tip");
  EXPECT_TRUE(Hooked());

  tray.SetInTray(false);
  site.TaskbarCreated.Raise();
  EXPECT_EQ(SentCount(), 4u);  // only the delete
}

TEST_F(TrayControlTest, LoadingSavedPropertiesAddsFirstThenModifiesInPlace) {
  rt::PropertyBag bag;
  bag.Write(L"intray", true);  // the host saves the names in lower case
  bag.Write(L"trayicon", blueK);
  bag.Write(L"traytip", std::wstring(L"Saved tip"));
  tray.ReadProperties(bag);
  ASSERT_EQ(SentCount(), 3u);
  EXPECT_EQ(Sent(0).command, rt::nim::kAdd);
  EXPECT_EQ(Sent(0).record.uFlags, rt::nif::kMessage);
  EXPECT_EQ(Sent(1).record.uFlags, rt::nif::kIcon);
  EXPECT_EQ(Sent(2).record.uFlags, rt::nif::kTip | rt::nif::kShowTip);
  EXPECT_EQ(notices, (std::vector<std::wstring>{L"InTray", L"TrayIcon", L"TrayTip"}));

  rt::PropertyBag saved;
  tray.WriteProperties(saved);
  EXPECT_EQ(std::get<bool>(*saved.Find(L"InTray")), true);
  EXPECT_EQ(std::get<rt::PicturePtr>(*saved.Find(L"TrayIcon")), blueK);
  EXPECT_EQ(std::get<std::wstring>(*saved.Find(L"TrayTip")), L"Saved tip");
}

TEST_F(TrayControlTest, MissingSavedPropertiesTakeTheirDefaults) {
  site.SetPicture(blueK);
  tray.ReadProperties(rt::PropertyBag{});
  EXPECT_FALSE(tray.InTray());
  EXPECT_EQ(tray.TrayIcon(), blueK);
  EXPECT_EQ(tray.TrayTip(), std::wstring(L"Telnet Server\0", 14));
  EXPECT_EQ(SentCount(), 0u);

  rt::UserControlSite newSite{L"cSysTray2"};
  newSite.SetPicture(blueK);
  cSysTray placed{fakes.platform, newSite, routing};
  placed.InitProperties();
  EXPECT_EQ(placed.TrayTip(), std::wstring(L"Telnet Server\0", 14));
  EXPECT_EQ(placed.TrayIcon(), blueK);
  EXPECT_FALSE(placed.InTray());
}

TEST_F(TrayControlTest, ASavedIconThatIsNotAPictureFailsAndChangesNothing) {
  tray.SetTrayIcon(blueK);
  rt::PropertyBag bag;
  bag.Write(L"TrayIcon", std::wstring(L"not a picture"));
  EXPECT_THROW(tray.ReadProperties(bag), rt::Failure);
  EXPECT_EQ(tray.TrayIcon(), blueK);
}

TEST_F(TrayControlTest, TheWindowIsTakenWhenTheHostHasGivenIt) {
  rt::UserControlSite laterSite{L"cSysTray1"};
  cSysTray created{fakes.platform, laterSite, routing};  // the host has not made its window yet
  laterSite.SetHandle(0x2002);
  created.SetInTray(true);
  laterSite.SetHandle(0x2999);  // later changes do not move an icon that is in the tray
  created.SetInTray(false);
  ASSERT_EQ(SentCount(), 2u);
  EXPECT_EQ(Sent(0).record.hWnd, 0x2002u);
  EXPECT_EQ(Sent(1).record.hWnd, 0x2002u);
  EXPECT_EQ(fakes.windowProcs.current.at(0x2002), fake::FakeWindowProcs::OriginalProcOf(0x2002));
}

TEST_F(TrayControlTest, DestroyingTheControlInTheTrayTakesTheIconAndTheHookAway) {
  {
    rt::UserControlSite ownSite{L"cSysTray1"};
    ownSite.SetHandle(0x2003);
    cSysTray doomed{fakes.platform, ownSite, routing};
    doomed.SetInTray(true);
    EXPECT_NE(fakes.windowProcs.current.at(0x2003), fake::FakeWindowProcs::OriginalProcOf(0x2003));
  }
  ASSERT_EQ(SentCount(), 2u);
  EXPECT_EQ(Sent(1).command, rt::nim::kDelete);
  EXPECT_EQ(fakes.windowProcs.current.at(0x2003), fake::FakeWindowProcs::OriginalProcOf(0x2003));
}

}  // namespace
