// The tray window procedure: the callback message reaches the control's decoder, every
// message still reaches the procedure it replaced, and a release over the icon brings the
// main window back.
#include <gtest/gtest.h>

#include <vector>

#include "fakes/FakePlatform.h"
#include "tray/SysTray.h"
#include "tray/cSysTray.h"
#include "unit/ProgramFixture.h"

namespace {

constexpr rt::WindowHandle kControlWindow = 0x2001;
constexpr std::uint32_t kCallback = cSysTray::TrayCallbackMessage;

class TrayRoutingTest : public ::testing::Test {
 protected:
  TrayRoutingTest() {
    site.SetHandle(kControlWindow);
    tray.MouseUp.Handle([this](std::int16_t button, std::int32_t id) {
      // The replaced procedure has not seen the callback yet: decoding comes first.
      ups.push_back({button, id, fakes.windowProcs.originalCalls.size()});
    });
  }
  struct Up {
    std::int16_t button;
    std::int32_t id;
    std::size_t originalCallsSoFar;
  };

  fake::FakePlatform fakes;
  rt::UserControlSite site{L"cSysTray1"};
  SysTray routing{fakes.windowProcs};
  cSysTray tray{fakes.platform, site, routing};
  std::vector<Up> ups;
};

TEST_F(TrayRoutingTest, HookLinksTheWindowToItsControlAndSavesTheReplacedProcedure) {
  tray.SetInTray(true);
  EXPECT_EQ(routing.SavedWindowProc(), fake::FakeWindowProcs::OriginalProcOf(kControlWindow));
  EXPECT_NE(fakes.windowProcs.userData.at(kControlWindow), 0u);
  tray.SetInTray(false);
  EXPECT_EQ(fakes.windowProcs.userData.at(kControlWindow), 0u) << "no link outlives the hook";
}

TEST_F(TrayRoutingTest, EveryMessageReachesTheReplacedProcedureUnchangedWithItsResult) {
  fakes.tray.result = false;  // a shell without version 4 sends the classic form
  tray.SetInTray(true);
  EXPECT_EQ(fakes.windowProcs.Send(kControlWindow, 0x000F, 1, 2), fake::FakeWindowProcs::kOriginalResult);
  EXPECT_EQ(fakes.windowProcs.Send(kControlWindow, kCallback, 5, 514), fake::FakeWindowProcs::kOriginalResult);
  EXPECT_EQ(fakes.windowProcs.Send(kControlWindow, kCallback, 0, 1027), fake::FakeWindowProcs::kOriginalResult);

  const auto& seen = fakes.windowProcs.originalCalls;
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0].message, 0x000Fu);
  EXPECT_EQ(seen[0].wParam, 1u);
  EXPECT_EQ(seen[0].lParam, 2);
  EXPECT_EQ(seen[1].message, kCallback);
  EXPECT_EQ(seen[1].wParam, 5u);
  EXPECT_EQ(seen[1].lParam, 514);
  EXPECT_EQ(seen[1].window, kControlWindow);

  // The callback was decoded, with lParam as the message and wParam as the id, first.
  ASSERT_EQ(ups.size(), 1u);
  EXPECT_EQ(ups[0].button, 1);
  EXPECT_EQ(ups[0].id, 5);
  EXPECT_EQ(ups[0].originalCallsSoFar, 1u);
}

TEST_F(TrayRoutingTest, WithVersion4TheNoticeAndTheIdShareLParamAndWParamSaysWhereTheIconIs) {
  tray.SetInTray(true);  // the shell takes version 4
  const std::intptr_t packed = (3 << 16) | 514;
  fakes.windowProcs.Send(kControlWindow, kCallback, 0x02F603F6, packed);  // x 1014, y 758
  ASSERT_EQ(ups.size(), 1u);
  EXPECT_EQ(ups[0].button, 1);
  EXPECT_EQ(ups[0].id, 3);
  EXPECT_EQ(fakes.windowProcs.originalCalls.back().lParam, packed);
}

TEST_F(TrayRoutingTest, OtherMessagesAreNotDecoded) {
  tray.SetInTray(true);
  fakes.windowProcs.Send(kControlWindow, 0x0202, 0, 514);  // a plain button release on the window
  fakes.windowProcs.Send(kControlWindow, kCallback + 1, 0, 514);
  EXPECT_TRUE(ups.empty());
  EXPECT_EQ(fakes.windowProcs.originalCalls.size(), 2u);
}

TEST_F(TrayRoutingTest, AfterRemovalMessagesNoLongerPassThroughTheTrayProcedure) {
  tray.SetInTray(true);
  tray.SetInTray(false);
  EXPECT_EQ(fakes.windowProcs.current.at(kControlWindow), fake::FakeWindowProcs::OriginalProcOf(kControlWindow));
  fakes.windowProcs.Send(kControlWindow, kCallback, 0, 514);
  EXPECT_TRUE(ups.empty());
  EXPECT_EQ(fakes.windowProcs.originalCalls.size(), 1u);
}

// The main window's side: the tray control's MouseUp brings it back.
class TrayRestoreTest : public ProgramTest {
 protected:
  // Records the requests the window makes of its real counterpart (visibility, focus).
  struct Recorder : rt::ControlPeer {
    void OnChanged(rt::Control&, rt::Property p) override { changes.push_back(p); }
    std::vector<rt::Property> changes;
  };

  void SetUp() override {
    ProgramTest::SetUp();
    ShowWindow();
    form.Me.AttachPeer(&recorder);
  }
  void TrayNotification(std::int32_t message) { fakes.windowProcs.Send(kControlWindow, kCallback, 0, message); }
  void IntoTheTray() {
    form.Me.WindowStateChangedBySystem(rt::windowstate::kMinimized);  // balloon waits 5 s
    ASSERT_FALSE(form.Me.Visible());
    ASSERT_TRUE(program.State().HiddenInTray);
    recorder.changes.clear();
  }
  bool Focused() const {
    for (auto p : recorder.changes)
      if (p == rt::Property::Focus) return true;
    return false;
  }
  Recorder recorder;
};

// The left button released, then the icon chosen with the mouse, with Enter or Space.
TEST_F(TrayRestoreTest, ReleasingTheLeftButtonOverTheIconOrChoosingItBringsTheWindowBack) {
  for (std::int32_t release : {514, 1024, 1025}) {
    IntoTheTray();
    TrayNotification(release);
    EXPECT_TRUE(form.Me.Visible()) << release;
    EXPECT_TRUE(Focused()) << release;
    EXPECT_FALSE(program.State().HiddenInTray) << release;
    EXPECT_EQ(form.Me.WindowState(), rt::windowstate::kNormal) << release;
  }
  EXPECT_TRUE(fakes.menus.shown.empty());
}

// The right button released, then the menu asked for, as a shell of version 4 tells of a
// right click: one menu, and the window stays in the tray when it is dismissed.
TEST_F(TrayRestoreTest, TheRightButtonOpensTheMenuInstead) {
  IntoTheTray();
  TrayNotification(517);
  EXPECT_TRUE(fakes.menus.shown.empty()) << "the menu notice follows";
  TrayNotification(123);
  EXPECT_EQ(fakes.menus.shown.size(), 1u);
  EXPECT_FALSE(form.Me.Visible());
  EXPECT_TRUE(program.State().HiddenInTray);
}

TEST_F(TrayRestoreTest, MovingPressingAndDoubleClickingDoNotRestore) {
  IntoTheTray();
  for (std::int32_t message : {512, 513, 515, 516, 518, 519, 520}) TrayNotification(message);
  EXPECT_FALSE(form.Me.Visible());
  EXPECT_TRUE(program.State().HiddenInTray);
  EXPECT_TRUE(recorder.changes.empty());
}

TEST_F(TrayRestoreTest, RestoringAVisibleWindowOnlyFocusesIt) {
  const auto trayCalls = fakes.tray.calls.size();
  TrayNotification(514);
  EXPECT_TRUE(form.Me.Visible());
  EXPECT_FALSE(program.State().HiddenInTray);
  EXPECT_EQ(recorder.changes, std::vector<rt::Property>{rt::Property::Focus});
  EXPECT_EQ(form.Me.WindowState(), rt::windowstate::kNormal);
  EXPECT_EQ(fakes.tray.calls.size(), trayCalls);
}

}  // namespace
