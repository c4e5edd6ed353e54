#include "ui/TextDecoding.h"

#include "runtime/Text.h"

namespace text {

namespace {

constexpr char32_t kMaxCodePoint = 0x10FFFF;

bool IsSurrogate(char32_t c) { return rt::IsHighSurrogate(c) || rt::IsLowSurrogate(c); }

// Tab, LF and CR are the only control characters a text file of ours carries.
bool IsAllowed(char32_t c) {
  if (c == U'\t' || c == U'\n' || c == U'\r') return true;
  return c >= 0x20 && c != 0x7F && !(c >= 0x80 && c <= 0x9F);
}

std::optional<std::u32string> DecodeUtf8(const std::uint8_t* data, std::size_t size) {
  std::u32string out;
  out.reserve(size);
  std::size_t i = 0;
  while (i < size) {
    const std::uint8_t lead = data[i];
    std::size_t length;
    char32_t c;
    char32_t smallest;
    if (lead < 0x80) {
      length = 1, c = lead, smallest = 0;
    } else if ((lead & 0xE0) == 0xC0) {
      length = 2, c = lead & 0x1F, smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
      length = 3, c = lead & 0x0F, smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
      length = 4, c = lead & 0x07, smallest = 0x10000;
    } else {
      return std::nullopt;
    }
    if (length > size - i) return std::nullopt;
    for (std::size_t k = 1; k < length; ++k) {
      const std::uint8_t next = data[i + k];
      if ((next & 0xC0) != 0x80) return std::nullopt;
      c = (c << 6) | (next & 0x3F);
    }
    // Overlong forms, surrogates and values past Unicode are not UTF-8.
    if (c < smallest || c > kMaxCodePoint || IsSurrogate(c) || !IsAllowed(c)) return std::nullopt;
    out.push_back(c);
    i += length;
  }
  return out;
}

std::optional<std::u32string> DecodeUtf16Le(const std::uint8_t* data, std::size_t size) {
  if (size % 2 != 0) return std::nullopt;
  std::u32string out;
  out.reserve(size / 2);
  const auto unitAt = [data](std::size_t i) { return static_cast<char32_t>(data[i] | (data[i + 1] << 8)); };
  for (std::size_t i = 0; i < size; i += 2) {
    char32_t c = unitAt(i);
    if (rt::IsLowSurrogate(c)) return std::nullopt;
    if (rt::IsHighSurrogate(c)) {
      if (size - i < 4) return std::nullopt;
      const char32_t low = unitAt(i + 2);
      if (!rt::IsLowSurrogate(low)) return std::nullopt;
      c = rt::CombineSurrogates(c, low);
      i += 2;
    }
    if (!IsAllowed(c)) return std::nullopt;
    out.push_back(c);
  }
  return out;
}

}  // namespace

std::optional<std::u32string> DecodeText(const std::uint8_t* data, std::size_t size) {
  if (size >= 2 && data[0] == 0xFF && data[1] == 0xFE) return DecodeUtf16Le(data + 2, size - 2);
  if (size >= 3 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF) return DecodeUtf8(data + 3, size - 3);
  return DecodeUtf8(data, size);
}

std::wstring ToWide(std::u32string_view codePoints) {
  std::wstring out;
  out.reserve(codePoints.size());
  for (char32_t c : codePoints) {
    if constexpr (sizeof(wchar_t) == 2) {
      if (c >= 0x10000) {
        const rt::SurrogatePair pair = rt::SplitIntoSurrogates(c);
        out.push_back(static_cast<wchar_t>(pair.high));
        out.push_back(static_cast<wchar_t>(pair.low));
        continue;
      }
    }
    out.push_back(static_cast<wchar_t>(c));
  }
  return out;
}

}  // namespace text
