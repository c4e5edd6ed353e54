#include "runtime/Language.h"

#include <optional>

#include "runtime/Text.h"

namespace rt {
namespace {

std::vector<std::wstring> Subtags(const std::wstring& tag) {
  std::vector<std::wstring> parts(1);
  for (wchar_t c : AsciiLower(tag)) {
    if (c == L'-' || c == L'_')
      parts.emplace_back();
    else
      parts.back() += c;
  }
  return parts;
}

bool Has(const std::vector<std::wstring>& parts, const wchar_t* subtag) {
  for (std::size_t i = 1; i < parts.size(); ++i)
    if (parts[i] == subtag) return true;
  return false;
}

// The language we speak for one of the user's, if any.
std::optional<Language> Match(const std::wstring& tag) {
  const std::vector<std::wstring> parts = Subtags(tag);
  const std::wstring& primary = parts.front();
  if (primary == L"zh") {
    // Simplified characters are what mainland China and Singapore read; a reader of the
    // traditional ones (Taiwan, Hong Kong, Macao) is better served by their next choice.
    if (Has(parts, L"hant") || Has(parts, L"tw") || Has(parts, L"hk") || Has(parts, L"mo")) return std::nullopt;
    return Language::ChineseSimplified;
  }
  // The Brazilian translation reads naturally to any Portuguese reader; English does not.
  if (primary == L"pt") return Language::PortugueseBrazil;
  for (unsigned i = 0; i < kLanguageCount; ++i)
    if (primary == AsciiLower(kLanguageTags[i])) return static_cast<Language>(i);
  return std::nullopt;
}

}  // namespace

Language ChooseLanguage(const std::vector<std::wstring>& userLanguages) {
  for (const std::wstring& tag : userLanguages)
    if (const auto language = Match(tag)) return *language;
  return Language::English;
}

const wchar_t* LanguageTag(Language language) { return kLanguageTags[static_cast<unsigned>(language)]; }

}  // namespace rt
