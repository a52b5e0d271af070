// The written forms of a search result (text, csv, json) and of a test-set table
// (Markdown, csv).
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "Search.h"
#include "TestSuite.h"

namespace Velmora::Cli {

// C's %a: the exact bits as a hexadecimal float ("0x1.999999999999ap-4").
std::string hexFloat(double value);
std::string jsonString(const std::string& text);

void writeSearch(std::ostream& out, const SearchOptions& options, const Lab::SearchOutcome& result);
void writeSuite(std::ostream& out, const SuiteOptions& options, const std::vector<SuiteRow>& rows);

}  // namespace Velmora::Cli
