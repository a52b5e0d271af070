// A run's trials and steps as CSV for other programs: commas between fields,
// "." as the decimal point whatever the locale, every number the shortest text
// that reads back as the same double.
#pragma once

#include <iosfwd>
#include <string_view>
#include <vector>

#include "Search.h"

namespace Velmora::Lab {

// The header order,x,f and one row per trial in the order the trials were
// placed (the ends 1 and 2, step k's point k + 2).
void writeTrialsCsv(std::ostream& out, const std::vector<Trial>& trials);

// The header line as given (the nine fields of a step record in their order:
// step, interval, left, right, charact, constant, x, f, precision) and one row per step.
void writeStepsCsv(std::ostream& out, std::string_view header, const std::vector<VELMORAALG::TStepRecord>& records);

}  // namespace Velmora::Lab
