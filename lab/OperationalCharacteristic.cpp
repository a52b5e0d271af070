#include "OperationalCharacteristic.h"

#include <algorithm>
#include <iterator>

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

std::vector<ZonePoint> operationalZone(std::span<const std::vector<std::optional<int>>> firstHitsBySeed, int lastK) {
  std::vector<ZonePoint> zone;
  std::vector<std::vector<SharePoint>> curves;
  std::vector<int> ks;
  for (const auto& hits : firstHitsBySeed) {
    curves.push_back(operationalCharacteristic(hits, lastK));
    for (const SharePoint& p : curves.back()) ks.push_back(p.k);
  }
  if (curves.empty() || curves.front().empty()) return zone;
  std::sort(ks.begin(), ks.end());
  ks.erase(std::unique(ks.begin(), ks.end()), ks.end());
  for (int k : ks) {
    ZonePoint point{k, 1, 0, 0};
    for (const std::vector<SharePoint>& curve : curves) {
      // The share holds from its k to the next point's.
      const auto after = std::upper_bound(curve.begin(), curve.end(), k, [](int k, const SharePoint& p) { return k < p.k; });
      const double share = after == curve.begin() ? 0 : std::prev(after)->share;
      point.low = std::min(point.low, share);
      point.high = std::max(point.high, share);
      point.mean += share / static_cast<double>(curves.size());
    }
    zone.push_back(point);
  }
  return zone;
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
