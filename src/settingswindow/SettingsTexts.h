// The Settings window's and the tray menu's texts, by their identifiers in the catalogue
// (res/lang), where each language has them. "&" marks a mnemonic.
#pragma once
#include "runtime/TextIds.h"

namespace settings_text {

using rt::TextId;

inline constexpr TextId kTitle = TextId::SettingsTitle;

inline constexpr TextId kLatchFrame = TextId::SettingsLatchFrame;
inline constexpr TextId kLatchOn = TextId::SettingsLatchOn;
inline constexpr TextId kHoldTime = TextId::SettingsHoldTime;
// "{ms} ms": the hold time beside the slider.
inline constexpr TextId kHoldTimeValue = TextId::SettingsHoldTimeValue;
inline constexpr TextId kButtons = TextId::SettingsButtons;
inline constexpr TextId kLeft = TextId::SettingsLeft;
inline constexpr TextId kRight = TextId::SettingsRight;
inline constexpr TextId kMiddle = TextId::SettingsMiddle;
inline constexpr TextId kTryItHere = TextId::SettingsTryItHere;
inline constexpr TextId kLatched = TextId::SettingsLatched;
// "Released before the hold time ({ms} ms)".
inline constexpr TextId kReleasedEarly = TextId::SettingsReleasedEarly;

// Programs where the latch stays out.
inline constexpr TextId kNeverLatchIn = TextId::SettingsNeverLatchIn;
inline constexpr TextId kAddProgram = TextId::SettingsAddProgram;
inline constexpr TextId kNothingToAdd = TextId::SettingsNothingToAdd;
inline constexpr TextId kRemoveProgram = TextId::SettingsRemoveProgram;

inline constexpr TextId kShortcutFrame = TextId::SettingsShortcutFrame;
inline constexpr TextId kShortcutLabel = TextId::SettingsShortcutLabel;
inline constexpr TextId kNoShortcut = TextId::SettingsNoShortcut;
inline constexpr TextId kNone = TextId::SettingsNone;
// "Another program uses {shortcut}".
inline constexpr TextId kTakenByAnother = TextId::SettingsTakenByAnother;

inline constexpr TextId kBadgeFrame = TextId::SettingsBadgeFrame;
inline constexpr TextId kBadgeOn = TextId::SettingsBadgeOn;

inline constexpr TextId kOk = TextId::SettingsOk;
inline constexpr TextId kCancel = TextId::SettingsCancel;
inline constexpr TextId kApply = TextId::SettingsApply;

// Beside a choice an administrator has made for the user.
inline constexpr TextId kSetByOrganisation = TextId::PolicySetByOrganisation;

// The main window's way in, and its system menu's.
inline constexpr TextId kOpenSettings = TextId::OpenSettings;

// The tray menu.
inline constexpr TextId kMenuStart = TextId::MenuStart;
inline constexpr TextId kMenuStop = TextId::MenuStop;
inline constexpr TextId kMenuLatch = TextId::MenuLatch;
inline constexpr TextId kMenuSettings = TextId::MenuSettings;
inline constexpr TextId kMenuHelp = TextId::MenuHelp;
inline constexpr TextId kMenuExit = TextId::MenuExit;

}  // namespace settings_text
