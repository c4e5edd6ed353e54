// The user's choices of latch, shortcut and badge, and the administrator's over them: what
// is stored is read into the Settings window, what the user applies is stored and takes
// effect at once (after the hold, when a button is held), and a policy's change counts as
// soon as it is made.
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/AdminPolicies.h"
#include "autodrag/HoldingBadge.h"
#include "autodrag/modMouse.h"
#include "runtime/Platform.h"
#include "runtime/controls/Controls.h"
#include "runtime/controls/Form.h"
#include "settings/SettingsStore.h"
#include "settings/StartupChoices.h"
#include "settingswindow/SettingsValues.h"
#include "settingswindow/SettingsWindow.h"
#include "shortcut/StartStopShortcut.h"
#include "tray/cSysTray.h"

class UserSettings {
 public:
  struct Parts {
    rt::Platform& platform;
    SettingsStore& store;
    modMouse& mouse;
    HoldingBadge& badge;
    // Where tips and balloons say what the user should know.
    cSysTray& tray;
    StartupChoices& startupChoices;
    // The main window: its Settings button and system menu item are greyed with the window.
    rt::Form& window;
    rt::PushButton& settingsButton;
    int systemMenuSettings;
    std::wstring displayName;
    // The shortcut was pressed: what a click on the Start/Stop button does.
    std::function<void()> startOrStop;
  };
  explicit UserSettings(Parts parts);
  UserSettings(const UserSettings&) = delete;
  UserSettings& operator=(const UserSettings&) = delete;

  // Start-up, in the load handler's steps: the administrator's choices first (they decide
  // what the boxes may show), said once the icon is in; then each choice, saying in a
  // balloon what cannot be had.
  void TakeInPolicies();
  void SayPolicyComplaint();
  void ApplyStoredShortcut();
  void ApplyStoredIndicator();
  void ApplyStoredLatch();
  // Choices applied while a button was held, now that it is let go.
  void ApplyPending();

  void OpenSettings();
  SettingsWindow& Dialog() { return settingsWindow_; }
  // Whether the latch is on as the user last chose: a choice waiting for a release counts.
  bool LatchChosen() const;
  bool LatchDecided() const { return policies_.Decisions().Decides(settings::kLatch); }
  bool SettingsTurnedOff() const { return policies_.Decisions().SwitchOn(policy::kDisableSettings); }
  // The tray menu's latch item: off, or back on with the hold time last used.
  void ToggleLatch();
  // The global shortcut: the keys being chosen in the Settings window, or Start/Stop.
  void ShortcutPressed();

 private:
  // The user's choices as the store keeps them: five texts and a list of file names.
  struct SettingTexts {
    std::wstring latch, latchRight, latchMiddle, hotkey, indicator;
    std::vector<std::wstring> latchExceptions;
  };
  // As stored, with the default for each value that is missing; the administrator's first.
  SettingTexts ReadSettingTexts();
  static SettingTexts TextsOf(const SettingsValues& values);
  // As the Settings window shows them: a text that cannot be read shows as its default.
  SettingsValues ValuesOf(const SettingTexts& texts) const;
  // What the Settings window opens with: the choices in effect, or waiting for a release.
  SettingsValues SettingsInEffect() const;
  void StoreAndApply(const SettingsValues& values);
  // All three, now or once the held button is let go. What was stored does not count
  // here: a choice Windows did not let us store still holds for this run.
  void ApplySettings(SettingTexts texts);
  // The shortcut may have to say in a balloon that it is not available, unless the
  // Settings window has said so; a latch text not understood is said in a balloon.
  void ApplyShortcut(const std::wstring& text, bool sayInBalloon);
  void ApplyIndicator(const std::wstring& text);
  void ApplyLatch(const SettingTexts& texts, bool sayInBalloon);
  void PoliciesChanged();
  // Greyed where the user would otherwise change them.
  void ShowPolicies();
  void Say(const std::wstring& text);

  Parts p_;
  StartStopShortcut shortcut_{p_.platform.shortcuts, p_.platform.texts};
  // The choices in effect, and those applied while a button was held, waiting for its release.
  SettingTexts inEffect_;
  std::optional<SettingTexts> pending_;
  // The hold time the latch goes back on with from the tray menu: the store keeps none for "Off".
  int lastHoldMs_ = SettingsValues::kDefaultHoldMs;
  SettingsWindow settingsWindow_;
  // Last: its watches report into the members above.
  AdminPolicies policies_{p_.platform.registry, p_.platform.texts, p_.platform.pump};
};
