// The class "hill": f(x) = sum over i = 0..13 of a_i sin(2 pi i x) + b_i cos(2 pi i x)
// on [0, 1], the coefficients drawn a_0, b_0, a_1, b_1, ... from U(-1, 1).
#pragma once

#include <array>

#include "NativeFunction.h"
#include "SplitMix64.h"

namespace Velmora::Lab {

class HillFunction final : public NativeFunction {
 public:
  static constexpr int Harmonics = 14;
  static constexpr double Lower = 0;
  static constexpr double Upper = 1;

  explicit HillFunction(SplitMix64& draws);
  // A function of the published Hill set, from its coefficients.
  HillFunction(const std::array<double, Harmonics>& sine, const std::array<double, Harmonics>& cosine);

  std::array<double, Harmonics> sine{};    ///< a_i
  std::array<double, Harmonics> cosine{};  ///< b_i

  // The constant harmonic is written as b_0 alone: its sine vanishes.
  std::string formula() const override;
  Extended value(double x) const override;
  SlopeAndCurvature slopeAndCurvature(double x) const override;
  void gridValues(int first, int count, double* values, double* slopes) const override;
  double curvatureBound() const override;
};

}  // namespace Velmora::Lab
