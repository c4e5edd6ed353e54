#include "settings/RegText.h"

namespace regtext {

namespace {

constexpr bool kWideIsUtf16 = sizeof(wchar_t) == 2;

void PutUnit(std::vector<std::uint8_t>& out, std::uint32_t unit) {
  out.push_back(static_cast<std::uint8_t>(unit & 0xFF));
  out.push_back(static_cast<std::uint8_t>((unit >> 8) & 0xFF));
}

bool IsHigh(std::uint32_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLow(std::uint32_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

}  // namespace

std::vector<std::uint8_t> ToRegSz(const std::wstring& text) {
  std::vector<std::uint8_t> out;
  out.reserve((text.size() + 1) * 2);
  for (const wchar_t c : text) {
    const auto code = static_cast<std::uint32_t>(c);
    if (!kWideIsUtf16 && code > 0xFFFF) {
      // Outside the basic plane: the registry keeps it as a surrogate pair.
      const std::uint32_t v = code - 0x10000;
      PutUnit(out, 0xD800 + (v >> 10));
      PutUnit(out, 0xDC00 + (v & 0x3FF));
    } else {
      PutUnit(out, code);
    }
  }
  PutUnit(out, 0);
  return out;
}

std::wstring FromRegSz(const std::vector<std::uint8_t>& data) {
  std::wstring text;
  for (std::size_t i = 0; i + 1 < data.size(); i += 2) {
    std::uint32_t unit = data[i] | (static_cast<std::uint32_t>(data[i + 1]) << 8);
    if (unit == 0) break;
    if (!kWideIsUtf16 && IsHigh(unit) && i + 3 < data.size()) {
      const std::uint32_t next = data[i + 2] | (static_cast<std::uint32_t>(data[i + 3]) << 8);
      if (IsLow(next)) {
        unit = 0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00);
        i += 2;
      }
    }
    text.push_back(static_cast<wchar_t>(unit));
  }
  return text;
}

}  // namespace regtext
