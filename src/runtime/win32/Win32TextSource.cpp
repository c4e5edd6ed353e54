#include "runtime/win32/Win32TextSource.h"

#include <cwchar>

#include "runtime/Unpack.h"

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

// FindResourceEx falls back to other languages of its own accord; a language we have no
// catalogue for must get English, so the language is looked for first.
bool HasCatalogueIn(HMODULE module, LANGID language) {
  LanguageSearch search{language};
  ::EnumResourceLanguagesW(module, RT_RCDATA, MAKEINTRESOURCEW(rt::kCatalogueResourceId), &NoteLanguage,
                           reinterpret_cast<LONG_PTR>(&search));
  return search.found;
}

constexpr unsigned kMissing = 0xFFFF;

}  // namespace

std::optional<std::wstring> Win32TextSource::Find(rt::Language language, rt::TextId id) const {
  const LANGID langId = rt::kLanguageResourceIds[static_cast<unsigned>(language)];
  if (!HasCatalogueIn(module_, langId)) return std::nullopt;
  HRSRC found = ::FindResourceExW(module_, RT_RCDATA, MAKEINTRESOURCEW(rt::kCatalogueResourceId), langId);
  HGLOBAL loaded = found ? ::LoadResource(module_, found) : nullptr;
  const auto* packed = loaded ? static_cast<const unsigned char*>(::LockResource(loaded)) : nullptr;
  const DWORD length = found ? ::SizeofResource(module_, found) : 0;
  if (packed == nullptr || length < 4) return std::nullopt;
  const std::size_t size =
      packed[0] | (packed[1] << 8) | (packed[2] << 16) | (static_cast<std::size_t>(packed[3]) << 24);
  const std::optional<std::string> catalogue = rt::Unpack(packed + 4, length - 4, size);
  if (!catalogue) return std::nullopt;
  // Text after text from number 0: a 16-bit byte count (kMissing: not translated), then UTF-8.
  const auto* at = reinterpret_cast<const unsigned char*>(catalogue->data());
  const unsigned char* const end = at + catalogue->size();
  for (unsigned number = 0;; ++number) {
    if (end - at < 2) return std::nullopt;
    const unsigned count = at[0] | (at[1] << 8);
    at += 2;
    const unsigned bytes = count == kMissing ? 0 : count;
    if (static_cast<unsigned>(end - at) < bytes) return std::nullopt;
    if (number == static_cast<unsigned>(id)) {
      if (count == kMissing) return std::nullopt;
      const int units =
          ::MultiByteToWideChar(CP_UTF8, 0, reinterpret_cast<const char*>(at), static_cast<int>(bytes), nullptr, 0);
      std::wstring text(static_cast<std::size_t>(units), L'\0');
      ::MultiByteToWideChar(CP_UTF8, 0, reinterpret_cast<const char*>(at), static_cast<int>(bytes), text.data(), units);
      return text;
    }
    at += bytes;
  }
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

std::wstring UserInteger(long long number) {
  const std::wstring digits = std::to_wstring(number);
  wchar_t decimal[8] = L".", thousand[8] = L",", grouping[16] = L"3;0";
  ::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, decimal, 8);
  ::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_STHOUSAND, thousand, 8);
  ::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SGROUPING, grouping, 16);
  DWORD negativeOrder = 1;
  ::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_INEGNUMBER | LOCALE_RETURN_NUMBER,
                    reinterpret_cast<LPWSTR>(&negativeOrder), sizeof negativeOrder / sizeof(wchar_t));
  // "3;0" (threes all the way) is 3 to NUMBERFMT, "3;2;0" is 32, and a plain "3" (one group
  // of three, then none) is 30.
  UINT groups = 0;
  std::wstring pattern(grouping);
  const bool repeats = pattern.size() >= 2 && pattern.compare(pattern.size() - 2, 2, L";0") == 0;
  if (repeats) pattern.resize(pattern.size() - 2);
  for (wchar_t c : pattern)
    if (c >= L'0' && c <= L'9') groups = groups * 10 + static_cast<UINT>(c - L'0');
  if (!repeats) groups *= 10;
  NUMBERFMTW format{0, 1, groups, decimal, thousand, negativeOrder};
  wchar_t written[64] = {};
  if (::GetNumberFormatEx(LOCALE_NAME_USER_DEFAULT, 0, digits.c_str(), &format, written, 64) == 0) return digits;
  return written;
}

}  // namespace win32
