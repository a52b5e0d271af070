// Where the function graph samples F: the window's curve and the command
// line's picture place their points by this one rule.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "FormulaFunction.h"

namespace Velmora::Lab {

inline constexpr int GraphSampleCount = 500;

// Sample i of [xmin, xmax]: (i * c) * (xmax - xmin) + xmin in extended
// precision, c the extended value nearest 0.002 (slightly below it), so the
// middle sample of -10..10 is -8.67e-19 rather than 0 and xmax itself is never
// sampled. Raises the arithmetic's faults.
double graphSampleX(int i, double xmin, double xmax);

// F at every sample, NaN where the formula faults: the curve leaves those out.
struct GraphCurve {
  std::vector<double> x;
  std::vector<double> f;
  std::size_t faults = 0;
  std::string firstFault;  ///< "Floating point division by zero at x = 3"; empty when none faulted
};
GraphCurve graphCurve(FormulaFunction& func, double xmin, double xmax);

}  // namespace Velmora::Lab
