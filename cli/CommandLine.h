// The arguments of velmora-run: one search, a test set, a test class, the
// formulas of a test class, or help.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "ClassRun.h"
#include "FunctionSource.h"
#include "MethodCatalogue.h"
#include "OptionValues.h"
#include "RunPlan.h"
#include "Search.h"
#include "TestSet.h"

namespace Velmora::Cli {

using Lab::MethodId;
using Lab::StopKind;

struct SearchOptions {
  std::string formula;
  Lab::SearchRequest request;  ///< all but its objective, which the formula gives
  std::array<double, 9> params{};  ///< x[1]..x[9]
  bool trials = false;
  Format format = Format::Text;
  std::optional<std::string> plotFile;
  std::optional<std::string> stepsFile;  ///< --steps-out: one csv row per step
  std::vector<std::string> warnings;     ///< options given that do nothing here, one line each
};

// What runs over many problems share, a test set's and a test class's: the
// plan, and how its rows are shown.
struct BatchOptions {
  Lab::RunPlan plan;  ///< --methods, --param-<id> as given, --seed, --seeds
  Format format = Format::Text;
  std::optional<std::string> operationalFile;  ///< --operational: the picture of the share solved within k trials
  bool logK = false;
  std::optional<unsigned> jobs;  ///< empty: as many as the machine has cores
  std::vector<std::string> warnings;  ///< options given that do nothing here, one line each
};

struct SuiteOptions : BatchOptions {
  std::string file;
  Lab::TestSetProtocol protocol;  ///< --eps-rel, --steps
};

struct ClassOptions : BatchOptions {
  Lab::ClassRange range;
  Lab::ClassRule rule;
  bool header = true;            ///< --no-header leaves the csv header out, for every shard but the first
};

// --from-csv: the summary and picture of class runs or of a test set's runs
// from their csv rows, without running them again. The range or the
// problems, and the methods, come from the rows; the rule, which the csv
// does not hold, from the options of the kind the rows are.
struct CsvSummaryOptions : BatchOptions {
  std::vector<std::string> files;
  std::optional<int> maxTrials;   ///< a class's
  std::optional<double> delta;    ///< a class's
  std::optional<double> epsRel;   ///< a test set's
  std::optional<int> steps;       ///< a test set's
};

// --print-formula: the formula of each function of the range.
struct FormulaListing {
  Lab::ClassRange range;
};

struct HelpRequest {};

using Command = std::variant<HelpRequest, SearchOptions, SuiteOptions, ClassOptions, FormulaListing, CsvSummaryOptions>;

// args excludes the program name. Throws UsageError.
Command parseCommandLine(const std::vector<std::string>& args);

std::string_view methodName(MethodId method);

}  // namespace Velmora::Cli
