// The seeded pseudo-random generator.
#pragma once
#include <random>

#include "runtime/Random.h"

namespace win32 {

class Win32Random : public rt::RandomSource {
 public:
  void Randomize(double seed) override;
  float Rnd() override;

 private:
  std::mt19937 generator_;
};

}  // namespace win32
