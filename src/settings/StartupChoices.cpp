#include "settings/StartupChoices.h"

bool StartupChoices::StoredOn(const wchar_t* key) {
  return settings_.GetSetting(settings::kApplication, settings::kSection, key, settings::kOff) == settings::kOn;
}

void StartupChoices::Save(const wchar_t* key, bool on) {
  settings_.SaveSetting(settings::kApplication, settings::kSection, key, on ? settings::kOn : settings::kOff);
}

std::wstring StartupChoices::CouldNotRegisterText() const {
  return productName_ +
         L" could not be set to start when you log on: Windows did not let it add itself to the programs "
         L"that start at logon.\r\n\r\nThe box \"Load this software on Windows startup\" has been cleared.";
}

void StartupChoices::RestoreStoredChoices() {
  // Without this a minimised start could never happen, as the layout has both boxes clear.
  runAtLogon_.SetValue(StoredOn(settings::kWindowsStartup) ? 1 : 0);
  minimized_.SetValue(StoredOn(settings::kMinimized) ? 1 : 0);
}

void StartupChoices::RunAtLogonClicked() {
  if (loading_) return;
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
    // Clearing a ticked minimised box raises its own click, which records "Minimized" first.
    minimized_.SetValue(0);
    minimized_.SetVisible(false);
    Save(settings::kWindowsStartup, false);
    logonEntry_.RemoveFromStartup();
  }
}

void StartupChoices::MinimizedClicked() {
  if (loading_) return;
  Save(settings::kMinimized, minimized_.Value() == 1);
}
