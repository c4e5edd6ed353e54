// The administrator's choices, as the main window wires them: read at start and again
// whenever the policy keys change, put over the user's own, and shown greyed where the
// user would otherwise change them.
#include <string>

#include "app/Form1.h"
#include "autodrag/LatchSetting.h"

// A policy text the program would not understand is no decision: the next source holds.
bool Form1::PolicyTextUnderstood(const rt::Texts& words, const std::wstring& name, const std::wstring& text) {
  if (name == settings::kLatch) return latch_setting::FromTexts(words, text, settings::kOff).complaint.empty();
  if (name == settings::kLatchRight || name == settings::kLatchMiddle)
    return latch_setting::FromTexts(words, settings::kOff, text, text).complaint.empty();
  if (name == settings::kHotkey) return shortcut_text::Parse(text).understood;
  if (name == settings::kIndicator) return text == settings::kOn || text == settings::kOff;
  return false;
}

void Form1::ReadPolicies() {
  policy::Reader::Read read = policyReader_.ReadAll();
  policies_ = read.decisions;
  // Said as soon as the tray icon can say it, before the next read.
  policyComplaint_ = std::move(read.complaint);
}

void Form1::SayPolicyComplaint() {
  if (policyComplaint_.empty()) return;
  cSysTray1.ShowBalloon(policyComplaint_, displayName_, 0, false);
  policyComplaint_.clear();
}

void Form1::WatchPolicies() {
  const rt::RegKey roots[] = {rt::kHkeyLocalMachine, rt::kHkeyCurrentUser};
  for (std::size_t i = 0; i < policyWatches_.size(); ++i)
    policyWatches_[i] =
        platform_.registry.WatchKey(roots[i], policy::kWatchedKey, platform_.pump, [this] { PoliciesChanged(); });
}

void Form1::PoliciesChanged() {
  const policy::Decisions before = policies_;
  ReadPolicies();
  SayPolicyComplaint();
  if (policies_ == before) return;
  ShowPolicies();
  ApplySettings(ReadSettingTexts());
  settingsWindow_.SetDecided(DecidedNow(), SettingsInEffect());
}

void Form1::ShowPolicies() {
  startupChoices_.SetRunAtLogonTurnedOff(policies_.SwitchOn(policy::kDisableRunAtLogon));
  const bool settingsOff = policies_.SwitchOn(policy::kDisableSettings);
  PushButton3.SetEnabled(!settingsOff);
  Me.SetSystemMenuItemEnabled(kSystemMenuSettings, !settingsOff);
  // An open Settings window goes as Cancel would: nothing the user had not applied is stored.
  if (settingsOff && settingsWindow_.IsOpen()) settingsWindow_.Me.RequestClose(rt::closereason::kCode);
}

DecidedByPolicy Form1::DecidedNow() const {
  return DecidedByPolicy{policies_.Decides(settings::kLatch), policies_.Decides(settings::kLatchRight),
                         policies_.Decides(settings::kLatchMiddle), policies_.Decides(settings::kHotkey),
                         policies_.Decides(settings::kIndicator), policies_.Decides(settings::kLatchExceptions)};
}
