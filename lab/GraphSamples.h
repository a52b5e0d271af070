// Where the function graph samples F: the window's curve and the command
// line's picture place their points by this one rule.
#pragma once

namespace Velmora::Lab {

inline constexpr int GraphSampleCount = 500;

// Sample i of [xmin, xmax]: (i * c) * (xmax - xmin) + xmin in extended
// precision, c the extended value nearest 0.002 (slightly below it), so the
// middle sample of -10..10 is -8.67e-19 rather than 0 and xmax itself is never
// sampled. Raises the arithmetic's faults.
double graphSampleX(int i, double xmin, double xmax);

}  // namespace Velmora::Lab
