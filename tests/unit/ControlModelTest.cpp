// The control model raises its events as a desktop runtime does: synchronously, and only
// for real changes.
#include <gtest/gtest.h>

#include "runtime/controls/Controls.h"
#include "runtime/controls/Form.h"

namespace {

TEST(ControlModel, CheckBoxRaisesClickOnEveryChangeOfValueAndOnlyThen) {
  rt::CheckBox box(L"Check");
  int clicks = 0;
  box.Click.Handle([&] { ++clicks; });
  box.SetValue(0);  // unchanged
  EXPECT_EQ(clicks, 0);
  box.SetValue(1);
  box.ToggleByUser();
  EXPECT_EQ(box.Value(), 0);
  box.SetValue(2);  // greyed counts as not ticked: the user's click ticks it
  box.ToggleByUser();
  EXPECT_EQ(box.Value(), 1);
  EXPECT_EQ(clicks, 4);
}

TEST(ControlModel, ClickHandlerSeesTheNewValue) {
  rt::CheckBox box(L"Check");
  int seen = -1;
  box.Click.Handle([&] { seen = box.Value(); });
  box.ToggleByUser();
  EXPECT_EQ(seen, 1);
}

TEST(ControlModel, MinimisingAShownWindowRaisesResizeBeforeTheSetterReturns) {
  rt::Form form(L"Form");
  form.Show();
  std::vector<int> states;
  form.Resize.Handle([&] { states.push_back(form.WindowState()); });
  form.SetWindowState(rt::windowstate::kMinimized);
  form.SetWindowState(rt::windowstate::kMinimized);  // no change, no event
  EXPECT_EQ(states, std::vector<int>{rt::windowstate::kMinimized});
  form.WindowStateChangedBySystem(rt::windowstate::kNormal);
  EXPECT_EQ(states.size(), 2u);
}

TEST(ControlModel, StateSetToMinimisedWhileLoadingTakesEffectAtTheFirstShow) {
  rt::Form form(L"Form");
  int resizes = 0;
  form.Resize.Handle([&] {
    ++resizes;
    if (form.WindowState() == rt::windowstate::kMinimized) {
      form.SetVisible(false);  // as a handler that takes the window into the tray
      form.SetWindowState(rt::windowstate::kNormal);
    }
  });
  form.SetWindowState(rt::windowstate::kMinimized);
  EXPECT_EQ(resizes, 0);  // not shown yet
  form.Show();
  EXPECT_EQ(resizes, 2);  // the minimise, then the nested return to normal
  EXPECT_FALSE(form.Visible());
}

TEST(ControlModel, FirstShowOfANormalWindowMakesItVisible) {
  rt::Form form(L"Form");
  EXPECT_FALSE(form.Visible());
  form.Show();
  EXPECT_TRUE(form.Visible());
}

TEST(ControlModel, ACancelledQueryUnloadKeepsTheWindow) {
  rt::Form form(L"Form");
  bool unloaded = false;
  int reasonSeen = -1;
  form.QueryUnload.Handle([&](int& cancel, int reason) {
    reasonSeen = reason;
    cancel = 1;
  });
  form.Unload.Handle([&](int&) { unloaded = true; });
  EXPECT_FALSE(form.RequestClose(rt::closereason::kWindowsEnding));
  EXPECT_EQ(reasonSeen, rt::closereason::kWindowsEnding);
  EXPECT_FALSE(unloaded);
}

}  // namespace
