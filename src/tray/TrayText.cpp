#include "tray/TrayText.h"

#include <algorithm>
#include <cstdint>

namespace tray {

namespace {
bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
}  // namespace

std::u16string ToUtf16(const std::wstring& text) {
  std::u16string units;
  units.reserve(text.size());
  for (wchar_t c : text) {
    const auto code = static_cast<std::uint32_t>(c);
    if (code > 0xFFFF && code <= 0x10FFFF) {
      const std::uint32_t v = code - 0x10000;
      units.push_back(static_cast<char16_t>(0xD800 + (v >> 10)));
      units.push_back(static_cast<char16_t>(0xDC00 + (v & 0x3FF)));
    } else if (code > 0x10FFFF) {
      units.push_back(u'\uFFFD');
    } else {
      units.push_back(static_cast<char16_t>(code));
    }
  }
  return units;
}

void PutText(std::span<char16_t> field, const std::wstring& text) {
  if (field.empty()) return;
  const std::u16string units = ToUtf16(text);
  std::size_t length = std::min(units.size(), field.size() - 1);
  if (length < units.size() && length > 0 && IsHighSurrogate(units[length - 1])) --length;
  std::copy_n(units.begin(), length, field.begin());
  field[length] = u'\0';
  std::fill(field.begin() + static_cast<std::ptrdiff_t>(length) + 1, field.end(), u' ');
}

}  // namespace tray
