// What --operational draws, from the first hits of each method's runs.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>
#include <string>

#include "CommandLine.h"
#include "PlotRequest.h"

namespace Velmora::Cli {

// How the legend and the summaries name Piyavsky's L when each problem brings its own.
inline constexpr const char* LipschitzOfTheFile = "L of the file";
std::string lipschitzOfTheFunction();  ///< "1.1·L of the function"

// The method and its parameter, as the legend names a curve ("strongin, r = 2").
std::string curveName(const BatchOptions& options, MethodId method, const std::string& problemLipschitz);

// The first hits of a method's runs with one seed, or with every seed when none is given.
using FirstHitsOfSeed = std::function<std::vector<std::optional<int>>(std::optional<std::uint64_t> seed)>;

// The share of a method's runs solved within k trials, k = 1 .. lastK; a
// stochastic method that ran with several seeds as its zone over them, the
// mean as its share.
OperationalCurve methodCurve(const BatchOptions& options, MethodId method, std::string name,
                             const FirstHitsOfSeed& firstHits, int lastK);

}  // namespace Velmora::Cli
