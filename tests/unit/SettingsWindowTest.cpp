// The Settings window and the tray menu on the fakes: what is stored shows in the dialog as
// the program reads it, Apply and OK store it and take effect at once, Cancel changes
// nothing, a change under a held button waits for the release, and the menu's commands.
#include <gtest/gtest.h>

#include "fakes/FakeMenusAndWindows.h"
#include "runtime/Failure.h"
#include "settingswindow/SettingsTexts.h"
#include "unit/ProgramFixture.h"

namespace {

constexpr std::uint32_t kLDown = 0x0201, kLUp = 0x0202, kMDown = 0x0207, kMUp = 0x0208;
constexpr double kAfterBalloon = 10.0;
const rt::Shortcut kWinShiftD{true, false, false, true, 'D'};
const rt::Shortcut kCtrlAltD{false, true, true, false, 'D'};

class SettingsWindowTest : public ProgramTest {
 protected:
  SettingsWindow& dialog = form.SettingsDialog();

  void Store(const wchar_t* key, const wchar_t* value) {
    SettingsStore(fakes.registry, fakes.dialogs, fakes.texts, L"Vornatic")
        .SaveSetting(L"Kestrova", L"Vornatic", key, value);
  }
  std::wstring Stored(const wchar_t* key) {
    return SettingsStore(fakes.registry, fakes.dialogs, fakes.texts, L"Vornatic")
        .GetSetting(L"Kestrova", L"Vornatic", key, L"-");
  }
  // The user presses keys in the shortcut box.
  void Press(rt::KeyChord chord) { dialog.ShortcutField.KeyPressed.Raise(chord); }
  // The user ticks or clears a box, as a click does.
  static void Tick(rt::CheckBox& box, bool on) {
    if ((box.Value() == 1) != on) box.ToggleByUser();
  }
  // The tray icon's menu asked for, with this item picked.
  void PickFromTrayMenu(const wchar_t* item) {
    fakes.menus.chooseText = item;
    form.cSysTray1.HandleTrayMessage(rt::msg::kContextMenu, 0);
  }
};

// Values an administrator wrote show as they mean, in any case and with spaces; one the
// dialog cannot read shows as its default. The window opens on the main window's monitor,
// is made once, and OK with nothing changed writes nothing.
TEST_F(SettingsWindowTest, ShowsWhatIsStoredAsItMeansAndWritesNothingUnasked) {
  Store(L"Latch", L" 1200 ");
  Store(L"LatchRight", L"on");
  Store(L"LatchMiddle", L"sometimes");
  Store(L"Hotkey", L"ctrl + alt + f5");
  Store(L"Indicator", L"Off");
  ShowWindow();
  const std::size_t writes = fakes.registry.log.size();
  form.PushButton3.RaiseClick();
  EXPECT_TRUE(dialog.Me.Visible());
  EXPECT_EQ(dialog.Me.OpenNear(), form.Me.Handle());
  EXPECT_EQ(fakes.windows.made, 1);
  EXPECT_EQ(dialog.LatchBox.Value(), 1);
  EXPECT_EQ(dialog.HoldSlider.Value(), 1200);
  EXPECT_EQ(dialog.HoldValue.Caption(), L"1200 ms");
  EXPECT_EQ(dialog.LeftBox.Value(), 1) << "the primary button always latches";
  EXPECT_FALSE(dialog.LeftBox.Enabled());
  EXPECT_EQ(dialog.RightBox.Value(), 1);
  EXPECT_EQ(dialog.MiddleBox.Value(), 0) << "unreadable: its default";
  EXPECT_EQ(dialog.ShortcutField.Caption(), L"Ctrl+Alt+F5");
  EXPECT_EQ(dialog.BadgeBox.Value(), 0);
  EXPECT_FALSE(dialog.ApplyButton.Enabled()) << "nothing to apply yet";
  dialog.OkButton.RaiseClick();
  EXPECT_FALSE(dialog.Me.Visible());
  EXPECT_EQ(fakes.registry.log.size(), writes) << "OK with nothing changed leaves the values as written";

  // From the tray, with the window away: on the pointer's monitor, the same window again.
  form.Me.SetVisible(false);
  form.cSysTray1.HandleTrayMessage(rt::msg::kContextMenu, 0);  // dismissed
  fakes.menus.chooseText = L"Settings...";
  form.cSysTray1.HandleTrayMessage(rt::msg::kContextMenu, 0);
  EXPECT_TRUE(dialog.Me.Visible());
  EXPECT_EQ(dialog.Me.OpenNear(), 0u);
  EXPECT_EQ(fakes.windows.made, 1) << "made once, shown again";
}

// Texts that cannot be read are said once, at start-up, as before; the dialog shows their
// defaults and says nothing more.
TEST_F(SettingsWindowTest, UnreadableValuesShowTheirDefaultsAndAreSaidOnlyAtStart) {
  Store(L"Latch", L"soon");
  Store(L"Hotkey", L"Hyper+D");
  ShowWindow();
  const auto balloons = [&] {
    std::size_t n = 0;
    for (const auto& call : fakes.tray.calls) n += (call.record.uFlags & rt::nif::kInfo) != 0;
    return n;
  };
  EXPECT_EQ(balloons(), 2u);
  form.PushButton3.RaiseClick();
  EXPECT_EQ(dialog.LatchBox.Value(), 0);
  EXPECT_FALSE(dialog.HoldSlider.Enabled());
  EXPECT_FALSE(dialog.MiddleBox.Enabled());
  EXPECT_EQ(dialog.HoldSlider.Value(), 800);
  EXPECT_EQ(dialog.ShortcutField.Caption(), L"Win+Shift+D");
  EXPECT_EQ(dialog.ShortcutNote.Caption(), L"");
  EXPECT_EQ(balloons(), 2u);
}

// Windows refuses the write: the user is told once, as for every setting, and the choice
// holds for this run all the same, as that message promises.
TEST_F(SettingsWindowTest, AChoiceWindowsWouldNotStoreStillHoldsForThisRun) {
  ShowWindow();
  fakes.registry.DenyAllWrites();
  form.PushButton3.RaiseClick();
  Tick(dialog.LatchBox, true);
  Press({'K', false, true, true, false});
  dialog.OkButton.RaiseClick();
  EXPECT_EQ(fakes.dialogs.shown.size(), 1u);
  EXPECT_TRUE(mouse.LatchOn());
  EXPECT_EQ(fakes.shortcuts.registered, (rt::Shortcut{false, true, true, false, 'K'}));
  form.PushButton3.RaiseClick();
  EXPECT_EQ(dialog.LatchBox.Value(), 1) << "the window shows what is in effect";
  EXPECT_EQ(dialog.ShortcutField.Caption(), L"Ctrl+Alt+K");
}

// The walk: latch on at 600 ms with the middle button, the shortcut Ctrl+Alt+D by
// pressing it, OK. Stored in the documented formats and in effect at once, no restart:
// Ctrl+Alt+D starts auto-drag and Win+Shift+D is free again.
TEST_F(SettingsWindowTest, OkStoresInTheDocumentedFormatsAndTakesEffectAtOnce) {
  ShowWindow();
  ASSERT_EQ(fakes.shortcuts.registered, kWinShiftD);
  ASSERT_FALSE(mouse.LatchOn());
  form.PushButton3.RaiseClick();
  Tick(dialog.LatchBox, true);
  EXPECT_TRUE(dialog.HoldSlider.Enabled());
  dialog.HoldSlider.SetValue(600);
  EXPECT_EQ(dialog.HoldValue.Caption(), L"600 ms");
  Tick(dialog.MiddleBox, true);
  Press({0x11, false, true, false, false});  // Ctrl alone: half a combination
  EXPECT_EQ(dialog.ShortcutField.Caption(), L"Win+Shift+D");
  Press({'D', false, true, true, false});
  EXPECT_EQ(dialog.ShortcutField.Caption(), L"Ctrl+Alt+D");
  EXPECT_EQ(dialog.ShortcutNote.Caption(), L"");
  EXPECT_TRUE(dialog.ApplyButton.Enabled());
  dialog.OkButton.RaiseClick();

  EXPECT_FALSE(dialog.Me.Visible());
  EXPECT_EQ(Stored(L"Latch"), L"600");
  EXPECT_EQ(Stored(L"LatchRight"), L"Off");
  EXPECT_EQ(Stored(L"LatchMiddle"), L"On");
  EXPECT_EQ(Stored(L"Hotkey"), L"Ctrl+Alt+D");
  EXPECT_EQ(Stored(L"Indicator"), L"On");
  EXPECT_TRUE(mouse.LatchOn());
  EXPECT_TRUE(fakes.mouse.HookInstalled());
  EXPECT_EQ(form.cSysTray1.TrayTip(), L"Vornatic: hold still to latch");
  EXPECT_EQ(fakes.shortcuts.registered, kCtrlAltD);
  fakes.shortcuts.PressAt(1.0, kWinShiftD);
  fakes.pump.RunUntil(2.0);
  EXPECT_FALSE(form.Drag().IsOn()) << "Win+Shift+D no longer ours";
  fakes.shortcuts.PressAt(3.0, kCtrlAltD);
  fakes.pump.At(4.0, [&] { EXPECT_TRUE(form.Drag().IsOn()) << "Ctrl+Alt+D starts it at once"; });
  fakes.shortcuts.PressAt(5.0, kCtrlAltD);
  fakes.pump.RunUntil(6.0);
  EXPECT_FALSE(form.Drag().IsOn());
  // Turned off again with Apply: the hook goes, the tip says so, the badge setting holds.
  form.PushButton3.RaiseClick();
  Tick(dialog.LatchBox, false);
  Tick(dialog.BadgeBox, false);
  dialog.NoShortcut.RaiseClick();
  EXPECT_EQ(dialog.ShortcutField.Caption(), L"None");
  dialog.ApplyButton.RaiseClick();
  EXPECT_TRUE(dialog.Me.Visible()) << "Apply keeps the window open";
  EXPECT_FALSE(dialog.ApplyButton.Enabled());
  EXPECT_EQ(Stored(L"Latch"), L"Off");
  EXPECT_EQ(Stored(L"Hotkey"), L"None");
  EXPECT_EQ(Stored(L"Indicator"), L"Off");
  EXPECT_FALSE(mouse.LatchOn());
  EXPECT_FALSE(fakes.mouse.HookInstalled());
  EXPECT_FALSE(fakes.shortcuts.registered);
  EXPECT_FALSE(form.Badge().Enabled());
  EXPECT_EQ(form.cSysTray1.TrayTip(), L"Vornatic");
}

// Cancel, the close box and Escape leave everything as it was, and the next opening
// shows the stored values again, not the abandoned ones.
TEST_F(SettingsWindowTest, CancelChangesNothing) {
  ShowWindow();
  for (const auto& cancel : std::vector<std::function<void()>>{
           [&] { dialog.CancelButton.RaiseClick(); },
           [&] { EXPECT_FALSE(dialog.Me.RequestClose(rt::closereason::kUser)) << "the window stays made"; }}) {
    form.PushButton3.RaiseClick();
    const std::size_t writes = fakes.registry.log.size();
    const int registrations = fakes.shortcuts.registrations;
    Tick(dialog.LatchBox, true);
    Tick(dialog.RightBox, true);
    Press({'K', true, false, true, false});
    EXPECT_EQ(dialog.ShortcutField.Caption(), L"Win+Alt+K");
    cancel();
    EXPECT_FALSE(dialog.Me.Visible());
    EXPECT_EQ(fakes.registry.log.size(), writes);
    EXPECT_EQ(fakes.shortcuts.registrations, registrations);
    EXPECT_FALSE(mouse.LatchOn());
    form.PushButton3.RaiseClick();
    EXPECT_EQ(dialog.LatchBox.Value(), 0);
    EXPECT_EQ(dialog.RightBox.Value(), 0);
    EXPECT_EQ(dialog.ShortcutField.Caption(), L"Win+Shift+D");
    dialog.CancelButton.RaiseClick();
  }
  EXPECT_TRUE(dialog.CancelButton.Cancel());
  EXPECT_TRUE(dialog.OkButton.Default());
}

// A combination another program holds is said in the dialog as it is pressed, not later in
// a balloon; a bare key, or one that cannot be a shortcut, changes nothing; Backspace is none.
TEST_F(SettingsWindowTest, ACombinationAnotherProgramHoldsIsSaidAtOnce) {
  fakes.shortcuts.heldByOthers.push_back(kCtrlAltD);
  ShowWindow();
  form.PushButton3.RaiseClick();
  // The line under the shortcut takes room only while it says something.
  const int quietHeight = dialog.Me.ClientHeight();
  Press({'D', false, true, true, false});
  EXPECT_EQ(dialog.ShortcutNote.Caption(), L"Another program uses Ctrl+Alt+D");
  EXPECT_GT(dialog.Me.ClientHeight(), quietHeight);
  EXPECT_EQ(dialog.BadgeFrame.Bounds().top - dialog.ShortcutFrame.Bounds().top - dialog.ShortcutFrame.Bounds().height,
            120);
  Press({'D', false, false, false, false});
  Press({0x1B, false, true, false, false});  // Ctrl+Esc
  EXPECT_EQ(dialog.ShortcutField.Caption(), L"Ctrl+Alt+D");
  Press({'F', true, false, true, false});
  EXPECT_EQ(dialog.ShortcutNote.Caption(), L"") << "ours to have: nothing to say";
  EXPECT_EQ(dialog.Me.ClientHeight(), quietHeight);
  Press({0x08, false, false, false, false});
  EXPECT_EQ(dialog.ShortcutField.Caption(), L"None");
  Press({'D', false, true, true, false});
  const std::size_t balloons = fakes.tray.calls.size();
  dialog.OkButton.RaiseClick();
  EXPECT_EQ(Stored(L"Hotkey"), L"Ctrl+Alt+D") << "the user's choice is kept, for when it is free";
  EXPECT_FALSE(fakes.shortcuts.registered);
  for (std::size_t i = balloons; i < fakes.tray.calls.size(); ++i)
    EXPECT_FALSE(fakes.tray.calls[i].record.uFlags & rt::nif::kInfo) << "the dialog said it already";
}

// Changed while the latch holds a button: nothing moves under the user's hand until the
// drop; then the latch goes off and the new shortcut is in.
TEST_F(SettingsWindowTest, AChangeDuringAHoldWaitsForTheDrop) {
  Store(L"Latch", L"800");
  fakes.mouse.ownWindow = rt::ScreenRect{300, 300, 840, 520};
  ShowWindow();
  fakes.mouse.UserEventAt(1.0, kLDown, {100, 100});
  fakes.mouse.UserEventAt(2.0, kLUp, {100, 100});
  fakes.pump.At(2.5, [&] {
    ASSERT_TRUE(mouse.HoldingButton());
    form.PushButton3.RaiseClick();
    Tick(dialog.LatchBox, false);
    Press({'D', false, true, true, false});
    dialog.OkButton.RaiseClick();
    EXPECT_EQ(Stored(L"Latch"), L"Off") << "stored at once";
  });
  fakes.pump.At(3.0, [&] {
    EXPECT_TRUE(mouse.HoldingButton()) << "still held";
    EXPECT_TRUE(mouse.LatchOn());
    EXPECT_EQ(fakes.shortcuts.registered, kWinShiftD);
  });
  fakes.mouse.UserClickAt(4.0, {200, 150});
  fakes.pump.RunUntil(5.0);
  EXPECT_EQ(fakes.mouse.Seen(), "D@100,100 M@200,150 U@200,150") << "dropped where the user let go";
  EXPECT_FALSE(mouse.LatchOn());
  EXPECT_FALSE(fakes.mouse.HookInstalled());
  EXPECT_EQ(fakes.shortcuts.registered, kCtrlAltD);
}

// The try-it area fills the badge from half the slider's hold time, says "Latched" at the
// hold time, and says how long a shorter press was held.
TEST_F(SettingsWindowTest, TheTryItAreaUsesTheSlidersHoldTime) {
  ShowWindow();
  form.PushButton3.RaiseClick();
  dialog.HoldSlider.SetValue(1000);
  EXPECT_EQ(dialog.TryArea.Caption(), L"Try it here");
  fakes.pump.At(1.0, [&] { dialog.TryArea.Pressed.Raise({4, {50, 60}, 100000}); });
  fakes.pump.At(1.45, [&] { EXPECT_FALSE(fakes.badge.visible) << "nothing in the first half"; });
  fakes.pump.At(1.75, [&] {
    EXPECT_TRUE(fakes.badge.visible);
    EXPECT_EQ(fakes.badge.button, rt::HeldButton::Middle);
    EXPECT_EQ(fakes.badge.pointer, (rt::ScreenPoint{50, 60}));
  });
  fakes.pump.At(2.1, [&] { EXPECT_EQ(dialog.TryArea.Caption(), L"Latched"); });
  fakes.pump.At(2.5, [&] { dialog.TryArea.Released.Raise({4, {50, 60}, 101500}); });
  fakes.pump.At(3.0, [&] { dialog.TryArea.Pressed.Raise({1, {50, 60}, 0xFFFFFF00u}); });
  // The tick count wraps during this press: 640 ms all the same.
  fakes.pump.At(3.64, [&] { dialog.TryArea.Released.Raise({1, {50, 60}, 0x00000180u}); });
  fakes.pump.RunUntil(5.0);
  EXPECT_EQ(dialog.TryArea.Caption(), L"Released before the hold time (640 ms)");
  EXPECT_FALSE(fakes.badge.visible);
  EXPECT_EQ(fakes.badge.fills, (std::vector<double>{0.5, 0.6, 0.7, 0.8, 0.9, 0.5, 0.6}));
}

// The menu: its items as the window's state reads, each command doing what its name says.
TEST_F(SettingsWindowTest, TheTrayMenuOffersTheWindowsCommands) {
  ShowWindow();
  form.cSysTray1.HandleTrayMessage(rt::msg::kContextMenu, 0);
  ASSERT_EQ(fakes.menus.shown.size(), 1u);
  std::vector<std::wstring> texts;
  for (const rt::MenuItem& item : fakes.menus.shown.back()) texts.push_back(fake::Shown(item.text));
  EXPECT_EQ(texts, (std::vector<std::wstring>{L"Start Autodrag", L"Latch", L"Settings...", L"Help", L"", L"Exit"}));
  EXPECT_FALSE(fakes.menus.shown.back()[1].checked);

  PickFromTrayMenu(L"Latch");
  EXPECT_TRUE(mouse.LatchOn());
  EXPECT_EQ(Stored(L"Latch"), L"800");
  form.cSysTray1.HandleTrayMessage(rt::msg::kContextMenu, 0);
  EXPECT_TRUE(fakes.menus.shown.back()[1].checked);
  PickFromTrayMenu(L"Latch");
  EXPECT_FALSE(mouse.LatchOn());
  EXPECT_EQ(Stored(L"Latch"), L"Off");

  PickFromTrayMenu(L"Settings...");
  EXPECT_TRUE(dialog.Me.Visible());
  dialog.CancelButton.RaiseClick();
  PickFromTrayMenu(L"Help");
  ASSERT_EQ(fakes.dialogs.shown.size(), 1u);

  // Started from the menu; while it is on, the menu offers Stop.
  fakes.pump.At(1.0, [&] { PickFromTrayMenu(L"Start Autodrag"); });
  fakes.pump.At(2.0, [&] {
    EXPECT_TRUE(form.Drag().IsOn());
    fakes.menus.whileOpen = [&] { texts.assign(1, fake::Shown(fakes.menus.shown.back()[0].text)); };
    PickFromTrayMenu(L"Stop Autodrag");
    fakes.menus.whileOpen = nullptr;
  });
  fakes.pump.RunUntil(3.0);
  EXPECT_EQ(texts, std::vector<std::wstring>{L"Stop Autodrag"});
  EXPECT_FALSE(form.Drag().IsOn());

  // Right button: the menu, never the window; left: the window, never the menu.
  const std::size_t menus = fakes.menus.shown.size();
  form.Me.SetVisible(false);
  form.cSysTray1.HandleTrayMessage(rt::msg::kLButtonUp, 0);
  EXPECT_TRUE(form.Me.Visible());
  EXPECT_EQ(fakes.menus.shown.size(), menus);

  EXPECT_THROW(PickFromTrayMenu(L"Exit"), rt::ProgramEnded);
  EXPECT_FALSE(form.cSysTray1.IconAdded()) << "the icon goes as with the close box";
}

// Asked for while a latched button is held, the menu gives the hold up first: the item goes
// back where it was picked up, and the menu then opens.
TEST_F(SettingsWindowTest, TheMenuWhileHoldingGivesUpFirst) {
  Store(L"Latch", L"800");
  ShowWindow();
  fakes.mouse.UserEventAt(1.0, kLDown, {100, 100});
  fakes.mouse.UserEventAt(2.0, kLUp, {100, 100});
  fakes.mouse.UserMoveAt(2.5, {300, 200});
  fakes.pump.At(3.0, [&] {
    ASSERT_TRUE(mouse.HoldingButton());
    fakes.menus.whileOpen = [&] { EXPECT_FALSE(mouse.HoldingButton()) << "given up before the menu"; };
    form.cSysTray1.HandleTrayMessage(rt::msg::kContextMenu, 0);
  });
  fakes.pump.RunUntil(4.0);
  EXPECT_EQ(fakes.menus.shown.size(), 1u);
  EXPECT_FALSE(fakes.mouse.LeftButtonDown());
  ASSERT_FALSE(fakes.mouse.DeliveredOf(kLUp).empty());
  EXPECT_EQ(fakes.mouse.DeliveredOf(kLUp).back().point, (rt::ScreenPoint{100, 100})) << "put back where picked up";
}

// The middle button latches as the right one does, once chosen, and the badge says M.
TEST_F(SettingsWindowTest, TheMiddleButtonLatchesOnceChosen) {
  Store(L"Latch", L"600");
  Store(L"LatchMiddle", L"On");
  ShowWindow();
  fakes.mouse.UserEventAt(1.0, kMDown, {100, 100});
  fakes.mouse.UserEventAt(1.7, kMUp, {100, 100});
  fakes.pump.At(1.65, [&] {
    EXPECT_TRUE(mouse.HoldingButton());
    EXPECT_EQ(fakes.badge.button, rt::HeldButton::Middle);
  });
  fakes.mouse.UserEventAt(3.0, kMDown, {200, 100});
  fakes.mouse.UserEventAt(3.1, kMUp, {200, 100});
  fakes.pump.RunUntil(4.0);
  EXPECT_FALSE(mouse.HoldingButton());
}

// The slider moves by 100 ms with the arrow keys and 500 ms with Page Up and Down, and a
// dragged thumb stops on whole 10 ms within the range. OK alone is the default button.
TEST_F(SettingsWindowTest, TheSliderStepsAndTheDefaultButton) {
  ShowWindow();
  form.PushButton3.RaiseClick();
  EXPECT_EQ(dialog.HoldSlider.SmallChange(), 100);
  EXPECT_EQ(dialog.HoldSlider.LargeChange(), 500);
  const struct {
    int draggedTo, stops;
  } drags[] = {{203, 200}, {1234, 1230}, {1235, 1240}, {2196, 2200}, {2260, 2200}, {150, 200}, {777, 780}};
  for (const auto& drag : drags) {
    dialog.HoldSlider.DragTo(drag.draggedTo);
    EXPECT_EQ(dialog.HoldSlider.Value(), drag.stops) << drag.draggedTo;
  }
  EXPECT_EQ(dialog.HoldValue.Caption(), L"780 ms");
  dialog.HoldSlider.SetValue(1234);
  EXPECT_EQ(dialog.HoldSlider.Value(), 1234) << "a stored value shows as it is";
  for (const rt::PushButton* button : {&dialog.OkButton, &dialog.CancelButton, &dialog.ApplyButton, &dialog.NoShortcut,
                                       &dialog.AddProgram, &dialog.RemoveProgram})
    EXPECT_EQ(button->Default(), button == &dialog.OkButton) << testing::PrintToString(button->Name());
}

// While the shortcut box has the keyboard focus, pressing the shortcut in effect chooses it
// again instead of starting auto-drag; anywhere else it starts auto-drag.
TEST_F(SettingsWindowTest, TheShortcutPressedInTheShortcutBoxGoesIntoIt) {
  ShowWindow();
  form.PushButton3.RaiseClick();
  Press({'K', false, true, true, false});
  EXPECT_EQ(dialog.ShortcutField.Caption(), L"Ctrl+Alt+K");
  dialog.ShortcutField.SetFocusedBySystem(true);
  fakes.shortcuts.PressAt(1.0, kWinShiftD);
  fakes.pump.RunUntil(1.5);
  EXPECT_FALSE(form.Drag().IsOn());
  EXPECT_EQ(dialog.ShortcutField.Caption(), L"Win+Shift+D") << "chosen again";
  dialog.ShortcutField.SetFocusedBySystem(false);
  fakes.shortcuts.PressAt(2.0, kWinShiftD);
  fakes.pump.At(2.5, [&] { EXPECT_TRUE(form.Drag().IsOn()); });
  fakes.shortcuts.PressAt(3.0, kWinShiftD);
  fakes.pump.RunUntil(4.0);
  EXPECT_FALSE(form.Drag().IsOn());
}

// Opened while a Start holds the button, the menu has given the hold up already, so it
// offers Start, and choosing it starts auto-drag again once the last one has ended.
TEST_F(SettingsWindowTest, TheMenuOpenedWhileAStartHoldsOffersStart) {
  ShowWindow();
  ClickStartStopAt(1.0);
  fakes.mouse.UserClickAt(2.0, {100, 100}, 0.05);
  std::wstring offered;
  fakes.pump.At(3.0, [&] {
    ASSERT_TRUE(mouse.HoldingButton());
    fakes.menus.whileOpen = [&] { offered = fake::Shown(fakes.menus.shown.back()[0].text); };
    PickFromTrayMenu(L"Start Autodrag");
    fakes.menus.whileOpen = nullptr;
  });
  fakes.pump.At(4.0, [&] { EXPECT_TRUE(form.Drag().IsOn()) << "on again"; });
  fakes.pump.At(4.5, [&] { form.PushButton2.RaiseClick(); });
  fakes.pump.RunUntil(5.0);
  EXPECT_EQ(offered, L"Start Autodrag");
  EXPECT_FALSE(fakes.mouse.LeftButtonDown());
  EXPECT_EQ(fakes.mouse.DeliveredOf(kLUp).back().point, (rt::ScreenPoint{100, 100})) << "put back";
}

}  // namespace
