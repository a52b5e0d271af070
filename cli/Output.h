// The written forms of a search result (text, csv, json) and of its steps.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "Search.h"
#include "Spelling.h"

namespace Velmora::Cli {

void writeSearch(std::ostream& out, const SearchOptions& options, const Lab::SearchOutcome& result);
// The header step,interval,left,right,charact,constant,x,f,precision and one
// row per step; every number reads back as the same double.
void writeStepRecords(std::ostream& out, const std::vector<VELMORAALG::TStepRecord>& records);

}  // namespace Velmora::Cli
