#include "runtime/win32/Win32TextSource.h"

namespace win32 {
namespace {

struct LanguageSearch {
  LANGID wanted;
  bool found = false;
};

BOOL CALLBACK NoteLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR search) {
  auto* s = reinterpret_cast<LanguageSearch*>(search);
  if (language == s->wanted) s->found = true;
  return !s->found;
}

// FindResourceEx falls back to other languages of its own accord; a text that language
// lacks must come from English, so the block is looked for in that language alone.
bool HasBlockIn(HMODULE module, LPCWSTR block, LANGID language) {
  LanguageSearch search{language};
  ::EnumResourceLanguagesW(module, MAKEINTRESOURCEW(6) /* RT_STRING */, block, &NoteLanguage,
                           reinterpret_cast<LONG_PTR>(&search));
  return search.found;
}

}  // namespace

std::optional<std::wstring> Win32TextSource::Find(rt::Language language, rt::TextId id) const {
  const unsigned number = static_cast<unsigned>(id);
  const LANGID langId = rt::kLanguageResourceIds[static_cast<unsigned>(language)];
  // Strings are kept sixteen to a block; block n holds numbers 16(n-1) to 16n-1, each a
  // length followed by that many UTF-16 units.
  const LPCWSTR block = MAKEINTRESOURCEW(number / 16 + 1);
  if (!HasBlockIn(module_, block, langId)) return std::nullopt;
  HRSRC found = ::FindResourceExW(module_, RT_STRING, block, langId);
  HGLOBAL loaded = found ? ::LoadResource(module_, found) : nullptr;
  const auto* units = loaded ? static_cast<const WCHAR*>(::LockResource(loaded)) : nullptr;
  if (units == nullptr) return std::nullopt;
  const WCHAR* const end = units + ::SizeofResource(module_, found) / sizeof(WCHAR);
  for (unsigned i = 0; i < number % 16 && units < end; ++i) units += 1 + *units;
  if (units >= end || *units == 0 || units + 1 + *units > end) return std::nullopt;
  return std::wstring(units + 1, units + 1 + *units);
}

std::vector<std::wstring> UserInterfaceLanguages() {
  std::vector<std::wstring> languages;
  ULONG count = 0, size = 0;
  if (::GetUserPreferredUILanguages(MUI_LANGUAGE_NAME, &count, nullptr, &size) && size > 0) {
    std::wstring names(size, L'\0');
    if (::GetUserPreferredUILanguages(MUI_LANGUAGE_NAME, &count, names.data(), &size)) {
      for (const wchar_t* name = names.c_str(); *name != L'\0'; name += std::wcslen(name) + 1)
        languages.emplace_back(name);
    }
  }
  if (languages.empty()) {
    wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
    if (::LCIDToLocaleName(MAKELCID(::GetUserDefaultUILanguage(), SORT_DEFAULT), name, LOCALE_NAME_MAX_LENGTH, 0) > 0)
      languages.emplace_back(name);
  }
  return languages;
}

}  // namespace win32
