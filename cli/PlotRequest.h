// What the picture of --plot shows. Plain data: it crosses into the module
// that draws it.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace Velmora::Cli {

struct PlotPoint {
  double x;
  double f;
};

struct PlotRequest {
  std::string file;
  double xmin = 0;
  double xmax = 0;
  std::vector<double> curveX;  ///< the chart's samples; a sample whose evaluation faulted holds NaN in curveY
  std::vector<double> curveY;
  std::vector<PlotPoint> trials;
};

// Writes the PNG; returns the user's text of a failure.
using PlotWriter = std::function<std::optional<std::string>(const PlotRequest&)>;

}  // namespace Velmora::Cli
