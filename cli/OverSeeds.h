// How a summary gives a stochastic method's figure when the method ran with
// several seeds: the spread over the seeds tells more than the pooled runs.
#pragma once

#include <string>
#include <vector>

namespace Velmora::Cli {

// The mean of each seed's value with the lowest and the highest, "28.3 (26.0–31.0)"; "-" when no seed has one.
std::string overSeedsText(const std::vector<double>& values);
// The sentence under a summary that has such figures: "A stochastic method's <spread> are means over its seeds,
// the lowest and highest in brackets; its <pooled> over the runs of every seed."
std::string overSeedsNote(const std::string& spread, const std::string& pooled);

}  // namespace Velmora::Cli
