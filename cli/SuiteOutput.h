// The written forms of a test set's runs: a Markdown table or csv, with the
// means of each method.
#pragma once

#include <iosfwd>
#include <vector>

#include "CommandLine.h"
#include "TestSet.h"

namespace Velmora::Cli {

void writeSuite(std::ostream& out, const SuiteOptions& options, const std::vector<Lab::TestSetRow>& rows);

}  // namespace Velmora::Cli
