// The generator that draws the test classes' coefficients. Its output is part
// of each class's definition: function n of a class is whatever the stream
// started at the class's seed + n yields, on every machine.
#pragma once

#include <cstdint>

namespace Velmora::Lab {

class SplitMix64 {
 public:
  explicit SplitMix64(std::uint64_t state) : state_(state) {}

  std::uint64_t next() {
    // Unsigned arithmetic wraps, which the mixing relies on.
    state_ += 0x9E3779B97F4A7C15;
    std::uint64_t z = state_;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EB;
    return z ^ (z >> 31);
  }

  /// In [0, 1): the top 53 bits, so every value is a double exactly.
  double uniform() { return static_cast<double>(next() >> 11) * 0x1p-53; }
  double uniform(double lo, double hi) { return lo + (hi - lo) * uniform(); }

 private:
  std::uint64_t state_;
};

}  // namespace Velmora::Lab
