// The picture of --plot: the window's chart, rendered into a PNG without a display.
#pragma once

#include <optional>
#include <string>

#include "PlotRequest.h"

namespace Velmora::Cli {

inline constexpr int PlotWidth = 800;
inline constexpr int PlotHeight = 600;

// Returns the user's text of a failure, or nothing when the file was written.
std::optional<std::string> writePlotPng(const PlotRequest& request);

}  // namespace Velmora::Cli
