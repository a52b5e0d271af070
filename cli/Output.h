// The written forms of a search result: text, csv, json.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "Search.h"
#include "Spelling.h"

namespace Velmora::Cli {

void writeSearch(std::ostream& out, const SearchOptions& options, const Lab::SearchOutcome& result);

}  // namespace Velmora::Cli
