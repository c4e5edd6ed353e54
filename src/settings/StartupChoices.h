// The two startup choices of the window: "Load this software on Windows startup" enters
// the program into the programs started at logon (or takes it out), and "Minimized to
// system tray" makes such a start go straight to the tray. Each click is remembered.
#pragma once
#include <string>

#include "runtime/Dialogs.h"
#include "runtime/Texts.h"
#include "runtime/controls/Controls.h"
#include "settings/SettingsStore.h"
#include "settings/mStartUp.h"

class StartupChoices {
 public:
  StartupChoices(rt::CheckBox& runAtLogon, rt::CheckBox& minimized, SettingsStore& settings, mStartUp& logonEntry,
                 rt::Dialogs& dialogs, const rt::Texts& texts, std::wstring productName)
      : runAtLogon_(runAtLogon),
        minimized_(minimized),
        settings_(settings),
        logonEntry_(logonEntry),
        dialogs_(dialogs),
        texts_(texts),
        productName_(std::move(productName)) {}
  StartupChoices(const StartupChoices&) = delete;
  StartupChoices& operator=(const StartupChoices&) = delete;

  void RunAtLogonClicked();
  void MinimizedClicked();

  // While the window loads, changes to the boxes are the program's, not the user's: they
  // neither write the settings back nor touch the logon entry.
  void SetLoading(bool loading) { loading_ = loading; }
  bool Loading() const { return loading_; }
  // The boxes show what the user chose last time, except where the Run keys tell another
  // story: the run-at-logon box shows what the next logon will do, and that is stored.
  void RestoreStoredChoices();
  // An administrator's "no start at logon": the box is clear and greyed, and the entry we
  // made goes, since a clear box must mean no start at logon. The user's stored choice
  // stays, so that it holds again the moment the administrator lifts this.
  void SetRunAtLogonTurnedOff(bool turnedOff);

 private:
  bool StoredOn(const wchar_t* key);
  void Save(const wchar_t* key, bool on);
  std::wstring CouldNotRegisterText() const;
  std::wstring CouldNotRemoveText(RegStuff::EntryLeft left) const;
  // Sets the run-at-logon box as the program, not the user: its click does nothing.
  void ShowRunAtLogon(bool on);

  rt::CheckBox& runAtLogon_;
  rt::CheckBox& minimized_;
  SettingsStore& settings_;
  mStartUp& logonEntry_;
  rt::Dialogs& dialogs_;
  const rt::Texts& texts_;
  std::wstring productName_;
  bool loading_ = false;
  bool turnedOff_ = false;
};
