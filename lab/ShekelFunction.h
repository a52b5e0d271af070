// The class "shekel": f(x) = -sum over i = 1..10 of 1 / (K_i (x - a_i)^2 + c_i)
// on [0, 10], each term drawing K_i from U(5, 25), then a_i from U(0, 10),
// then c_i from U(1, 1.2).
#pragma once

#include <array>

#include "NativeFunction.h"
#include "SplitMix64.h"

namespace Velmora::Lab {

class ShekelFunction final : public NativeFunction {
 public:
  static constexpr int Terms = 10;
  static constexpr double Lower = 0;
  static constexpr double Upper = 10;

  struct Term {
    double k;       ///< K_i, the steepness of the well
    double centre;  ///< a_i
    double c;       ///< c_i: the well is 1/c_i deep
  };

  explicit ShekelFunction(SplitMix64& draws);
  // A function of the published Shekel set, from its terms.
  explicit ShekelFunction(const std::array<Term, Terms>& terms);

  std::array<Term, Terms> terms{};

  std::string formula() const override;
  Extended value(double x) const override;
  SlopeAndCurvature slopeAndCurvature(double x) const override;
  void gridValues(int first, int count, double* values, double* slopes) const override;
  double curvatureBound() const override;
};

}  // namespace Velmora::Lab
