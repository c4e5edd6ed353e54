// mStartUp, the run-at-logon module: enters the running executable into the programs
// Windows starts at logon, or takes it out.
#pragma once
#include <optional>
#include <string>

#include "runtime/Application.h"
#include "settings/RegStuff.h"

class mStartUp {
 public:
  mStartUp(rt::Application& app, RegStuff& regStuff) : app_(app), regStuff_(regStuff) {}
  mStartUp(const mStartUp&) = delete;
  mStartUp& operator=(const mStartUp&) = delete;

  // True when Windows will start the program at the next logon.
  bool AddToStartup();
  // The entry that still starts the program when Windows would not let it go.
  RegStuff::EntryLeft RemoveFromStartup();
  // Whether the next logon starts this executable; none when a Run key could not be read.
  std::optional<bool> StartsAtLogon();

  // The running executable's file name, without its folder: the name of the entry. Taken
  // from the process itself, so that no other program in the folder (an uninstaller, say)
  // is ever the one registered.
  std::wstring ExecutableFileName();

 private:
  rt::Application& app_;
  RegStuff& regStuff_;
};
