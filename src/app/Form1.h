// The main window: it holds the controls, named as laid out, and the features, and wires
// the controls' events to them. Each event handler keeps the name a reader looks for
// (PushButton2_Click, Check4_Click, ...) and hands over to the feature that owns the work.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/Globals.h"
#include "app/HoldEndWatch.h"
#include "autodrag/AutoDrag.h"
#include "autodrag/HoldingBadge.h"
#include "autodrag/modMouse.h"
#include "help/HelpMessage.h"
#include "runtime/Platform.h"
#include "runtime/controls/Controls.h"
#include "runtime/controls/Form.h"
#include "runtime/controls/UserControlSite.h"
#include "settings/PolicyValues.h"
#include "settings/RegStuff.h"
#include "settings/SettingsStore.h"
#include "settings/StartupChoices.h"
#include "settings/mStartUp.h"
#include "settingswindow/SettingsValues.h"
#include "settingswindow/SettingsWindow.h"
#include "shortcut/ShortcutText.h"
#include "shortcut/StartStopShortcut.h"
#include "tray/cSysTray.h"
#include "ui/SkinFramework.h"

class Form1 {
  // First, so that every member below may be built from them.
  rt::Platform& platform_;
  Globals& globals_;
  modMouse& mouse_;
  // The name the caption, the tray tip and the application title are made from.
  const std::wstring displayName_;

 public:
  Form1(rt::Platform& platform, Globals& globals, modMouse& mouse, SysTray& sysTray, std::wstring displayName);
  Form1(const Form1&) = delete;
  Form1& operator=(const Form1&) = delete;
  ~Form1();

  // The window and its controls, named as laid out.
  rt::Form Me{L"Form1"};
  rt::PushButton PushButton2{L"PushButton2"};
  rt::Frame Frame2{L"Frame2"};
  rt::CheckBox Check4{L"Check4"};
  rt::CheckBox Check8{L"Check8"};
  rt::Frame Frame1{L"Frame1"};
  rt::Label Label1{L"Label1"};
  rt::PushButton PushButton3{L"PushButton3"};
  rt::PushButton PushButton1{L"PushButton1"};
  rt::TextBox Text1{L"Text1"};
  rt::UserControlSite cSysTray1Site{L"cSysTray1"};
  cSysTray cSysTray1;
  SkinFramework SkinFramework1;

  // Start-up: the load handler and its routines.
  void Form_Load();
  void ApplySkin();
  bool FileExists(const std::wstring& path);
  void VisitHomePage();

  // The window's own behaviour: to the tray on minimise, away on close, the pointer shape.
  void Form_Resize();
  void Form_QueryUnload(int& cancel, int unloadMode);
  void Form_Unload(int& cancel);
  void Form_MouseMove(const rt::MouseMoveArgs& args);
  void Frame1_MouseMove(const rt::MouseMoveArgs& args);
  void Frame2_MouseMove(const rt::MouseMoveArgs& args);
  void PushButton1_MouseMove(const rt::MouseMoveArgs& args);
  void PushButton2_MouseMove(const rt::MouseMoveArgs& args);
  void PushButton3_MouseMove(const rt::MouseMoveArgs& args);
  void cSysTray1_MouseDown(std::int16_t button, std::int32_t id);
  void cSysTray1_MouseUp(std::int16_t button, std::int32_t id);
  // What Windows says about the session: the user leaves the desktop, or starts us again.
  void Session_LeavingDesktop();
  void Session_ReturnedToDesktop();
  void Session_StartedAgain();
  void cSysTray1_Select(std::int32_t id);
  // The icon's menu, asked for with the right button or the keyboard.
  void cSysTray1_ContextMenu(std::int32_t id);
  void Form_SystemMenuChosen(int id);
  void Label1_Change();
  // On every way out: lets go of the button we keep down for the user.
  void LetGoOfTheButton();

  // Handed to the features.
  void PushButton2_Click();
  void PushButton1_Click();
  void Check4_Click();
  void Check8_Click();
  void PushButton3_Click();
  // The global shortcut does what a click on the Start/Stop button does.
  void StartStopShortcut_Pressed();

  const std::wstring& DisplayName() const { return displayName_; }
  AutoDrag& Drag() { return autoDrag_; }
  StartupChoices& Choices() { return startupChoices_; }
  SettingsStore& Settings() { return settings_; }
  RegStuff& RegistryValues() { return regStuff_; }
  HoldingBadge& Badge() { return holdingBadge_; }
  SettingsWindow& SettingsDialog() { return settingsWindow_; }

  // The tray menu's commands, by the id the menu returns.
  enum TrayCommand { kStartStopCommand = 1, kLatchCommand, kSettingsCommand, kHelpCommand, kExitCommand };
  // The id of "Settings..." in the window's system menu (the system's own ids are 0xF000 up).
  static constexpr int kSystemMenuSettings = 0x0110;

 private:
  void BuildLayout();
  void ConnectEvents();
  // Pointer shapes follow one rule everywhere: the hourglass, once set, stays.
  void SetPointerUnlessHourglass(int shape);
  // Out of the tray and in front, as a click on the tray icon brings it.
  void BringWindowBack();
  // The user's choices as the store keeps them: five texts.
  struct SettingTexts {
    std::wstring latch, latchRight, latchMiddle, hotkey, indicator;
    // File names, as stored.
    std::vector<std::wstring> latchExceptions;
  };
  // As stored, with the default for each value that is missing.
  SettingTexts ReadSettingTexts();
  static SettingTexts TextsOf(const SettingsValues& values);
  // As the Settings window shows them: a text that cannot be read shows as its default.
  SettingsValues ValuesOf(const SettingTexts& texts) const;
  // What the Settings window opens with: the choices in effect, or waiting for a release.
  SettingsValues SettingsInEffect() const;
  // Stores the values and applies them at once (after the hold, when a button is held).
  void StoreAndApply(const SettingsValues& values);
  // The shortcut and badge settings, after the tray icon is in (the shortcut may have to
  // say in a balloon that it is not available, unless the Settings window has said so).
  void ApplyShortcut(const std::wstring& text, bool sayInBalloon);
  void ApplyIndicator(const std::wstring& text);
  // The latch settings, after the tray icon is in: a text not understood is said in a balloon.
  void ApplyLatch(const SettingTexts& texts, bool sayInBalloon);
  // All three, now or once the held button is let go. What was stored does not count
  // here: a choice Windows did not let us store still holds for this run.
  void ApplySettings(SettingTexts texts);
  void ApplyPendingSettings();
  void OpenSettings();
  bool LatchChosen() const;
  // The administrator's choices: read (what cannot be read is kept to be said once), said,
  // watched, and shown on the controls they take from the user.
  static bool PolicyTextUnderstood(const rt::Texts& words, const std::wstring& name, const std::wstring& text);
  void ReadPolicies();
  void SayPolicyComplaint();
  void WatchPolicies();
  void PoliciesChanged();
  void ShowPolicies();
  DecidedByPolicy DecidedNow() const;
  void ToggleLatch();
  void RunTrayCommand(int command);
  // What the mouse module has to say with no Start to end: in a balloon, and in the tip.
  void MouseNotice(modMouse::Notice notice);

  SettingsStore settings_{platform_.registry, platform_.dialogs, platform_.texts, displayName_};
  RegStuff regStuff_{platform_.registry, platform_.app};
  mStartUp logonEntry_{platform_.app, regStuff_};
  StartupChoices startupChoices_{Check4,          Check8,      settings_, logonEntry_, platform_.dialogs,
                                 platform_.texts, displayName_};
  AutoDrag autoDrag_{AutoDrag::Parts{PushButton2, Label1, Me, mouse_, platform_.pump, platform_.dialogs,
                                     globals_.AppTitle, platform_.texts, globals_.HiddenInTray}};
  HelpMessage help_{platform_.dialogs, platform_.texts, globals_.AppTitle};
  HoldingBadge holdingBadge_{platform_.badge};
  // Tasks queued for after a hold hold this weakly: one that runs after the window has gone
  // does nothing.
  std::shared_ptr<Form1*> self_ = std::make_shared<Form1*>(this);
  HoldEndWatch holdWatch_{holdingBadge_, [this] {
                            // After the mouse module has finished telling of the end.
                            platform_.pump.Post([alive = std::weak_ptr<Form1*>(self_)] {
                              if (const auto self = alive.lock()) (*self)->ApplyPendingSettings();
                            });
                          }};
  StartStopShortcut shortcut_{platform_.shortcuts, platform_.texts};
  // The choices in effect, and those applied while a button was held, waiting for its release.
  SettingTexts inEffect_;
  std::optional<SettingTexts> pending_;
  // The hold time the latch goes back on with from the tray menu: the store keeps none for "Off".
  int lastHoldMs_ = SettingsValues::kDefaultHoldMs;
  policy::Reader policyReader_{platform_.registry, platform_.texts, &Form1::PolicyTextUnderstood};
  policy::Decisions policies_;
  std::wstring policyComplaint_;
  SettingsWindow settingsWindow_{SettingsWindow::Parts{
      platform_.windows, platform_.shortcuts, platform_.pump, platform_.badge, platform_.texts, platform_.metrics,
      [this](const rt::Shortcut& shortcut) { return shortcut_text::Describe(shortcut, platform_.texts); },
      [this](const SettingsValues& values) { StoreAndApply(values); }, platform_.programs, platform_.menus}};
  // Last: a change reported while the window is being taken down finds no watch to report it.
  // The machine's and the user's.
  std::array<std::unique_ptr<rt::KeyWatch>, 2> policyWatches_;
};
