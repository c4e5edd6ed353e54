// The two startup-option check boxes: run at logon, and start minimised to the tray.
#include "app/Form1.h"
#include "app/Product.h"

namespace {

std::wstring CouldNotRegisterText() {
  return std::wstring(product::kDisplayName) +
         L" could not be set to start when you log on: Windows did not let it add itself to the programs "
         L"that start at logon.\r\n\r\nThe box \"Load this software on Windows startup\" has been cleared.";
}

}  // namespace

void Form1::Check4_Click() {
  // Start-up puts back the stored choice; that is not the user asking for a change.
  if (Loading) return;
  if (Check4.Value() == 1) {
    Check8.SetVisible(true);
    Settings.SaveSetting(product::kMakerName, product::kDisplayName, settings::kWindowsStartup, settings::kOn);
    if (!StartUp.AddToStartup()) {
      // A ticked box must mean the program starts at logon. Clearing it runs this handler
      // again, which records "Off".
      platform_.dialogs.MessageBox(CouldNotRegisterText(), rt::mb::kOkOnly | rt::mb::kExclamation,
                                   product::kDisplayName);
      Check4.SetValue(0);
    }
  } else {
    // Clearing a ticked Check8 raises its own click, which records "Minimized" first.
    Check8.SetValue(0);
    Check8.SetVisible(false);
    Settings.SaveSetting(product::kMakerName, product::kDisplayName, settings::kWindowsStartup, settings::kOff);
    StartUp.RemoveFromStartup();
  }
}

void Form1::Check8_Click() {
  if (Loading) return;
  Settings.SaveSetting(product::kMakerName, product::kDisplayName, settings::kMinimized,
                       Check8.Value() == 1 ? settings::kOn : settings::kOff);
}
