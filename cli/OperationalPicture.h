// What --operational draws, from the first hits of each method's runs.
#pragma once

#include <optional>
#include <span>
#include <string>

#include "CommandLine.h"
#include "PlotRequest.h"

namespace Velmora::Cli {

// How the legend and the summaries name Piyavsky's L when each problem brings its own.
inline constexpr const char* LipschitzOfTheFile = "L of the file";
std::string lipschitzOfTheFunction();  ///< "1.1·L of the function"

// The method and its parameter, as the legend names a curve ("strongin, r = 2").
std::string curveName(const BatchOptions& options, MethodId method, const std::string& problemLipschitz);

// The share of the runs solved within k trials, k = 1 .. lastK.
OperationalCurve operationalCurve(std::string name, std::span<const std::optional<int>> firstHits, int lastK);
// A stochastic method's zone over its seeds' runs, the mean as its share.
OperationalCurve operationalZoneCurve(std::string name, std::span<const std::vector<std::optional<int>>> firstHitsBySeed,
                                      int lastK);

}  // namespace Velmora::Cli
