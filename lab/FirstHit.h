// The first hit of a run: the first trial, in the order of placing, near a
// global minimiser. A test set's protocol and a class run's rule differ only
// in how near counts; each makes its HitRule once (testSetHit, classHit).
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "Search.h"

namespace Velmora::Lab {

struct HitRule {
  std::vector<double> minimisers;  ///< every global minimiser: a trial near any is a hit
  double reach = 0;

  // To the nearest minimiser.
  double distance(double x) const;
  bool hits(double x) const { return distance(x) <= reach; }
};

// Its number in the order of placing, the two ends being 1 and 2.
std::optional<std::size_t> firstHit(const std::vector<Trial>& trials, const HitRule& rule);

}  // namespace Velmora::Lab
