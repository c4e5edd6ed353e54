// The Settings window and the tray menu, as the main window wires them: what is stored is
// read into the dialog, what the user applies is stored and takes effect at once, and the
// tray icon's menu offers the window's commands.
#include <string>
#include <vector>

#include "app/Form1.h"
#include "autodrag/LatchSetting.h"
#include "settingswindow/SettingsTexts.h"

namespace {

std::wstring OnOff(bool on) { return on ? settings::kOn : settings::kOff; }

}  // namespace

Form1::SettingTexts Form1::ReadSettingTexts() {
  // The administrator's value wins over the user's own; both have the same names and formats.
  const auto get = [this](const wchar_t* key, const wchar_t* defaultText) {
    if (const std::wstring* decided = policies_.Text(key)) return *decided;
    return settings_.GetSetting(settings::kApplication, settings::kSection, key, defaultText);
  };
  return SettingTexts{get(settings::kLatch, settings::kOff),
                      get(settings::kLatchRight, settings::kOff),
                      get(settings::kLatchMiddle, settings::kOff),
                      get(settings::kHotkey, StartStopShortcut::kDefault),
                      get(settings::kIndicator, settings::kOn),
                      policies_.List(settings::kLatchExceptions) != nullptr
                          ? *policies_.List(settings::kLatchExceptions)
                          : settings_.GetList(settings::kApplication, settings::kSection, settings::kLatchExceptions)};
}

Form1::SettingTexts Form1::TextsOf(const SettingsValues& values) {
  return SettingTexts{values.latchOn ? std::to_wstring(values.holdMs) : std::wstring(settings::kOff),
                      OnOff(values.latchRight),
                      OnOff(values.latchMiddle),
                      values.shortcut ? shortcut_text::Describe(*values.shortcut) : shortcut_text::kNone,
                      OnOff(values.badge),
                      values.latchExceptions};
}

SettingsValues Form1::ValuesOf(const SettingTexts& texts) const {
  SettingsValues values;
  // What cannot be read keeps its default here; start-up has said so once already.
  const latch_setting::Read latch =
      latch_setting::FromTexts(platform_.texts, texts.latch, texts.latchRight, texts.latchMiddle);
  values.latchOn = latch.latch.holdTime.has_value();
  values.holdMs = latch.latch.holdTime ? static_cast<int>(latch.latch.holdTime->count()) : lastHoldMs_;
  values.latchRight = latch.latch.rightButton;
  values.latchMiddle = latch.latch.middleButton;
  const shortcut_text::Parsed shortcut = shortcut_text::Parse(texts.hotkey);
  values.shortcut =
      shortcut.understood ? shortcut.shortcut : shortcut_text::Parse(StartStopShortcut::kDefault).shortcut;
  values.badge = texts.indicator != settings::kOff;
  values.latchExceptions = texts.latchExceptions;
  return values;
}

SettingsValues Form1::SettingsInEffect() const { return ValuesOf(pending_ ? *pending_ : inEffect_); }

void Form1::StoreAndApply(const SettingsValues& values) {
  const SettingTexts texts = TextsOf(values);
  // What the administrator decides is shown, not the user's: their own choice stays stored
  // for the day the policy goes.
  const auto save = [this](const wchar_t* key, const std::wstring& text) {
    if (!policies_.Decides(key)) settings_.SaveSetting(settings::kApplication, settings::kSection, key, text);
  };
  save(settings::kLatch, texts.latch);
  save(settings::kLatchRight, texts.latchRight);
  save(settings::kLatchMiddle, texts.latchMiddle);
  save(settings::kHotkey, texts.hotkey);
  save(settings::kIndicator, texts.indicator);
  if (!policies_.Decides(settings::kLatchExceptions))
    settings_.SaveList(settings::kApplication, settings::kSection, settings::kLatchExceptions, texts.latchExceptions);
  ApplySettings(texts);
}

// By value: the texts may be the pending ones, which this clears.
void Form1::ApplySettings(SettingTexts texts) {
  // Turning the latch off, or the shortcut, under a held button would let go of it or
  // leave no way to end it: everything waits for the button to be let go.
  if (mouse_.HoldingButton()) {
    pending_ = texts;
    return;
  }
  pending_.reset();
  inEffect_ = std::move(texts);
  // The Settings window has said already what is not available; start-up alone uses balloons.
  ApplyShortcut(inEffect_.hotkey, false);
  ApplyIndicator(inEffect_.indicator);
  ApplyLatch(inEffect_, false);
}

void Form1::ApplyPendingSettings() {
  if (pending_) ApplySettings(*pending_);
}

void Form1::OpenSettings() {
  if (policies_.SwitchOn(policy::kDisableSettings)) return;
  settingsWindow_.SetDecided(DecidedNow(), SettingsInEffect());
  // On the screen the user looks at: the window's, or the pointer's when it is in the tray.
  settingsWindow_.Open(SettingsInEffect(), Me.Visible() ? Me.Handle() : 0);
}

void Form1::PushButton3_Click() { OpenSettings(); }

void Form1::PushButton3_MouseMove(const rt::MouseMoveArgs&) { SetPointerUnlessHourglass(rt::pointer::kCustom); }

void Form1::Form_SystemMenuChosen(int id) {
  if (id == kSystemMenuSettings) OpenSettings();
}

// Whether the latch is on as the user last chose: a choice waiting for a release counts.
bool Form1::LatchChosen() const { return pending_ ? SettingsInEffect().latchOn : mouse_.LatchOn(); }

void Form1::ToggleLatch() {
  if (policies_.Decides(settings::kLatch)) return;
  SettingTexts texts = pending_ ? *pending_ : inEffect_;
  texts.latch = LatchChosen() ? std::wstring(settings::kOff) : std::to_wstring(lastHoldMs_);
  settings_.SaveSetting(settings::kApplication, settings::kSection, settings::kLatch, texts.latch);
  ApplySettings(texts);
}

void Form1::cSysTray1_ContextMenu(std::int32_t /*id*/) {
  // As a click on the icon does: whatever is held goes back before the menu opens.
  if (mouse_.HoldingButton()) PushButton2_Click();
  namespace text = settings_text;
  const rt::Texts& words = platform_.texts;
  const std::vector<rt::MenuItem> items{
      // Opening the menu gave a hold up: the Start is ending, and what it offers is a new one.
      {kStartStopCommand, words(autoDrag_.IsOn() && !autoDrag_.Ending() ? text::kMenuStop : text::kMenuStart)},
      {kLatchCommand, words(text::kMenuLatch), LatchChosen(), policies_.Decides(settings::kLatch)},
      {kSettingsCommand, words(text::kMenuSettings), false, policies_.SwitchOn(policy::kDisableSettings)},
      {kHelpCommand, words(text::kMenuHelp)},
      {0, L""},
      {kExitCommand, words(text::kMenuExit)},
  };
  // Beside the icon when the shell can say where it is (the menu key leaves the pointer
  // anywhere); at the pointer otherwise.
  std::optional<rt::ScreenPoint> at;
  if (const auto icon = cSysTray1.IconScreenRect())
    at = rt::ScreenPoint{(icon->left + icon->right) / 2, (icon->top + icon->bottom) / 2};
  RunTrayCommand(platform_.menus.Show(items, Me.Handle(), at));
}

void Form1::RunTrayCommand(int command) {
  switch (command) {
    case kStartStopCommand:
      PushButton2_Click();
      break;
    case kLatchCommand:
      ToggleLatch();
      break;
    case kSettingsCommand:
      OpenSettings();
      break;
    case kHelpCommand:
      PushButton1_Click();
      break;
    case kExitCommand:
      Me.RequestClose(rt::closereason::kUser);
      break;
    default:
      break;  // dismissed
  }
}
