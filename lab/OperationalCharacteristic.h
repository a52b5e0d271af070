// What the first hits of one method over many problems show: the share of the
// problems solved within k trials as k grows, and a summary.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

namespace Velmora::Lab {

struct SharePoint {
  int k;
  double share;
};

// The share of runs whose first hit is at most k, for k = 1 .. lastK, given as
// k = 1, every k where it grows, and lastK: each share holds until the next
// point. Empty when there are no runs.
std::vector<SharePoint> operationalCharacteristic(std::span<const std::optional<int>> firstHits, int lastK);

// The operational zone of a stochastic method: at k = 1, every k where a
// seed's share grows, and lastK, the lowest, mean and highest share over the
// seeds' characteristics (one list of first hits per seed).
struct ZonePoint {
  int k;
  double low;
  double mean;
  double high;
};
std::vector<ZonePoint> operationalZone(std::span<const std::vector<std::optional<int>>> firstHitsBySeed, int lastK);

struct FirstHitSummary {
  std::size_t runs = 0;
  std::size_t solved = 0;               ///< runs with a first hit
  std::optional<double> meanFirstHit;   ///< over the solved runs
  std::optional<double> medianFirstHit; ///< over the solved runs; of an even count, the mean of the middle two
};

FirstHitSummary summariseFirstHits(std::span<const std::optional<int>> firstHits);

}  // namespace Velmora::Lab
