// The catalogue travels packed in the executable: each language's texts are a few kilobytes
// of UTF-8 that repeat their own phrases, and an executable of 600 KB has no room to spare.
// The packing is the plainest LZ77: a flag byte tells of the eight items after it, bit 0
// first, whether each is a byte as it is (0) or a two-byte reference (1) to 3 to 18 bytes
// that came 1 to 4096 bytes before: the low four bits are the length less 3, the other
// twelve the distance less 1. res/make_catalogue.py packs.
#pragma once
#include <cstddef>
#include <optional>
#include <string>

namespace rt {

// Never throws; linear in what it makes. Nothing when the data refers back before its start
// or makes other than `size` bytes.
std::optional<std::string> Unpack(const unsigned char* data, std::size_t length, std::size_t size);

}  // namespace rt
