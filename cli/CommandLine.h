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
#include "MethodCatalogue.h"
#include "OptionValues.h"
#include "Search.h"
#include "TestClass.h"

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
};

// What runs over many problems share, a test set's and a test class's.
struct BatchOptions {
  std::vector<MethodId> methods{MethodId::Scan, MethodId::Piyavsky, MethodId::Strongin};
  std::map<MethodId, double> params;  ///< --param-<id>, as given
  Format format = Format::Text;
  std::optional<std::string> operationalFile;  ///< --operational: the picture of the share solved within k trials
  bool logK = false;
  std::optional<unsigned> jobs;  ///< empty: as many as the machine has cores
  std::uint64_t seed = 0;        ///< --seed: the one seed of each stochastic method's run
  // --seeds N: each stochastic method runs with seeds 0 .. N - 1, the others once.
  std::optional<int> seeds;

  // The seeds a method runs with: one for a deterministic method (its seed
  // then means nothing), seed or 0 .. seeds - 1 for a stochastic one.
  std::vector<std::uint64_t> seedsFor(MethodId method) const;
  // Whether a method of the run is stochastic, so that the csv has a seed column.
  bool anyStochastic() const;

  // The parameter a method runs with on a problem whose own Lipschitz
  // estimate is problemL: the one given, else the catalogue's for runs over
  // many problems.
  double paramFor(MethodId method, double problemL) const;
};

struct SuiteOptions : BatchOptions {
  std::string file;
  double epsRel = 1e-4;
  std::optional<int> steps;  ///< a fixed step count instead of the interval rule
};

struct ClassOptions : BatchOptions {
  ClassRange range;
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
  ClassRange range;
};

struct HelpRequest {};

using Command = std::variant<HelpRequest, SearchOptions, SuiteOptions, ClassOptions, FormulaListing, CsvSummaryOptions>;

// args excludes the program name. Throws UsageError.
Command parseCommandLine(const std::vector<std::string>& args);

std::string_view methodName(MethodId method);

}  // namespace Velmora::Cli
