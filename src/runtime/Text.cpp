#include "runtime/Text.h"

#include <cstdint>

namespace rt {

namespace {
constexpr bool kWideIsUtf16 = sizeof(wchar_t) == 2;
constexpr char32_t kMaxCodePoint = 0x10FFFF;

constexpr wchar_t Lower(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; }
}  // namespace

std::u16string ToUtf16(std::wstring_view text) {
  std::u16string units;
  units.reserve(text.size());
  for (const wchar_t c : text) {
    const auto code = static_cast<std::uint32_t>(c);
    if (code <= 0xFFFF) {
      units.push_back(static_cast<char16_t>(code));
    } else if (code <= kMaxCodePoint) {
      const SurrogatePair pair = SplitIntoSurrogates(code);
      units.push_back(pair.high);
      units.push_back(pair.low);
    } else {
      units.push_back(u'\uFFFD');
    }
  }
  return units;
}

std::wstring FromUtf16(std::u16string_view units) {
  std::wstring text;
  text.reserve(units.size());
  for (std::size_t i = 0; i < units.size(); ++i) {
    char32_t unit = units[i];
    if (!kWideIsUtf16 && IsHighSurrogate(unit) && i + 1 < units.size() && IsLowSurrogate(units[i + 1])) {
      unit = CombineSurrogates(unit, units[i + 1]);
      ++i;
    }
    text.push_back(static_cast<wchar_t>(unit));
  }
  return text;
}

std::wstring AsciiLower(std::wstring text) {
  for (auto& c : text) c = Lower(c);
  return text;
}

bool EqualsIgnoringAsciiCase(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

std::wstring Abridged(std::wstring_view text, std::size_t most) {
  if (text.size() <= most) return std::wstring(text);
  if (most == 0) return {};
  std::size_t kept = most - 1;
  if (kept > 0 && IsHighSurrogate(static_cast<char32_t>(text[kept - 1]))) --kept;
  return std::wstring(text.substr(0, kept)) + L"\u2026";
}

}  // namespace rt
