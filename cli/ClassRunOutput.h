// The written forms of a class run: one row per run as csv or as a Markdown
// table, and the summary of each method.
#pragma once

#include <iosfwd>
#include <vector>

#include "ClassRuns.h"
#include "CommandLine.h"

namespace Velmora::Cli {

// csv: the header (unless options.header is false) and the rows, nothing
// else, so that the outputs of consecutive ranges concatenate into the output
// of the whole. Text: the rule, the table of runs and the summary.
void writeClassRuns(std::ostream& out, const ClassOptions& options, const std::vector<Lab::ClassRunRow>& rows);
// The rule and, per method, the runs solved within the budget and the mean
// and median first hit of those.
void writeClassSummary(std::ostream& out, const ClassOptions& options, const std::vector<Lab::ClassRunRow>& rows);

// The parameter of a method as the summary and the legend give it: the one
// given, r = 2, or Piyavsky's L from each function.
std::string classParamText(const ClassOptions& options, MethodId method);

}  // namespace Velmora::Cli
