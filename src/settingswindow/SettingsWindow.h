// The Settings window: one small dialog with the latch, the shortcut and the badge, and OK,
// Cancel and Apply. It shows the values it is given and hands back what the user chose;
// storing and applying them is the program's.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "runtime/EventPump.h"
#include "runtime/GlobalShortcuts.h"
#include "runtime/PointerBadge.h"
#include "runtime/PopupMenus.h"
#include "runtime/RunningPrograms.h"
#include "runtime/TextMetrics.h"
#include "runtime/Texts.h"
#include "runtime/WindowHosting.h"
#include "runtime/controls/Controls.h"
#include "runtime/controls/Form.h"
#include "settingswindow/DecidedByPolicy.h"
#include "settingswindow/DialogFit.h"
#include "settingswindow/SettingsValues.h"
#include "settingswindow/TryIt.h"

class SettingsWindow {
 public:
  struct Parts {
    rt::WindowHosting& windows;
    rt::GlobalShortcuts& shortcuts;
    rt::EventPump& pump;
    rt::PointerBadge& badge;
    // The words, in the user's language, and how much room they take.
    const rt::Texts& texts;
    rt::TextMetrics& metrics;
    // How a shortcut reads ("Ctrl+Alt+D").
    std::function<std::wstring(const rt::Shortcut&)> describe;
    // OK and Apply: the values to store and apply.
    std::function<void(const SettingsValues&)> apply;
    // Add... offers the programs whose windows are open, in a menu.
    rt::RunningPrograms& programs;
    rt::PopupMenus& menus;
  };
  explicit SettingsWindow(Parts parts);
  SettingsWindow(const SettingsWindow&) = delete;
  SettingsWindow& operator=(const SettingsWindow&) = delete;

  // Shows the values on the monitor of the window beside (of the pointer when 0) and gives
  // the dialog the focus; already open, it only comes to the front as it is.
  void Open(const SettingsValues& values, rt::WindowHandle beside);
  bool IsOpen() const { return Me.Visible(); }
  // What an administrator decides, with the values in effect; an open window shows them at once.
  void SetDecided(const DecidedByPolicy& decided, const SettingsValues& inEffect);
  // What the controls show now.
  SettingsValues Shown() const;
  // The global shortcut was pressed: while the shortcut box has the keyboard focus it goes
  // into the box, as any other keys do, and true says it was taken here.
  bool TakeShortcutPress(const rt::Shortcut& pressed);
  // The user changed the text size: the text follows at once, and the window with it.
  void TextSizeChanged();

  // The window and its controls, in reading order.
  rt::Form Me{L"Settings"};
  rt::Frame LatchFrame{L"LatchFrame"};
  rt::CheckBox LatchBox{L"LatchBox"};
  rt::Label LatchPolicyNote{L"LatchPolicyNote"};
  rt::Label HoldLabel{L"HoldLabel"};
  rt::Slider HoldSlider{L"HoldSlider"};
  rt::Label HoldValue{L"HoldValue"};
  rt::Label ButtonsLabel{L"ButtonsLabel"};
  rt::Label ButtonsPolicyNote{L"ButtonsPolicyNote"};
  rt::CheckBox LeftBox{L"LeftBox"};
  rt::CheckBox RightBox{L"RightBox"};
  rt::CheckBox MiddleBox{L"MiddleBox"};
  rt::PressArea TryArea{L"TryArea"};
  rt::Label ExceptionsLabel{L"ExceptionsLabel"};
  rt::Label ExceptionsPolicyNote{L"ExceptionsPolicyNote"};
  rt::ListBox ExceptionList{L"ExceptionList"};
  rt::PushButton AddProgram{L"AddProgram"};
  rt::PushButton RemoveProgram{L"RemoveProgram"};
  rt::Frame ShortcutFrame{L"ShortcutFrame"};
  rt::Label ShortcutLabel{L"ShortcutLabel"};
  rt::ShortcutBox ShortcutField{L"ShortcutField"};
  rt::PushButton NoShortcut{L"NoShortcut"};
  rt::Label ShortcutNote{L"ShortcutNote"};
  rt::Frame BadgeFrame{L"BadgeFrame"};
  rt::CheckBox BadgeBox{L"BadgeBox"};
  rt::Label BadgePolicyNote{L"BadgePolicyNote"};
  rt::PushButton OkButton{L"OkButton"};
  rt::PushButton CancelButton{L"CancelButton"};
  rt::PushButton ApplyButton{L"ApplyButton"};

 private:
  void BuildLayout();
  // From the design again, with only what is shown taking room, every caption given the
  // room it needs in the user's language.
  void LayOut();
  rt::Font DialogFont();
  // The frames below the latch's, moved beside it: returns the client size then.
  dialog_fit::Size SideBySide(dialog_fit::Size size);
  // Shows or hides a note, laying the window out again when that changes what takes room.
  void ShowNote(rt::Label& note, bool shown);
  void ConnectEvents();
  void Show(const SettingsValues& values);
  void ShowHoldTime();
  void ShowLatchEnabled();
  // Greys what is decided and says so beside it.
  void ShowDecided();
  void ShowShortcut(const std::optional<rt::Shortcut>& shortcut);
  void ShortcutKeyPressed(const rt::KeyChord& chord);
  // Add... and Remove: whether the list changed.
  bool AddChosenProgram();
  bool RemoveSelectedProgram();
  void ShowRemoveEnabled();
  void Ok();
  void Cancel();
  void Apply();
  void Hide();

  Parts parts_;
  // Where each control stands by design, before any caption is fitted.
  std::vector<std::pair<rt::Control*, rt::TwipsRect>> design_;
  rt::Font font_;
  std::unique_ptr<rt::HostedWindow> window_;
  std::optional<rt::Shortcut> shortcut_;
  DecidedByPolicy decided_;
  TryIt tryIt_;
};
