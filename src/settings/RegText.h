// Registry string data as the W functions exchange it: UTF-16LE code units with one
// terminating NUL, whatever the width of wchar_t on the machine that builds it.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace regtext {

// The text as REG_SZ data: (UTF-16 units + 1) * 2 bytes, little-endian, NUL last.
std::vector<std::uint8_t> ToRegSz(const std::wstring& text);

// The text up to the first NUL or the end of the data; an odd last byte is ignored.
std::wstring FromRegSz(const std::vector<std::uint8_t>& data);

// Texts as REG_MULTI_SZ data: each with its NUL, then one more NUL. Empty texts cannot be
// kept in the list (an empty one would end it), so they are left out.
std::vector<std::uint8_t> ToRegMultiSz(const std::vector<std::wstring>& texts);
// The texts up to the empty one that ends the list, or the end of the data.
std::vector<std::wstring> FromRegMultiSz(const std::vector<std::uint8_t>& data);

}  // namespace regtext
