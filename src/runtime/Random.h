// The seeded pseudo-random generator.
#pragma once

namespace rt {

class RandomSource {
 public:
  virtual ~RandomSource() = default;
  virtual void Randomize(double seed) = 0;
  // A number r with 0 <= r < 1.
  virtual float Rnd() = 0;
};

}  // namespace rt
