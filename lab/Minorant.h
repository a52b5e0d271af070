// What a method knows of F below its trials, as points to draw: the broken
// line of the Lipschitz methods, the smooth auxiliary function of the methods
// that use f'. Each passes through the trials; where none joins two
// neighbours, a point with a NaN value breaks the line.
#pragma once

#include <span>
#include <vector>

#include "Search.h"
#include "TracePoint.h"

namespace Velmora::Lab {

// Between each two trials that are neighbours in x, the lines of slopes
// -slope from the left one and +slope from the right one, down to where they
// meet: the engine's meeting point, so where a step splits an interval between
// neighbours its new point is the vertex there. Sorted by x. Where F climbs
// more steeply than slope between them, or a value is no finite number, the
// line breaks.
std::vector<TracePoint> brokenLine(std::span<const TracePoint> trials, double slope);

// The broken line over one interval between neighbours a.x < b.x: whether
// its two lines meet (F climbs no more steeply than slope between them and
// both values are finite numbers), and the vertex where they do.
struct BrokenLinePiece {
  bool meets;
  TracePoint vertex;
};
BrokenLinePiece brokenLinePiece(const TracePoint& a, const TracePoint& b, double slope);
// The line through trials sorted by x from the piece of each interval
// (pieces[i] that of the interval after trials[i]), broken where one does not meet.
std::vector<TracePoint> joinPieces(std::span<const TracePoint> sorted, std::span<const BrokenLinePiece> pieces);
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
