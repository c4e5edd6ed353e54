// The catalogue as the executable carries it: one resource of texts per language in its
// resources, and the user interface languages Windows has for the user.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "runtime/Texts.h"

namespace win32 {

class Win32TextSource : public rt::TextSource {
 public:
  explicit Win32TextSource(HMODULE module) : module_(module) {}
  std::optional<std::wstring> Find(rt::Language language, rt::TextId id) const override;

 private:
  HMODULE module_;
};

// The user's display languages as Windows names them ("de-DE"), the first choice first.
std::vector<std::wstring> UserInterfaceLanguages();

// A whole number as the user's number format writes it: digit grouping, no decimals.
std::wstring UserInteger(long long number);

}  // namespace win32
