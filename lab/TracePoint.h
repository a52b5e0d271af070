// A point of a run's picture: a trial, or a point of a curve or a minorant.
#pragma once

namespace Velmora::Lab {

struct TracePoint {
  double x;
  double f;
};

}  // namespace Velmora::Lab
