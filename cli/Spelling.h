// How velmora-run spells values in its outputs, whatever the output; a
// double's shortest text is the core's (NumberText.h).
#pragma once

#include <string>
#include <vector>

#include "CommandLine.h"
#include "CsvSchema.h"
#include "JoinedText.h"
#include "NumberText.h"
#include "RunSummaries.h"

namespace Velmora::Cli {

// C's %a: the exact bits as a hexadecimal float ("0x1.999999999999ap-4").
std::string hexFloat(double value);
std::string jsonString(const std::string& text);
// snprintf of one double.
std::string printed(const char* format, double value);
using Lab::csvField;
using Lab::joined;
// A method's parameter; "-" for scanning, which has none.
std::string paramText(MethodId method, double param);

// A figure over a stochastic method's seeds: the mean with the lowest and the
// highest, "28.3 (26.0–31.0)"; "-" when no seed has one.
std::string spreadText(const std::optional<Lab::Spread>& spread);
// The sentence under a summary that has such figures: "A stochastic method's <spread> are means over its seeds,
// the lowest and highest in brackets; its <pooled> over the runs of every seed."
std::string overSeedsNote(const std::string& spread, const std::string& pooled);

// A summary's line for a method some of whose runs placed a trial outside
// their interval: "piyavsky: left the interval: 3 runs".
std::string leftIntervalLine(MethodId method, std::size_t runs);

}  // namespace Velmora::Cli
