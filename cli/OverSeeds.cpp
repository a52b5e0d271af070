#include "OverSeeds.h"

#include <algorithm>
#include <numeric>

#include "Spelling.h"

namespace Velmora::Cli {

std::string overSeedsText(const std::vector<double>& values) {
  if (values.empty()) return "-";
  const double mean = std::accumulate(values.begin(), values.end(), 0.0) / static_cast<double>(values.size());
  const auto [lo, hi] = std::minmax_element(values.begin(), values.end());
  return printed("%.1f", mean) + " (" + printed("%.1f", *lo) + "–" + printed("%.1f", *hi) + ")";
}

std::string overSeedsNote(const std::string& spread, const std::string& pooled) {
  return "A stochastic method's " + spread + " are means over its seeds, the lowest and highest in brackets; its " +
         pooled + " over the runs of every seed.\n";
}

}  // namespace Velmora::Cli
