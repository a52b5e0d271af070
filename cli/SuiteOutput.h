// The written forms of a test set's runs: a Markdown table or csv, with the
// means of each method.
#pragma once

#include <iosfwd>
#include <vector>

#include "CommandLine.h"
#include "TestSuite.h"

namespace Velmora::Cli {

// The number of problems the runs were on.
std::size_t problemsOf(const std::vector<SuiteRow>& rows);

void writeSuite(std::ostream& out, const SuiteOptions& options, const std::vector<SuiteRow>& rows);

}  // namespace Velmora::Cli
