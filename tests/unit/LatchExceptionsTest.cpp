// Programs where the latch stays out, on the fakes: the list as stored and read back, as the
// Settings window fills it, and what the hook makes of a press in such a program's window.
#include <gtest/gtest.h>

#include "autodrag/LatchExceptions.h"
#include "settings/RegText.h"
#include "settingswindow/SettingsTexts.h"
#include "unit/ProgramFixture.h"

namespace {

constexpr std::uint32_t kLDown = 0x0201, kLUp = 0x0202, kRDown = 0x0204, kRUp = 0x0205, kMDown = 0x0207,
                        kMUp = 0x0208;
// Left of x = 500 the window is notepad's, right of it the probe's.
constexpr rt::ScreenPoint kInNotepad{100, 100}, kInProbe{700, 100};

class LatchExceptionsTest : public ProgramTest {
 protected:
  SettingsStore Store() { return SettingsStore(fakes.registry, fakes.dialogs, fakes.texts, L"Vornatic"); }
  void StartWith(const wchar_t* latch, std::vector<std::wstring> exceptions) {
    Store().SaveSetting(L"Kestrova", L"Vornatic", L"Latch", latch);
    Store().SaveSetting(L"Kestrova", L"Vornatic", L"LatchRight", L"On");
    Store().SaveList(L"Kestrova", L"Vornatic", L"LatchExceptions", exceptions);
    fakes.mouse.programAt = [](rt::ScreenPoint p) { return p.x < 500 ? 101u : 102u; };
    fakes.programs.names = {{101, L"notepad.exe"}, {102, L"probe.exe"}};
    ShowWindow();
  }
};

// Kept as REG_MULTI_SZ, one file name a line, in any script; empty lines cannot be kept; a
// value of another type, or one missing, is no list; data that lost its last NULs still
// holds its last name.
TEST_F(LatchExceptionsTest, TheListIsStoredAsAMultiStringAndReadBack) {
  const std::vector<std::wstring> names{L"notepad.exe", L"Łódź.exe", L"画像.exe"};
  Store().SaveList(L"Kestrova", L"Vornatic", L"LatchExceptions", {names[0], L"", names[1], names[2]});
  EXPECT_EQ(Store().GetList(L"Kestrova", L"Vornatic", L"LatchExceptions"), names);
  const std::vector<std::uint8_t> data = regtext::ToRegMultiSz(names);
  EXPECT_EQ(data.size(), (11 + 1 + 8 + 1 + 6 + 1 + 1) * 2u);
  EXPECT_EQ(regtext::FromRegMultiSz({data.begin(), data.end() - 4}), names) << "cut short";
  EXPECT_TRUE(regtext::FromRegMultiSz(regtext::ToRegMultiSz({})).empty());
  Store().SaveSetting(L"Kestrova", L"Vornatic", L"LatchExceptions", L"notepad.exe");
  EXPECT_TRUE(Store().GetList(L"Kestrova", L"Vornatic", L"LatchExceptions").empty()) << "a REG_SZ is no list";
  EXPECT_TRUE(Store().GetList(L"Kestrova", L"Vornatic", L"Missing").empty());
}

// Names match whatever their case, in the scripts Windows folds, and only whole.
TEST(LatchExceptions, MatchWholeFileNamesInAnyCase) {
  LatchExceptions list;
  list.Set({L"Notepad.EXE", L"ŁÓDŹ.exe", L"Пример.exe", L"ΔΈΛΤΑ.exe", L""});
  const struct {
    const wchar_t* name;
    bool covered;
  } cases[] = {
      {L"notepad.exe", true}, {L"NOTEPAD.EXE", true},  {L"notepad.ex", false}, {L"notepad.exe.bak", false},
      {L"łódź.EXE", true},    {L"пример.exe", true},   {L"δέλτα.exe", false},  {L"ΔΈΛΤΑ.EXE", true},
      {L"", false},           {L"wordpad.exe", false},
  };
  for (const auto& c : cases) EXPECT_EQ(list.Cover(c.name), c.covered) << testing::PrintToString(std::wstring(c.name));
  list.Set({});
  EXPECT_FALSE(list.Any());
  EXPECT_FALSE(list.Cover(L"notepad.exe"));
}

// A press held still in an excepted program's window stays an ordinary press: no latch, no
// badge, nothing swallowed, for each button that latches; in any other window it latches.
// Start's auto-drag still picks up and drops there. Which program owns the window is asked
// only of a press that could latch.
TEST_F(LatchExceptionsTest, APressHeldStillInAnExceptedProgramStaysAPressAndStartStillWorks) {
  StartWith(L"800", {L"NOTEPAD.EXE"});
  struct Case {
    const char* what;
    rt::ScreenPoint at;
    std::uint32_t down, up;
    bool latches;
  };
  const Case cases[] = {
      {"left, in notepad", kInNotepad, kLDown, kLUp, false},
      {"right, in notepad", kInNotepad, kRDown, kRUp, false},
      {"left, in the probe", kInProbe, kLDown, kLUp, true},
      {"right, in the probe", kInProbe, kRDown, kRUp, true},
  };
  double t = 1;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::size_t from = fakes.mouse.delivered.size();
    const int asked = fakes.programs.asked;
    fakes.mouse.UserEventAt(t, c.down, c.at);
    fakes.mouse.UserEventAt(t + 1.5, c.up, c.at);
    fakes.pump.At(t + 1.0, [&] { EXPECT_EQ(fakes.badge.visible, c.latches); });
    fakes.pump.RunUntil(t + 2);
    EXPECT_EQ(mouse.HoldingButton(), c.latches);
    EXPECT_EQ(fakes.programs.asked - asked, 1) << "asked once, for the press";
    if (c.latches) {  // the drop
      fakes.mouse.UserEventAt(t + 2.5, c.down, c.at);
      fakes.mouse.UserEventAt(t + 2.6, c.up, c.at);
      fakes.pump.RunUntil(t + 3.5);
    }
    EXPECT_FALSE(mouse.HoldingButton());
    EXPECT_NE(fakes.mouse.Seen(from).find(c.down == kLDown ? "U@" : "u@"), std::string::npos)
        << "the user's release reached the program: " << fakes.mouse.Seen(from);
    t += 5;
  }

  // Start: the pick-up in notepad is held, the drop lets go, and nobody asked whose window it was.
  const int asked = fakes.programs.asked;
  ClickStartStopAt(t);
  fakes.mouse.UserClickAt(t + 1, kInNotepad, 0.05);
  fakes.pump.At(t + 1.5, [&] { EXPECT_TRUE(mouse.HoldingButton()) << "picked up in notepad"; });
  fakes.mouse.UserClickAt(t + 2, {200, 150}, 0.05);
  const std::size_t from = fakes.mouse.delivered.size();
  fakes.pump.RunUntil(t + 3);
  EXPECT_EQ(fakes.mouse.Seen(from), "D@100,100 M@200,150 U@200,150");
  EXPECT_FALSE(fakes.mouse.LeftButtonDown());
  EXPECT_EQ(fakes.programs.asked, asked) << "a Start's clicks cannot latch";
}

// Not asked at all where no press could latch: moves, a button that does not latch, an
// empty list, the latch off.
TEST_F(LatchExceptionsTest, ThePlatformIsNotAskedWhereNoPressCouldLatch) {
  StartWith(L"800", {});
  fakes.mouse.UserEventAt(1, kLDown, kInNotepad);
  fakes.mouse.UserMoveAt(1.5, {120, 100});
  fakes.mouse.UserEventAt(2, kLUp, {120, 100});
  fakes.pump.RunUntil(3);
  EXPECT_EQ(fakes.programs.asked, 0) << "an empty list";
  mouse.SetLatchExceptions({L"notepad.exe"});
  mouse.SetLatch(drag::Latch{std::chrono::milliseconds(800), false, false});
  fakes.mouse.UserEventAt(4, kRDown, kInNotepad);
  fakes.mouse.UserEventAt(4.2, kRUp, kInNotepad);
  fakes.mouse.UserMoveAt(4.5, {130, 100});
  fakes.pump.RunUntil(5);
  EXPECT_EQ(fakes.programs.asked, 0) << "the right button does not latch";
  fakes.mouse.UserClickAt(6, kInNotepad);
  fakes.pump.RunUntil(7);
  EXPECT_EQ(fakes.programs.asked, 1);
}

// Whether our input would reach the window is asked of the two events it decides: a press
// the latch could take, and the release that picks up after a Start; no other event pays
// for reading a program's token. And the hook answers every event, with programs listed,
// without going to the heap.
TEST_F(LatchExceptionsTest, TheHookAsksReachOnlyWhereItDecidesAndNeverAllocates) {
  StartWith(L"800", {L"probe.exe"});
  mouse.SetLatch(drag::Latch{std::chrono::milliseconds(800), false, false});
  struct Step {
    const char* what;
    std::uint32_t message;  // 0: a move
    int asked;  // whether our input reaches the window
  };
  struct Seen {
    const Step* step;
    int asked, looked;
  };
  // Everything is laid out on the clock first: a Start's click waits for its drop.
  std::vector<Seen> seen;
  const auto play = [&](double t, const auto& steps) {
    for (const Step& step : steps) {
      if (step.message == 0)
        fakes.mouse.UserMoveAt(t, {kInNotepad.x + 30, kInNotepad.y});
      else
        fakes.mouse.UserEventAt(t, step.message, kInNotepad);
      fakes.pump.At(t + 0.1, [&, step = &step] {
        seen.push_back({step, fakes.mouse.reachAsked.load(), fakes.mouse.looks.load()});
      });
      t += 0.2;
    }
  };
  const Step latchable[] = {{"a left press the latch could take", kLDown, 1},
                            {"a move", 0, 0},
                            {"its quick release", kLUp, 0},
                            {"a right press, which does not latch", kRDown, 0},
                            {"its release", kRUp, 0},
                            {"a middle press", kMDown, 0},
                            {"its release", kMUp, 0}};
  const Step started[] = {{"the press that picks up", kLDown, 0},
                          {"the release that picks up", kLUp, 1},
                          {"a move while held", 0, 0},
                          {"the press that drops", kLDown, 0},
                          {"the release that drops", kLUp, 0}};
  const int before = fakes.mouse.reachAsked;
  const int looksBefore = fakes.mouse.looks;
  play(1, latchable);
  ClickStartStopAt(3);
  play(4, started);
  fakes.pump.RunUntil(6);
  ASSERT_EQ(seen.size(), std::size(latchable) + std::size(started));
  // One look at the window under every button event, none under a move.
  int last = before;
  int lastLook = looksBefore;
  for (const auto& [step, asked, looked] : seen) {
    EXPECT_EQ(asked - last, step->asked) << step->what;
    EXPECT_EQ(looked - lastLook, step->message == 0 ? 0 : 1) << step->what;
    last = asked;
    lastLook = looked;
  }
  EXPECT_EQ(fakes.programs.asked, 1) << "the latchable press's program";
  EXPECT_EQ(fakes.mouse.heapInHook, 0);
  EXPECT_FALSE(mouse.HoldingButton());
}

// In the Settings window: Add... offers the programs with open windows not yet listed, in a
// menu; Remove takes the selected one off and selects the next; Apply stores the list and
// it holds at once; with the latch cleared the list, Add and Remove are greyed.
TEST_F(LatchExceptionsTest, TheSettingsWindowFillsAndEmptiesTheList) {
  StartWith(L"800", {L"calc.exe"});
  fakes.programs.openWindows = {L"Calc.exe", L"notepad.exe", L"R&D.exe"};
  form.PushButton3.RaiseClick();
  SettingsWindow& dialog = form.SettingsDialog();
  EXPECT_EQ(dialog.ExceptionList.Items(), (std::vector<std::wstring>{L"calc.exe"}));
  EXPECT_FALSE(dialog.RemoveProgram.Enabled()) << "nothing selected";
  fakes.menus.chooseText = L"notepad.exe";
  dialog.AddProgram.RaiseClick();
  ASSERT_FALSE(fakes.menus.shown.empty());
  EXPECT_EQ(fakes.menus.shown.back(), (std::vector<rt::MenuItem>{{1, L"notepad.exe"}, {2, L"R&&D.exe"}}))
      << "calc.exe is listed already, in another case";
  EXPECT_EQ(dialog.ExceptionList.Items(), (std::vector<std::wstring>{L"calc.exe", L"notepad.exe"}));
  EXPECT_EQ(dialog.ExceptionList.Selected(), 1);
  EXPECT_TRUE(dialog.ApplyButton.Enabled());
  dialog.ExceptionList.SetSelected(0);
  dialog.RemoveProgram.RaiseClick();
  EXPECT_EQ(dialog.ExceptionList.Items(), (std::vector<std::wstring>{L"notepad.exe"}));
  EXPECT_EQ(dialog.ExceptionList.Selected(), 0) << "the next one comes up";
  fakes.menus.chooseText.clear();
  dialog.AddProgram.RaiseClick();  // dismissed
  EXPECT_EQ(dialog.ExceptionList.Items().size(), 1u);
  fakes.programs.openWindows = {L"NOTEPAD.EXE"};
  dialog.AddProgram.RaiseClick();
  ASSERT_EQ(fakes.menus.shown.back().size(), 1u) << "nothing to add is said, not a menu that never opens";
  EXPECT_TRUE(fakes.menus.shown.back()[0].grayed);
  EXPECT_EQ(dialog.ExceptionList.Items().size(), 1u);
  dialog.ApplyButton.RaiseClick();
  EXPECT_EQ(Store().GetList(L"Kestrova", L"Vornatic", L"LatchExceptions"), (std::vector<std::wstring>{L"notepad.exe"}));
  fakes.mouse.UserEventAt(1, kLDown, kInNotepad);
  fakes.mouse.UserEventAt(2.5, kLUp, kInNotepad);
  fakes.pump.RunUntil(3);
  EXPECT_FALSE(mouse.HoldingButton()) << "in effect at once";
  dialog.LatchBox.ToggleByUser();
  for (const rt::Control* c :
       std::initializer_list<const rt::Control*>{&dialog.ExceptionList, &dialog.AddProgram, &dialog.RemoveProgram})
    EXPECT_FALSE(c->Enabled()) << testing::PrintToString(c->Name());
}

}  // namespace
