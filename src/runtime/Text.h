// Text conversions every part of the program needs the same way: UTF-16 as Windows keeps
// it (in the registry, in the tray record), whatever the width of wchar_t on the machine
// that builds us, and the case folding Windows applies to names.
#pragma once
#include <string>
#include <string_view>

namespace rt {

// The text as UTF-16 code units; a character outside the basic plane becomes a surrogate
// pair, a value beyond Unicode becomes U+FFFD.
std::u16string ToUtf16(std::wstring_view text);
// UTF-16 code units back to the platform's wide text; a surrogate without its partner is
// kept as it is.
std::wstring FromUtf16(std::u16string_view units);

constexpr bool IsHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
constexpr bool IsLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }
// The character a high and a low surrogate stand for together.
constexpr char32_t CombineSurrogates(char32_t high, char32_t low) {
  return 0x10000 + ((high - 0xD800) << 10) + (low - 0xDC00);
}
// The two surrogates of a character outside the basic plane (U+10000 to U+10FFFF).
struct SurrogatePair {
  char16_t high;
  char16_t low;
};
constexpr SurrogatePair SplitIntoSurrogates(char32_t code) {
  const char32_t v = code - 0x10000;
  return {static_cast<char16_t>(0xD800 + (v >> 10)), static_cast<char16_t>(0xDC00 + (v & 0x3FF))};
}

// Names (registry keys and values, saved properties, skin names) match without regard to
// the case of A to Z.
std::wstring AsciiLower(std::wstring text);
bool EqualsIgnoringAsciiCase(std::wstring_view a, std::wstring_view b);

// A message quotes at most this much of what the user wrote in a setting: the shell cuts a
// balloon at 255 units without a word, and the message must still end as written.
inline constexpr std::size_t kLongestQuotedSetting = 24;
// The text, or its start and "…" when it is longer than most characters; a character
// outside the basic plane is never split.
std::wstring Abridged(std::wstring_view text, std::size_t most = kLongestQuotedSetting);

// A character of a file name as Windows compares names regardless of case: the small
// letter of the Latin, Greek and Cyrillic capitals, anything else as it is. No table, no
// allocation: the mouse hook folds names with it.
wchar_t FoldFileNameCase(wchar_t c);
// Two file names, "Notepad.EXE" and "notepad.exe", are the same file's.
bool SameFileName(std::wstring_view a, std::wstring_view b);

}  // namespace rt
