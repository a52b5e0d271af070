#include "GlobalMinimum.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace Velmora::Lab {

namespace {

// Grid points lo..hi that hold a local minimum (lo == hi for an end of the
// interval), and the lowest grid value among them.
struct Candidate {
  int lo;
  int hi;
  double gridValue;
};

// Newton's step on f' inside [lo, hi], falling back to bisection whenever the
// step leaves the bracket or the curvature does not point to a minimum.
double refineMinimiser(const NativeFunction& f, double lo, double hi) {
  if (f.slopeAndCurvature(lo).slope >= 0) return lo;
  if (f.slopeAndCurvature(hi).slope <= 0) return hi;
  double x = lo + (hi - lo) / 2;
  // Bisection alone would end within about 64 halvings of a cell.
  for (int step = 0; step < 100; ++step) {
    const SlopeAndCurvature local = f.slopeAndCurvature(x);
    if (local.slope == 0) return x;
    (local.slope < 0 ? lo : hi) = x;
    double next = local.curvature > 0 ? static_cast<double>(x - local.slope / local.curvature)
                                      : std::numeric_limits<double>::quiet_NaN();
    if (!(next > lo && next < hi)) next = lo + (hi - lo) / 2;
    // A step this small is below what the slope's own rounding can resolve
    // on intervals a few units long.
    if (std::fabs(next - x) <= 1e-14) return next;
    x = next;
  }
  return x;
}

}  // namespace

GlobalMinimum findGlobalMinimum(const NativeFunction& f) {
  std::vector<Candidate> candidates;
  double largestSlope = 0;
  double values[GridBlock];
  double slopes[GridBlock];
  double lastValue = 0;
  double lastSlope = 0;
  for (int first = 0; first < GridPoints; first += GridBlock) {
    const int count = std::min(GridBlock, GridPoints - first);
    f.gridValues(first, count, values, slopes);
    for (int k = 0; k < count; ++k) {
      const int j = first + k;
      largestSlope = std::max(largestSlope, std::fabs(slopes[k]));
      // The bracket reaches one cell beyond each side, in case the native
      // slope at a cell's end has the other sign than the grid's.
      if (j > 0 && lastSlope < 0 && slopes[k] >= 0)
        candidates.push_back({std::max(j - 2, 0), std::min(j + 1, GridPoints - 1), std::min(lastValue, values[k])});
      if (j == 0 || j == GridPoints - 1) candidates.push_back({j, j, values[k]});
      lastValue = values[k];
      lastSlope = slopes[k];
    }
  }

  // A minimum lies within half a cell of a grid point, so at most
  // bound * (h/2)^2 / 2 below it; the rest covers the rounding of the grid's
  // doubles with ample room.
  const double h = (f.b - f.a) / (GridPoints - 1);
  const double margin = f.curvatureBound() * h * h / 8 + 1e-9;
  double lowest = std::numeric_limits<double>::infinity();
  for (const Candidate& c : candidates) lowest = std::min(lowest, c.gridValue);

  GlobalMinimum best{f.a, std::numeric_limits<Extended>::infinity(), largestSlope};
  for (const Candidate& c : candidates) {
    if (!(c.gridValue <= lowest + margin)) continue;
    const double lo = gridPoint(f.a, f.b, c.lo);
    const double x = c.lo == c.hi ? lo : refineMinimiser(f, lo, gridPoint(f.a, f.b, c.hi));
    const Extended value = f.value(x);
    if (value < best.value) {
      best.x = x;
      best.value = value;
    }
  }
  return best;
}

}  // namespace Velmora::Lab
