#include "runtime/win32/Win32Random.h"

#include <bit>
#include <cstdint>

namespace win32 {

void Win32Random::Randomize(double seed) {
  // Every bit of the seed counts, so seeds that differ in a fraction still differ.
  const auto bits = std::bit_cast<std::uint64_t>(seed);
  std::seed_seq sequence{static_cast<std::uint32_t>(bits), static_cast<std::uint32_t>(bits >> 32)};
  generator_.seed(sequence);
}

float Win32Random::Rnd() {
  // 24 random bits fill a float's mantissa exactly, so the result never rounds up to 1.
  return static_cast<float>(generator_() >> 8) * (1.0f / 16777216.0f);
}

}  // namespace win32
