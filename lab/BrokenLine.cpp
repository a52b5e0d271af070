#include "BrokenLine.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "Extended.h"
#include "Rules.h"

namespace Velmora::Lab {

std::vector<TracePoint> brokenLine(std::span<const TracePoint> trials, double slope) {
  // Broken lines with a constant below F's slope place points outside their
  // interval, and the list is then no longer in order of x.
  std::vector<TracePoint> sorted(trials.begin(), trials.end());
  const auto byX = [](const TracePoint& a, const TracePoint& b) { return a.x < b.x; };
  if (!std::is_sorted(sorted.begin(), sorted.end(), byX)) std::stable_sort(sorted.begin(), sorted.end(), byX);

  std::vector<TracePoint> line;
  line.reserve(sorted.size() * 2);
  bool joined = false;  // whether the line reached the previous interval's right end
  for (std::size_t i = 0; i + 1 < sorted.size(); ++i) {
    const TracePoint& a = sorted[i];
    const TracePoint& b = sorted[i + 1];
    // Compared at 80 bits, where the differences of doubles are exact enough
    // and cannot overflow.
    const bool fits = std::isfinite(a.f) && std::isfinite(b.f) &&
                      Velmora::fabs(static_cast<Extended>(b.f) - a.f) <= static_cast<Extended>(slope) * (b.x - a.x);
    if (!fits) {
      if (joined) line.push_back({a.x, std::numeric_limits<double>::quiet_NaN()});
      joined = false;
      continue;
    }
    if (!joined) line.push_back(a);
    const double vertex = toDouble(VELMORAALG::MeetingPoint(a.x, a.f, b.x, b.f, slope));
    // Drawn, never stored: a depth beyond the doubles' range shows as an
    // infinite value, which the chart leaves out.
    const double depth = static_cast<double>(a.f - static_cast<Extended>(slope) * (vertex - static_cast<Extended>(a.x)));
    line.push_back({vertex, depth});
    line.push_back(b);
    joined = true;
  }
  return line;
}

}  // namespace Velmora::Lab
