// The picture of --operational: the share of problems each method solved
// within k trials, one curve per method, rendered into a PNG without a display.
#pragma once

#include <optional>
#include <string>

#include "PlotRequest.h"

namespace Velmora::Cli {

inline constexpr int OperationalWidth = 760;
inline constexpr int OperationalHeight = 480;

// Returns the user's text of a failure, or nothing when the file was written.
std::optional<std::string> writeOperationalPng(const OperationalRequest& request);

}  // namespace Velmora::Cli
