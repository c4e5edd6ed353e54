#include "settings/RegText.h"

#include "runtime/Text.h"

namespace regtext {

std::vector<std::uint8_t> ToRegSz(const std::wstring& text) {
  const std::u16string units = rt::ToUtf16(text);
  std::vector<std::uint8_t> out;
  out.reserve((units.size() + 1) * 2);
  for (const char16_t unit : units) {
    out.push_back(static_cast<std::uint8_t>(unit & 0xFF));
    out.push_back(static_cast<std::uint8_t>(unit >> 8));
  }
  out.push_back(0);
  out.push_back(0);
  return out;
}

std::wstring FromRegSz(const std::vector<std::uint8_t>& data) {
  std::u16string units;
  for (std::size_t i = 0; i + 1 < data.size(); i += 2) {
    const auto unit = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
    if (unit == 0) break;
    units.push_back(unit);
  }
  return rt::FromUtf16(units);
}

std::vector<std::uint8_t> ToRegMultiSz(const std::vector<std::wstring>& texts) {
  std::vector<std::uint8_t> out;
  for (const std::wstring& text : texts) {
    if (text.empty()) continue;
    const std::vector<std::uint8_t> one = ToRegSz(text);
    out.insert(out.end(), one.begin(), one.end());
  }
  out.push_back(0);
  out.push_back(0);
  return out;
}

std::vector<std::wstring> FromRegMultiSz(const std::vector<std::uint8_t>& data) {
  std::vector<std::wstring> texts;
  std::u16string units;
  for (std::size_t i = 0; i + 1 < data.size(); i += 2) {
    const auto unit = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
    if (unit != 0) {
      units.push_back(unit);
      continue;
    }
    if (units.empty()) break;
    texts.push_back(rt::FromUtf16(units));
    units.clear();
  }
  // Data that lost its last NULs still holds its last text.
  if (!units.empty()) texts.push_back(rt::FromUtf16(units));
  return texts;
}

}  // namespace regtext
