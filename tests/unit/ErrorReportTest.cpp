// The uniform "Application Error" report of the numbered statements, and the program's own
// last words when a failure reaches a handler without it.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "app/ErrorReport.h"
#include "fakes/FakePlatform.h"
#include "runtime/Failure.h"
#include "unit/ProgramFixture.h"

namespace {

class ErrorReportTest : public ::testing::Test {
 protected:
  fake::FakeDialogs dialogs;
  NumberedStatements s{dialogs, fake::English(), L"Form_Load"};
  std::vector<int> ran;
};

TEST_F(ErrorReportTest, AFailingStatementIsReportedByteForByteAndTheNextOneRuns) {
  s.Run(102, [&] { ran.push_back(102); });
  s.Run(104, [&] { throw rt::Failure(L"Invalid procedure call or argument"); });
  s.Run(106, [&] { ran.push_back(106); });

  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].text,
            L"Invalid procedure call or argument\r\n"
            L"in Vornix2021/08/31.Form1.Form_Load at line 104\r\r"
            L"Please email screenshot of this message to support@kestrova.example");
  EXPECT_EQ(dialogs.shown[0].title, L"Application Error");
  EXPECT_EQ(dialogs.shown[0].style, 48);
  EXPECT_EQ(ran, (std::vector<int>{102, 106}));
}

TEST_F(ErrorReportTest, AFailingConditionIsReportedAndItsBlockEntered) {
  if (s.Test(128, [&]() -> bool { throw rt::Failure(L"Object required"); })) ran.push_back(130);
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].text,
            L"Object required\r\nin Vornix2021/08/31.Form1.Form_Load at line 128\r\r"
            L"Please email screenshot of this message to support@kestrova.example");
  EXPECT_EQ(ran, std::vector<int>{130});

  // A condition that holds or fails without a failure is answered as it is, silently.
  EXPECT_TRUE(s.Test(132, [] { return true; }));
  EXPECT_FALSE(s.Test(134, [] { return false; }));
  EXPECT_EQ(dialogs.shown.size(), 1u);
}

TEST_F(ErrorReportTest, EveryFailureGetsItsOwnBoxInOrder) {
  s.Run(100, [] { throw rt::Failure(L"first"); });
  s.Run(102, [] { throw rt::Failure(L"second"); });
  s.Run(102, [] { throw std::runtime_error("third"); });  // any exception carries its text
  ASSERT_EQ(dialogs.shown.size(), 3u);
  EXPECT_EQ(dialogs.shown[0].text.substr(0, 7), L"first\r\n");
  EXPECT_NE(dialogs.shown[0].text.find(L"at line 100\r\r"), std::wstring::npos);
  EXPECT_EQ(dialogs.shown[1].text.substr(0, 8), L"second\r\n");
  EXPECT_NE(dialogs.shown[1].text.find(L"at line 102\r\r"), std::wstring::npos);
  EXPECT_EQ(dialogs.shown[2].text.substr(0, 7), L"third\r\n");
}

TEST_F(ErrorReportTest, AFailureWithoutDescriptionStartsWithTheLineBreak) {
  s.Run(110, [] { throw rt::Failure(L""); });
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].text,
            L"\r\nin Vornix2021/08/31.Form1.Form_Load at line 110\r\r"
            L"Please email screenshot of this message to support@kestrova.example");
}

TEST_F(ErrorReportTest, TheProcedureWaitsForTheBoxWhileOtherHandlersRun) {
  std::vector<std::string> order;
  dialogs.whileShown = [&](const fake::ShownBox&) { order.push_back("other handler while the box is up"); };
  s.Run(100, [] { throw rt::Failure(L"x"); });
  s.Run(102, [&] { order.push_back("next statement"); });
  EXPECT_EQ(order, (std::vector<std::string>{"other handler while the box is up", "next statement"}));
}

TEST_F(ErrorReportTest, EndingTheProgramIsNotAFailureAndIsNotReported) {
  EXPECT_THROW(s.Run(100, [] { throw rt::ProgramEnded{}; }), rt::ProgramEnded);
  EXPECT_TRUE(dialogs.shown.empty());
}

// A failure in a handler that has no report of its own: the program says so in its own
// words and ends, leaving no button held and no icon in the tray.
class UnhandledFailureTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    ShowWindow();
  }
};

TEST_F(UnhandledFailureTest, LetsGoOfEverythingThenSaysSoAndEnds) {
  ClickStartStopAt(0);
  fakes.mouse.UserClickAt(8.0);  // picked up: the button is held for the user
  bool cleanBeforeTheBox = false;
  fakes.dialogs.whileShown = [&](const fake::ShownBox&) {
    cleanBeforeTheBox = !fakes.mouse.HookInstalled() && !mouse.HoldingButton() &&
                        fakes.tray.calls.back().command == rt::nim::kDelete &&
                        fakes.mouse.injections.back().message == rt::msg::kLButtonUp;
  };
  fakes.pump.At(10.0, [&] {
    ASSERT_TRUE(form.Drag().ButtonHeld());
    throw rt::Failure(L"Out of memory");
  });
  EXPECT_THROW(fakes.pump.RunUntil(20.0), rt::ProgramEnded);

  ASSERT_EQ(fakes.dialogs.shown.size(), 1u);
  const auto& box = fakes.dialogs.shown[0];
  EXPECT_EQ(box.text, Program::UnhandledFailureText(fakes.texts, L"Out of memory"));
  EXPECT_NE(box.text.find(L"Out of memory"), std::wstring::npos);
  EXPECT_NE(box.text.find(L"support@kestrova.example"), std::wstring::npos);
  EXPECT_EQ(box.style, rt::mb::kOkOnly | rt::mb::kCritical);
  EXPECT_EQ(box.title, L"Vornatic");
  EXPECT_TRUE(cleanBeforeTheBox);
  EXPECT_EQ(fakes.windowProcs.current.at(0x2001), fake::FakeWindowProcs::OriginalProcOf(0x2001));
  EXPECT_TRUE(fakes.app.ended);
}

TEST_F(UnhandledFailureTest, EveryStepIsTriedEvenWhenOneFails) {
  form.cSysTray1Site.PropertyChanged.Handle([](std::wstring) { throw rt::Failure(L"again"); });
  fakes.dialogs.whileShown = [](const fake::ShownBox&) { throw std::runtime_error("no box today"); };
  program.OnUnhandledFailure(rt::Failure(L"first"));  // must neither throw nor stop half-way
  EXPECT_EQ(fakes.tray.calls.back().command, rt::nim::kDelete);
  EXPECT_EQ(fakes.dialogs.shown.size(), 1u);
}

}  // namespace
