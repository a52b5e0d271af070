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

// The shortest text that reads back as the same double ("0.1", "1e-05", "inf", "nan").
std::string shortest(double value);
// C's %a: the exact bits as a hexadecimal float ("0x1.999999999999ap-4").
std::string hexFloat(double value);
std::string jsonString(const std::string& text);

void writeSearch(std::ostream& out, const SearchOptions& options, const Lab::SearchOutcome& result);
// The header step,interval,left,right,charact,constant,x,f,precision and one
// row per step; every number reads back as the same double.
void writeStepRecords(std::ostream& out, const std::vector<VELMORAALG::TStepRecord>& records);
void writeSuite(std::ostream& out, const SuiteOptions& options, const std::vector<SuiteRow>& rows);

}  // namespace Velmora::Cli
