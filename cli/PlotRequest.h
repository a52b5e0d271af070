// What the pictures of --plot and --operational show. Plain data: it crosses
// into the module that draws them.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "SearchTrace.h"

namespace Velmora::Cli {

struct PlotRequest {
  std::string file;
  double xmin = 0;
  double xmax = 0;
  std::vector<double> curveX;  ///< the chart's samples; a sample whose evaluation faulted holds NaN in curveY
  std::vector<double> curveY;
  std::vector<Lab::TracePoint> trials;
  // The run's minorant, a NaN value breaking it; empty for a method without one.
  std::vector<Lab::TracePoint> minorant;
};

// Writes the PNG; returns the user's text of a failure.
using PlotWriter = std::function<std::optional<std::string>(const PlotRequest&)>;

// One method's share of problems solved within k trials: each share holds
// from its k to the next.
struct OperationalCurve {
  std::string name;
  std::vector<double> k;
  std::vector<double> share;  ///< a zone's mean
  // A stochastic method's zone over its seeds, at the same k; empty for a curve.
  std::vector<double> low;
  std::vector<double> high;
};

struct OperationalRequest {
  std::string file;
  std::string title;
  int lastK = 1;  ///< the k axis runs from 1 to here
  bool logK = false;
  std::vector<OperationalCurve> curves;
};

using OperationalWriter = std::function<std::optional<std::string>(const OperationalRequest&)>;

}  // namespace Velmora::Cli
