#include "app/AppTitle.h"

#include "runtime/Failure.h"

namespace Main {

std::wstring ShortenedTitle(std::wstring name) {
  while (name.size() > kMaxTitleLength) {
    const auto lastBlank = name.rfind(L' ');
    if (lastBlank == std::wstring::npos) throw rt::Failure(L"Invalid procedure call or argument");
    name.erase(lastBlank);
  }
  return name;
}

void SetAppTitle(Globals& globals, const std::wstring& displayName) { globals.AppTitle = ShortenedTitle(displayName); }

}  // namespace Main
