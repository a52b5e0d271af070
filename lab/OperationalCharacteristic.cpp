#include "OperationalCharacteristic.h"

#include <algorithm>

namespace Velmora::Lab {

namespace {

std::vector<int> sortedHits(std::span<const std::optional<int>> firstHits) {
  std::vector<int> hits;
  for (const std::optional<int>& hit : firstHits)
    if (hit) hits.push_back(*hit);
  std::sort(hits.begin(), hits.end());
  return hits;
}

}  // namespace

std::vector<SharePoint> operationalCharacteristic(std::span<const std::optional<int>> firstHits, int lastK) {
  std::vector<SharePoint> points;
  if (firstHits.empty()) return points;
  const std::vector<int> hits = sortedHits(firstHits);
  const double runs = static_cast<double>(firstHits.size());
  const auto shareWithin = [&](int k) {
    return static_cast<double>(std::upper_bound(hits.begin(), hits.end(), k) - hits.begin()) / runs;
  };
  points.push_back({1, shareWithin(1)});
  for (int hit : hits)
    if (hit > points.back().k && hit <= lastK) points.push_back({hit, shareWithin(hit)});
  if (points.back().k < lastK) points.push_back({lastK, shareWithin(lastK)});
  return points;
}

FirstHitSummary summariseFirstHits(std::span<const std::optional<int>> firstHits) {
  const std::vector<int> hits = sortedHits(firstHits);
  FirstHitSummary summary;
  summary.runs = firstHits.size();
  summary.solved = hits.size();
  if (hits.empty()) return summary;
  double sum = 0;
  for (int hit : hits) sum += hit;
  summary.meanFirstHit = sum / static_cast<double>(hits.size());
  const std::size_t middle = hits.size() / 2;
  summary.medianFirstHit = hits.size() % 2 ? hits[middle] : (hits[middle - 1] + hits[middle]) / 2.0;
  return summary;
}

}  // namespace Velmora::Lab
