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

}  // namespace regtext
