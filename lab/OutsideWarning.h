// The warning for a run whose trials left the search interval: outside the
// window, a best point outside [a, b] would otherwise pass for an answer.
#pragma once

#include <optional>
#include <string>

#include "Search.h"

namespace Velmora::Lab {

// "795 of 1002 trials lie outside [0, 1], the first at step 3; L = 1.5 is
// below the function's slope there. The best point found, -0.431, lies
// outside the interval. A larger L avoids this." The sentence on L only for a
// method whose L is fixed, the one on the best point only when it lies
// outside. Trials at x = nan are told apart, and never blamed on L. Empty
// when every trial lies inside.
std::optional<std::string> outsideWarning(const SearchOutcome& outcome, std::optional<MethodId> method, double xmin,
                                          double xmax);

}  // namespace Velmora::Lab
