// The broken line under trial points: what the broken-line methods know of F
// below its values, and where their next point goes.
#pragma once

#include <span>
#include <vector>

#include "SearchTrace.h"

namespace Velmora::Lab {

// Between each two trials that are neighbours in x, the lines of slopes
// -slope from the left one and +slope from the right one, down to where they
// meet: the engine's meeting point, so where a step splits an interval between
// neighbours its new point is the vertex there. Sorted by x. Where no such lines join two
// neighbours, because F climbs more steeply than slope between them or a
// value is no finite number, a point with a NaN value breaks the line.
std::vector<TracePoint> brokenLine(std::span<const TracePoint> trials, double slope);

}  // namespace Velmora::Lab
