#include "app/UserSettings.h"

#include "autodrag/LatchSetting.h"
#include "shortcut/ShortcutText.h"

namespace {

std::wstring OnOff(bool on) { return on ? settings::kOn : settings::kOff; }

}  // namespace

UserSettings::UserSettings(Parts parts)
    : p_(std::move(parts)),
      settingsWindow_(SettingsWindow::Parts{
          p_.platform.windows, p_.platform.shortcuts, p_.platform.pump, p_.platform.badge, p_.platform.texts,
          p_.platform.metrics,
          [this](const rt::Shortcut& shortcut) { return shortcut_text::Describe(shortcut, p_.platform.texts); },
          [this](const SettingsValues& values) { StoreAndApply(values); }, p_.platform.programs, p_.platform.menus}) {}

void UserSettings::Say(const std::wstring& text) { p_.tray.ShowBalloon(text, p_.displayName, 0, false); }

void UserSettings::TakeInPolicies() {
  policies_.Read();
  ShowPolicies();
  policies_.Watch([this] { PoliciesChanged(); });
}

void UserSettings::SayPolicyComplaint() {
  const std::wstring complaint = policies_.TakeComplaint();
  if (!complaint.empty()) Say(complaint);
}

void UserSettings::PoliciesChanged() {
  const policy::Decisions before = policies_.Decisions();
  policies_.Read();
  SayPolicyComplaint();
  if (policies_.Decisions() == before) return;
  ShowPolicies();
  ApplySettings(ReadSettingTexts());
  settingsWindow_.SetDecided(policies_.Decided(), SettingsInEffect());
}

void UserSettings::ShowPolicies() {
  p_.startupChoices.SetRunAtLogonTurnedOff(policies_.Decisions().SwitchOn(policy::kDisableRunAtLogon));
  const bool settingsOff = SettingsTurnedOff();
  p_.settingsButton.SetEnabled(!settingsOff);
  p_.window.SetSystemMenuItemEnabled(p_.systemMenuSettings, !settingsOff);
  // An open Settings window goes as Cancel would: nothing the user had not applied is stored.
  if (settingsOff && settingsWindow_.IsOpen()) settingsWindow_.Me.RequestClose(rt::closereason::kCode);
}

UserSettings::SettingTexts UserSettings::ReadSettingTexts() {
  // The administrator's value wins over the user's own; both have the same names and formats.
  const policy::Decisions& decided = policies_.Decisions();
  const auto get = [&](const wchar_t* key, const wchar_t* defaultText) {
    if (const std::wstring* text = decided.Text(key)) return *text;
    return p_.store.GetSetting(settings::kApplication, settings::kSection, key, defaultText);
  };
  const std::vector<std::wstring>* exceptions = decided.List(settings::kLatchExceptions);
  return SettingTexts{get(settings::kLatch, settings::kOff),
                      get(settings::kLatchRight, settings::kOff),
                      get(settings::kLatchMiddle, settings::kOff),
                      get(settings::kHotkey, StartStopShortcut::kDefault),
                      get(settings::kIndicator, settings::kOn),
                      exceptions != nullptr
                          ? *exceptions
                          : p_.store.GetList(settings::kApplication, settings::kSection, settings::kLatchExceptions)};
}

UserSettings::SettingTexts UserSettings::TextsOf(const SettingsValues& values) {
  return SettingTexts{values.latchOn ? std::to_wstring(values.holdMs) : std::wstring(settings::kOff),
                      OnOff(values.latchRight),
                      OnOff(values.latchMiddle),
                      values.shortcut ? shortcut_text::Describe(*values.shortcut) : shortcut_text::kNone,
                      OnOff(values.badge),
                      values.latchExceptions};
}

SettingsValues UserSettings::ValuesOf(const SettingTexts& texts) const {
  SettingsValues values;
  // What cannot be read keeps its default here; start-up has said so once already.
  const latch_setting::Read latch =
      latch_setting::FromTexts(p_.platform.texts, texts.latch, texts.latchRight, texts.latchMiddle);
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

SettingsValues UserSettings::SettingsInEffect() const { return ValuesOf(pending_ ? *pending_ : inEffect_); }

void UserSettings::StoreAndApply(const SettingsValues& values) {
  const SettingTexts texts = TextsOf(values);
  // What the administrator decides is shown, not the user's: their own choice stays stored
  // for the day the policy goes.
  const policy::Decisions& decided = policies_.Decisions();
  const auto save = [&](const wchar_t* key, const std::wstring& text) {
    if (!decided.Decides(key)) p_.store.SaveSetting(settings::kApplication, settings::kSection, key, text);
  };
  save(settings::kLatch, texts.latch);
  save(settings::kLatchRight, texts.latchRight);
  save(settings::kLatchMiddle, texts.latchMiddle);
  save(settings::kHotkey, texts.hotkey);
  save(settings::kIndicator, texts.indicator);
  if (!decided.Decides(settings::kLatchExceptions))
    p_.store.SaveList(settings::kApplication, settings::kSection, settings::kLatchExceptions, texts.latchExceptions);
  ApplySettings(texts);
}

// By value: the texts may be the pending ones, which this clears.
void UserSettings::ApplySettings(SettingTexts texts) {
  // Turning the latch off, or the shortcut, under a held button would let go of it or
  // leave no way to end it: everything waits for the button to be let go.
  if (p_.mouse.HoldingButton()) {
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

void UserSettings::ApplyPending() {
  if (pending_) ApplySettings(*pending_);
}

void UserSettings::ApplyStoredShortcut() {
  inEffect_ = ReadSettingTexts();
  ApplyShortcut(inEffect_.hotkey, true);
}

void UserSettings::ApplyStoredIndicator() { ApplyIndicator(inEffect_.indicator); }

void UserSettings::ApplyStoredLatch() { ApplyLatch(inEffect_, true); }

void UserSettings::ApplyShortcut(const std::wstring& text, bool sayInBalloon) {
  if (shortcut_.Apply(text, [this] { ShortcutPressed(); }) == StartStopShortcut::Outcome::Unavailable &&
      sayInBalloon)
    Say(shortcut_.UnavailableText());
}

void UserSettings::ShortcutPressed() {
  // Pressed in the Settings window's shortcut box, the keys are being chosen, not used.
  const shortcut_text::Parsed inEffect = shortcut_text::Parse(inEffect_.hotkey);
  if (inEffect.understood && inEffect.shortcut && settingsWindow_.TakeShortcutPress(*inEffect.shortcut)) return;
  p_.startOrStop();
}

void UserSettings::ApplyIndicator(const std::wstring& text) { p_.badge.SetEnabled(text != settings::kOff); }

void UserSettings::ApplyLatch(const SettingTexts& texts, bool sayInBalloon) {
  const latch_setting::Read read =
      latch_setting::FromTexts(p_.platform.texts, texts.latch, texts.latchRight, texts.latchMiddle);
  p_.mouse.SetLatch(read.latch);
  p_.mouse.SetLatchExceptions(texts.latchExceptions);
  if (read.latch.holdTime) lastHoldMs_ = static_cast<int>(read.latch.holdTime->count());
  std::wstring complaint = sayInBalloon ? read.complaint : std::wstring();
  if (p_.mouse.LatchOn() && p_.mouse.MouseHookHandle() == 0) {
    // Without the hook no press can be seen held; say so rather than show the latch on.
    p_.mouse.SetLatch({});
    complaint = p_.platform.texts(rt::TextId::LatchCannotWatch);
  }
  const std::wstring tip = p_.mouse.LatchOn()
                               ? p_.platform.texts.Format(rt::TextId::LatchTrayTip, {{L"product", p_.displayName}})
                               : p_.displayName;
  if (p_.tray.TrayTip() != tip) p_.tray.SetTrayTip(tip);
  if (!complaint.empty()) Say(complaint);
}

void UserSettings::OpenSettings() {
  if (SettingsTurnedOff()) return;
  settingsWindow_.SetDecided(policies_.Decided(), SettingsInEffect());
  // On the screen the user looks at: the window's, or the pointer's when it is in the tray.
  settingsWindow_.Open(SettingsInEffect(), p_.window.Visible() ? p_.window.Handle() : 0);
}

bool UserSettings::LatchChosen() const { return pending_ ? SettingsInEffect().latchOn : p_.mouse.LatchOn(); }

void UserSettings::ToggleLatch() {
  if (LatchDecided()) return;
  SettingTexts texts = pending_ ? *pending_ : inEffect_;
  texts.latch = LatchChosen() ? std::wstring(settings::kOff) : std::to_wstring(lastHoldMs_);
  p_.store.SaveSetting(settings::kApplication, settings::kSection, settings::kLatch, texts.latch);
  ApplySettings(texts);
}
