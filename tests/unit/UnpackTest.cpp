// The catalogue's unpacking: bytes as they are, references back that may overlap what they
// make, and nothing from data that refers before its start or makes the wrong size.
#include <gtest/gtest.h>

#include <vector>

#include "runtime/Unpack.h"

namespace {

std::optional<std::string> Unpacked(const std::vector<unsigned char>& data, std::size_t size) {
  return rt::Unpack(data.data(), data.size(), size);
}

TEST(Unpack, CopiesBytesAndFollowsReferencesThatOverlapWhatTheyMake) {
  // "ab" as they are, then 3 + 5 = 8 bytes from 2 back: "ab" + "abababab".
  EXPECT_EQ(Unpacked({0b100, 'a', 'b', 0x15, 0x00}, 10), "ababababab");
  // A second flag byte after eight items.
  EXPECT_EQ(Unpacked({0, '1', '2', '3', '4', '5', '6', '7', '8', 0, '9'}, 9), "123456789");
}

TEST(Unpack, RefusesReferencesBeforeTheStartAndTheWrongSize) {
  EXPECT_FALSE(Unpacked({0b10, 'a', 0x10, 0x00}, 4));  // 2 back from 1 byte made
  EXPECT_FALSE(Unpacked({0b0, 'a', 'b'}, 3));          // makes 2, not 3
  EXPECT_FALSE(Unpacked({0b10, 'a', 0x00}, 4));        // a token cut short
}

}  // namespace
