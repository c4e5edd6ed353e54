// Turns the bytes of a small text file into code points: UTF-16LE when it opens with its
// byte-order mark, otherwise UTF-8 (with or without one). Strict: malformed sequences,
// unpaired surrogates, NUL and the other control characters but tab, CR and LF make the
// bytes "not text", which is how binary files are told apart.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace text {

std::optional<std::u32string> DecodeText(const std::uint8_t* data, std::size_t size);

// Code points to the platform's wide string (UTF-16 on Windows, UTF-32 elsewhere).
std::wstring ToWide(std::u32string_view codePoints);

}  // namespace text
