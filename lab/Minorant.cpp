#include "Minorant.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "Extended.h"
#include "Rules.h"

namespace Velmora::Lab {

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// The broken line over trials sorted by x, slopeOf(i) on the interval after trial i.
template <class SlopeOf>
std::vector<TracePoint> joinedLines(std::span<const TracePoint> sorted, SlopeOf slopeOf) {
  std::vector<BrokenLinePiece> pieces;
  pieces.reserve(sorted.size());
  for (std::size_t i = 0; i + 1 < sorted.size(); ++i) pieces.push_back(brokenLinePiece(sorted[i], sorted[i + 1], slopeOf(i)));
  return joinPieces(sorted, pieces);
}

}  // namespace

BrokenLinePiece brokenLinePiece(const TracePoint& a, const TracePoint& b, double slope) {
  // Compared at 80 bits, where the differences of doubles are exact enough
  // and cannot overflow.
  const bool meets = std::isfinite(a.f) && std::isfinite(b.f) &&
                     Velmora::fabs(static_cast<Extended>(b.f) - a.f) <= static_cast<Extended>(slope) * (b.x - a.x);
  if (!meets) return {false, {NaN, NaN}};
  const double vertex = toDouble(VELMORAALG::MeetingPoint(a.x, a.f, b.x, b.f, slope));
  // Drawn, never stored: a depth beyond the doubles' range shows as an
  // infinite value, which the chart leaves out.
  const double depth = static_cast<double>(a.f - static_cast<Extended>(slope) * (vertex - static_cast<Extended>(a.x)));
  return {true, {vertex, depth}};
}

std::vector<TracePoint> joinPieces(std::span<const TracePoint> sorted, std::span<const BrokenLinePiece> pieces) {
  std::vector<TracePoint> line;
  line.reserve(sorted.size() * 2);
  bool joined = false;  // whether the line reached the previous interval's right end
  for (std::size_t i = 0; i + 1 < sorted.size(); ++i) {
    if (!pieces[i].meets) {
      if (joined) line.push_back({sorted[i].x, NaN});
      joined = false;
      continue;
    }
    if (!joined) line.push_back(sorted[i]);
    line.push_back(pieces[i].vertex);
    line.push_back(sorted[i + 1]);
    joined = true;
  }
  return line;
}

std::vector<TracePoint> brokenLine(std::span<const TracePoint> trials, double slope) {
  // Broken lines with a constant below F's slope place points outside their
  // interval, and the list is then no longer in order of x.
  std::vector<TracePoint> sorted(trials.begin(), trials.end());
  const auto byX = [](const TracePoint& a, const TracePoint& b) { return a.x < b.x; };
  if (!std::is_sorted(sorted.begin(), sorted.end(), byX)) std::stable_sort(sorted.begin(), sorted.end(), byX);
  return joinedLines(sorted, [slope](std::size_t) { return slope; });
}

std::vector<TracePoint> brokenLine(std::span<const TracePoint> trials, std::span<const double> slopes) {
  return joinedLines(trials, [slopes](std::size_t i) { return slopes[i]; });
}

std::vector<TracePoint> smoothMinorant(std::span<const TracePoint> trials, std::span<const double> dz,
                                       std::span<const double> m, int samplesPerInterval) {
  std::vector<TracePoint> line;
  bool joined = false;
  std::vector<double> at;
  for (std::size_t i = 0; i + 1 < trials.size(); ++i) {
    const TracePoint& a = trials[i];
    const TracePoint& b = trials[i + 1];
    const double length = b.x - a.x;
    const VELMORAALG::SmoothPieces pieces =
        VELMORAALG::SmoothMinorantPieces(length, a.f, b.f, dz[i], dz[i + 1], m[i]);
    const bool finite = std::isfinite(a.f) && std::isfinite(b.f) && std::isfinite(dz[i]) && std::isfinite(dz[i + 1]) &&
                        std::isfinite(m[i]);
    if (!finite || !pieces.Exists) {
      if (joined) line.push_back({a.x, NaN});
      joined = false;
      continue;
    }
    at.clear();
    for (int k = 0; k < samplesPerInterval; ++k) at.push_back(length * k / samplesPerInterval);
    for (double u : {pieces.W, pieces.Y, -pieces.B / m[i]})
      if (u > 0 && u < length) at.push_back(u);
    std::sort(at.begin(), at.end());
    for (double u : at) {
      if (u == 0 && joined) continue;  // the previous interval ended here
      line.push_back({a.x + u, VELMORAALG::SmoothMinorantAt(pieces, length, a.f, b.f, dz[i], dz[i + 1], m[i], u)});
    }
    line.push_back(b);
    joined = true;
  }
  return line;
}

std::vector<TracePoint> minorantOf(const SearchOutcome& outcome) {
  const std::vector<double>& constants = outcome.intervalConstants;
  if (constants.empty() || constants.size() + 1 != outcome.trials.size()) return {};
  std::vector<TracePoint> trials;
  trials.reserve(outcome.trials.size());
  for (const Trial& trial : outcome.trials) trials.push_back({trial.x, trial.f});
  if (!outcome.slopes.empty()) {
    // About 4000 points in all, so that a long run draws as fast as a short one.
    const int samples = std::clamp(4000 / static_cast<int>(constants.size()), 2, 24);
    return smoothMinorant(trials, outcome.slopes, constants, samples);
  }
  // One constant for all: Piyavsky's points may lie outside, out of order.
  if (std::all_of(constants.begin(), constants.end(), [&](double c) { return c == constants.front(); }))
    return brokenLine(trials, constants.front());
  return brokenLine(trials, constants);
}

}  // namespace Velmora::Lab
