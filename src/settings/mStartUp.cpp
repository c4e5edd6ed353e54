#include "settings/mStartUp.h"

#include "runtime/Paths.h"

std::wstring mStartUp::ExecutableFileName() { return rt::FileNameOf(app_.ExecutablePath()); }

bool mStartUp::AddToStartup() {
  const std::wstring fileName = ExecutableFileName();
  if (fileName.empty()) return false;
  return regStuff_.AddRunValue(fileName);
}

RegStuff::EntryLeft mStartUp::RemoveFromStartup() {
  const std::wstring fileName = ExecutableFileName();
  if (fileName.empty()) return RegStuff::EntryLeft::kNone;
  return regStuff_.DeleteRunValue(fileName);
}

std::optional<bool> mStartUp::StartsAtLogon() {
  const std::wstring fileName = ExecutableFileName();
  if (fileName.empty()) return std::nullopt;
  const RegStuff::RunEntry machine = regStuff_.FindRunEntry(rt::kHkeyLocalMachine, fileName);
  const RegStuff::RunEntry user = regStuff_.FindRunEntry(rt::kHkeyCurrentUser, fileName);
  if (machine == RegStuff::RunEntry::kThisProgram || user == RegStuff::RunEntry::kThisProgram) return true;
  if (machine == RegStuff::RunEntry::kUnreadable || user == RegStuff::RunEntry::kUnreadable) return std::nullopt;
  return false;
}
