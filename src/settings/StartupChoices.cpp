#include "settings/StartupChoices.h"

#include <optional>

bool StartupChoices::StoredOn(const wchar_t* key) {
  return settings_.GetSetting(settings::kApplication, settings::kSection, key, settings::kOff) == settings::kOn;
}

void StartupChoices::Save(const wchar_t* key, bool on) {
  settings_.SaveSetting(settings::kApplication, settings::kSection, key, on ? settings::kOn : settings::kOff);
}

std::wstring StartupChoices::CouldNotRegisterText() const {
  return texts_.Format(rt::TextId::LogonNotAdded,
                       {{L"product", productName_}, {L"box", texts_(rt::TextId::LoadOnStartup)}});
}

std::wstring StartupChoices::CouldNotRemoveText(RegStuff::EntryLeft left) const {
  const std::wstring why = texts_(left == RegStuff::EntryLeft::kForEveryUser ? rt::TextId::LogonForEveryUser
                                                                             : rt::TextId::LogonRemovalRefused);
  return texts_.Format(rt::TextId::LogonNotRemoved,
                       {{L"product", productName_}, {L"why", why}, {L"box", texts_(rt::TextId::LoadOnStartup)}});
}

void StartupChoices::ShowRunAtLogon(bool on) {
  const bool wasLoading = loading_;
  loading_ = true;
  runAtLogon_.SetValue(on ? 1 : 0);
  loading_ = wasLoading;
}

void StartupChoices::RestoreStoredChoices() {
  if (turnedOff_) {
    // The entry is gone because of the administrator, not the user: nothing to learn from it.
    ShowRunAtLogon(false);
    minimized_.SetValue(StoredOn(settings::kMinimized) ? 1 : 0);
    return;
  }
  // Without this a minimised start could never happen, as the layout has both boxes clear.
  bool startsAtLogon = StoredOn(settings::kWindowsStartup);
  // The program may have been moved, or its entry taken out or put in by someone else.
  // When the Run keys cannot be read, the stored choice is the best there is.
  const std::optional<bool> entered = logonEntry_.StartsAtLogon();
  if (entered && *entered != startsAtLogon) {
    startsAtLogon = *entered;
    Save(settings::kWindowsStartup, startsAtLogon);
  }
  runAtLogon_.SetValue(startsAtLogon ? 1 : 0);
  minimized_.SetValue(StoredOn(settings::kMinimized) ? 1 : 0);
}

void StartupChoices::SetRunAtLogonTurnedOff(bool turnedOff) {
  if (turnedOff == turnedOff_) return;
  turnedOff_ = turnedOff;
  runAtLogon_.SetEnabled(!turnedOff);
  const bool on = !turnedOff && StoredOn(settings::kWindowsStartup);
  ShowRunAtLogon(on);
  minimized_.SetVisible(on);
  if (turnedOff)
    logonEntry_.RemoveFromStartup();
  else if (on && !loading_)
    logonEntry_.AddToStartup();
}

void StartupChoices::RunAtLogonClicked() {
  if (loading_ || turnedOff_) return;
  if (runAtLogon_.Value() == 1) {
    minimized_.SetVisible(true);
    Save(settings::kWindowsStartup, true);
    if (!logonEntry_.AddToStartup()) {
      // A ticked box must mean the program starts at logon. Clearing it runs this handler
      // again, which records "Off".
      dialogs_.MessageBox(CouldNotRegisterText(), rt::mb::kOkOnly | rt::mb::kExclamation, productName_);
      runAtLogon_.SetValue(0);
    }
  } else {
    const RegStuff::EntryLeft left = logonEntry_.RemoveFromStartup();
    if (left != RegStuff::EntryLeft::kNone) {
      // A clear box must mean the program does not start at logon: it still does, so the
      // box and the stored choice stay as they were.
      dialogs_.MessageBox(CouldNotRemoveText(left), rt::mb::kOkOnly | rt::mb::kExclamation, productName_);
      ShowRunAtLogon(true);
      return;
    }
    // Clearing a ticked minimised box raises its own click, which records "Minimized" first.
    minimized_.SetValue(0);
    minimized_.SetVisible(false);
    Save(settings::kWindowsStartup, false);
  }
}

void StartupChoices::MinimizedClicked() {
  if (loading_) return;
  Save(settings::kMinimized, minimized_.Value() == 1);
}
