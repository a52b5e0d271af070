#include "FirstHit.h"

#include <cmath>

namespace Velmora::Lab {

double HitRule::distance(double x) const {
  double nearest = INFINITY;
  for (double minimiser : minimisers) nearest = std::fmin(nearest, std::fabs(x - minimiser));
  return nearest;
}

std::optional<std::size_t> firstHit(const std::vector<Trial>& trials, const HitRule& rule) {
  const std::vector<double> placed = placementOrder(trials);
  for (std::size_t i = 0; i < placed.size(); ++i)
    if (rule.hits(placed[i])) return i + 1;
  return std::nullopt;
}

}  // namespace Velmora::Lab
