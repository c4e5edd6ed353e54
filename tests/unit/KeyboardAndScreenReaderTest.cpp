// What keyboard and screen-reader users meet: the Tab key and the reading order follow
// the screen, and the status line is spoken as auto-drag goes on and off.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/controls/TabOrder.h"
#include "unit/ProgramFixture.h"

namespace {

std::vector<std::wstring> Names(const std::vector<rt::Control*>& controls) {
  std::vector<std::wstring> names;
  for (const rt::Control* control : controls) names.push_back(control->Name());
  return names;
}

using KeyboardAndScreenReaderTest = ProgramTest;

TEST_F(KeyboardAndScreenReaderTest, TabAndReadingOrderFollowTheScreenAndTheFocusStartsOnStart) {
  // Top to bottom, each frame just before what it holds; the text box nobody sees comes last.
  EXPECT_EQ(Names(rt::ReadingOrder(form.Me)),
            (std::vector<std::wstring>{L"PushButton2", L"Frame2", L"Check4", L"Check8", L"Frame1", L"Label1",
                                       L"PushButton3", L"PushButton1", L"Text1", L"cSysTray1"}));
  // The hidden minimised box is skipped, and the text box is never a stop.
  EXPECT_EQ(Names(rt::TabOrder(form.Me)),
            (std::vector<std::wstring>{L"PushButton2", L"Check4", L"PushButton3", L"PushButton1"}));
  form.Check8.SetVisible(true);
  EXPECT_EQ(Names(rt::TabOrder(form.Me)),
            (std::vector<std::wstring>{L"PushButton2", L"Check4", L"Check8", L"PushButton3", L"PushButton1"}));
  EXPECT_FALSE(rt::IsTabStop(form.Text1));
  EXPECT_TRUE(form.Text1.Visible());  // it keeps its place and properties otherwise
}

TEST_F(KeyboardAndScreenReaderTest, TheStatusLineIsAnAssertiveLiveRegionToldOfEveryChange) {
  ShowWindow();
  using Told = fake::FakeAccessibility::Told;
  const auto& told = fakes.accessibility.told;
  ASSERT_EQ(told.size(), 1u);  // start-up marks it; the layout's caption is no change
  EXPECT_EQ(told[0].control, L"Label1");
  EXPECT_EQ(told[0].setting, rt::LiveSetting::Assertive);

  // Two Starts, each stopped after a while: every change is told once, after the label
  // shows it, also while the window is away in the tray.
  for (const double start : {0.0, 20.0}) {
    const std::size_t before = told.size();
    ClickStartStopAt(start);
    fakes.pump.At(start + 10, [&] {
      ASSERT_EQ(told.size(), before + 1);
      EXPECT_FALSE(form.Me.Visible());
      form.PushButton2.RaiseClick();
    });
    fakes.pump.RunUntil(start + 11);
    ASSERT_EQ(told.size(), before + 2);
    for (const Told& change : {told[before], told[before + 1]}) {
      EXPECT_EQ(change.control, L"Label1");
      EXPECT_FALSE(change.setting.has_value());
    }
    EXPECT_EQ(told[before].caption, L"Auto-drag is on.");
    EXPECT_EQ(told[before + 1].caption, L"Auto-drag is off.");
  }
}

}  // namespace
