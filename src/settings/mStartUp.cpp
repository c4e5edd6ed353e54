#include "settings/mStartUp.h"

#include "runtime/Paths.h"

std::wstring mStartUp::ExecutableFileName() { return rt::FileNameOf(app_.ExecutablePath()); }

bool mStartUp::AddToStartup() {
  const std::wstring fileName = ExecutableFileName();
  if (fileName.empty()) return false;
  return regStuff_.AddRunValue(fileName);
}

void mStartUp::RemoveFromStartup() {
  const std::wstring fileName = ExecutableFileName();
  if (fileName.empty()) return;
  regStuff_.DeleteRunValue(fileName);
}
