// What a method knows of F below its trials, as points to draw: the broken
// line of the Lipschitz methods, the smooth auxiliary function of the methods
// that use f'. Each passes through the trials; where none joins two
// neighbours, a point with a NaN value breaks the line.
#pragma once

#include <span>
#include <vector>

#include "Search.h"
#include "SearchTrace.h"

namespace Velmora::Lab {

// Between each two trials that are neighbours in x, the lines of slopes
// -slope from the left one and +slope from the right one, down to where they
// meet: the engine's meeting point, so where a step splits an interval between
// neighbours its new point is the vertex there. Sorted by x. Where F climbs
// more steeply than slope between them, or a value is no finite number, the
// line breaks.
std::vector<TracePoint> brokenLine(std::span<const TracePoint> trials, double slope);
// The same with a slope of each interval: trials in increasing x, slopes[i]
// that of the interval after trials[i].
std::vector<TracePoint> brokenLine(std::span<const TracePoint> trials, std::span<const double> slopes);

// Each interval's smooth auxiliary function with its m (trials in increasing
// x, dz the slopes of F there, m[i] that of the interval after trials[i]),
// at its ends, where its pieces join and its lowest point, and at samples
// evenly spaced in between. It breaks where it does not exist.
std::vector<TracePoint> smoothMinorant(std::span<const TracePoint> trials, std::span<const double> dz,
                                       std::span<const double> m, int samplesPerInterval);

// The minorant a finished run leaves, from its trials and interval constants
// (SearchRequest::keepIntervalConstants): the smooth one where the method used
// f', else the broken line; empty for a method that has none.
std::vector<TracePoint> minorantOf(const SearchOutcome& outcome);

}  // namespace Velmora::Lab
