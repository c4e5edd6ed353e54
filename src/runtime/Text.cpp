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

wchar_t FoldFileNameCase(wchar_t c) {
  const auto u = static_cast<std::uint32_t>(c);
  const auto lower = [](std::uint32_t v) { return static_cast<wchar_t>(v); };
  if (u >= L'A' && u <= L'Z') return lower(u + 0x20);
  if (u < 0xC0) return c;
  // Latin-1 capitals, bar the multiplication sign.
  if (u <= 0xDE) return u == 0xD7 ? c : lower(u + 0x20);
  // Latin Extended-A pairs capital, small; from U+0139 to U+0148 and from U+0179 the
  // capital comes odd. U+0130 (capital I with dot) and U+0178 (capital Y diaeresis) are
  // their own cases.
  if (u >= 0x100 && u <= 0x17F) {
    if (u == 0x130) return L'i';
    if (u == 0x178) return lower(0xFF);
    const bool oddCapitals = (u >= 0x139 && u <= 0x148) || u >= 0x179;
    if (u == 0x138 || u == 0x149 || u == 0x17F) return c;
    return (u % 2 == 1) == oddCapitals ? lower(u + 1) : c;
  }
  if (u >= 0x391 && u <= 0x3AB && u != 0x3A2) return lower(u + 0x20);  // Greek
  if (u >= 0x410 && u <= 0x42F) return lower(u + 0x20);                // Cyrillic
  if (u >= 0x400 && u <= 0x40F) return lower(u + 0x50);
  return c;
}

bool SameFileName(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (FoldFileNameCase(a[i]) != FoldFileNameCase(b[i])) return false;
  return true;
}

}  // namespace rt
