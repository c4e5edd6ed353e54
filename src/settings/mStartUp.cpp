#include "settings/mStartUp.h"

std::wstring mStartUp::ExecutableFileName() {
  const std::wstring path = app_.ExecutablePath();
  const std::size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

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
