// The main window: it holds the controls, named as laid out, and the features, and wires
// the controls' events to them. Each event handler keeps the name a reader looks for
// (PushButton2_Click, Check4_Click, ...) and hands over to the feature that owns the work.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "app/Globals.h"
#include "app/HoldEndWatch.h"
#include "app/TrayMenu.h"
#include "app/UserSettings.h"
#include "app/WindowBehaviour.h"
#include "autodrag/AutoDrag.h"
#include "autodrag/HoldingBadge.h"
#include "autodrag/modMouse.h"
#include "help/HelpMessage.h"
#include "runtime/Platform.h"
#include "runtime/controls/Controls.h"
#include "runtime/controls/Form.h"
#include "runtime/controls/UserControlSite.h"
#include "settings/RegStuff.h"
#include "settings/SettingsStore.h"
#include "settings/StartupChoices.h"
#include "settings/mStartUp.h"
#include "settingswindow/SettingsWindow.h"
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

  // The window's own behaviour, handed to WindowBehaviour: to the tray on minimise, away on
  // close, back from the tray and the lock screen, the pointer shape.
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
  SettingsWindow& SettingsDialog() { return userSettings_.Dialog(); }

  // The tray menu's commands, by the id the menu returns.
  static constexpr int kStartStopCommand = TrayMenu::kStartStop;
  static constexpr int kLatchCommand = TrayMenu::kLatch;
  static constexpr int kSettingsCommand = TrayMenu::kSettings;
  static constexpr int kHelpCommand = TrayMenu::kHelp;
  static constexpr int kExitCommand = TrayMenu::kExit;
  // The id of "Settings..." in the window's system menu (the system's own ids are 0xF000 up).
  static constexpr int kSystemMenuSettings = 0x0110;

 private:
  void BuildLayout();
  // Fonts, places and the window's size, for the user's text size and language.
  void LayOut();
  // The user changed the text size: both windows follow at once.
  void TextSizeChanged();
  void ConnectEvents();
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
  UserSettings userSettings_{UserSettings::Parts{platform_, settings_, mouse_, holdingBadge_, cSysTray1,
                                                 startupChoices_, Me, PushButton3, kSystemMenuSettings, displayName_,
                                                 [this] { PushButton2_Click(); }}};
  TrayMenu trayMenu_{TrayMenu::Parts{platform_.menus, platform_.texts, autoDrag_, mouse_, userSettings_, cSysTray1, Me,
                                     [this] { PushButton2_Click(); }, [this] { PushButton1_Click(); }}};
  WindowBehaviour behaviour_{
      WindowBehaviour::Parts{platform_, globals_, mouse_, autoDrag_, Me, cSysTray1, [this] { PushButton2_Click(); }}};
  // Tasks queued for after a hold hold this weakly: one that runs after the window has gone
  // does nothing.
  std::shared_ptr<Form1*> self_ = std::make_shared<Form1*>(this);
  HoldEndWatch holdWatch_{holdingBadge_, [this] {
                            // After the mouse module has finished telling of the end.
                            platform_.pump.Post([alive = std::weak_ptr<Form1*>(self_)] {
                              if (const auto self = alive.lock()) (*self)->userSettings_.ApplyPending();
                            });
                          }};
};
