// The Help button: one message naming our contact page, titled with the application title;
// it opens nothing and changes nothing.
#include <gtest/gtest.h>

#include "ProgramFixture.h"
#include "runtime/Failure.h"

namespace {

const wchar_t* const kHelpText = L"Questions? Please contact Team Kestrova at https://www.kestrova.example/contact/";

class Help : public ProgramTest {};

class HelpWithALongName : public ProgramTest {
 protected:
  HelpWithALongName() : ProgramTest(10 * 3600.0, L"Vornatic Drag Helper Toolkit Ultimatum Extra Edition") {}
};

TEST_F(HelpWithALongName, ShowsTheContactMessageTitledWithTheApplicationTitle) {
  ShowWindow();
  fakes.registry.log.clear();
  const auto trayCalls = fakes.tray.calls.size();
  for (int answer : {rt::mb::kOk, 2 /* closed with Esc or the close box */}) {
    fakes.dialogs.answer = answer;
    form.PushButton1.RaiseClick();
  }
  ASSERT_EQ(fakes.dialogs.shown.size(), 2u);
  for (const auto& box : fakes.dialogs.shown) {
    EXPECT_EQ(box.text, kHelpText);
    EXPECT_EQ(box.style, 0);  // OK only, no icon
    EXPECT_EQ(box.title, L"Vornatic Drag Helper Toolkit Ultimatum");
  }
  // However it was closed, nothing else happened.
  EXPECT_TRUE(fakes.starter.started.empty());
  EXPECT_TRUE(fakes.starter.opened.empty());
  EXPECT_TRUE(fakes.registry.log.empty());
  EXPECT_EQ(fakes.tray.calls.size(), trayCalls);
  EXPECT_TRUE(form.Me.Visible());
  EXPECT_EQ(form.PushButton2.Caption(), L"Start Autodrag");
}

TEST_F(Help, AMessageThatCannotBeShownIsReportedAtLine100) {
  ShowWindow();
  fakes.dialogs.whileShown = [](const fake::ShownBox& box) {
    if (box.title != L"Application Error") throw rt::Failure(L"Out of memory");
  };
  form.PushButton1.RaiseClick();
  ASSERT_EQ(fakes.dialogs.shown.size(), 2u);
  EXPECT_EQ(fakes.dialogs.shown[1].title, L"Application Error");
  EXPECT_EQ(fakes.dialogs.shown[1].style, 48);
  EXPECT_EQ(fakes.dialogs.shown[1].text.rfind(
                L"Out of memory\r\nin Vornix2021/08/31.Form1.PushButton1_Click at line 100\r\r", 0),
            0u);
}

}  // namespace
