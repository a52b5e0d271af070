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
#include "Search.h"
#include "TestClass.h"

namespace Velmora::Cli {

using Lab::MethodId;
using Lab::StopRule;

enum class Format { Text, Csv, Json };

struct SearchOptions {
  std::string formula;
  double xmin = 0;
  double xmax = 0;
  MethodId method = MethodId::Scan;
  std::optional<double> param;  ///< empty: the method's default
  StopRule stop = StopRule::Steps;
  int steps = 0;
  double eps = 0;
  std::array<double, 9> params{};  ///< x[1]..x[9]
  bool trials = false;
  Format format = Format::Text;
  std::optional<std::string> plotFile;
  std::optional<std::string> stepsFile;  ///< --steps-out: one csv row per step
  std::uint64_t seed = 0;                ///< --seed: a stochastic method's
};

// Every multiplier in runs over many problems, as the literature runs them.
inline constexpr double BatchMultiplier = 2;

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
  // estimate is problemL: the one given, else Piyavsky's problemL and r = 2
  // for a multiplier; 0 for scanning.
  double paramFor(MethodId method, double problemL) const;
};

struct SuiteOptions : BatchOptions {
  std::string file;
  double epsRel = 1e-4;
  std::optional<int> steps;  ///< a fixed step count instead of the interval rule
};

// The test sets that come with Velmora, as data/NAME.tsv; a class run takes
// their rows by position, from 0.
inline constexpr std::array<std::string_view, 3> ShippedTestSets{"hansen20", "hill1000", "shekel1000"};

// Functions first..last of a class or of a shipped test set, both included.
struct ClassRange {
  Lab::TestClassId cls = Lab::TestClassId::Hill;
  std::string set;  ///< a shipped test set's name; empty for a generated class
  std::uint64_t first = 0;
  std::uint64_t last = 0;
};

// "hill", "shekel1000".
std::string_view classKey(const ClassRange& range);

struct ClassOptions : BatchOptions {
  ClassRange range;
  Lab::ClassRule rule;
  bool header = true;            ///< --no-header leaves the csv header out, for every shard but the first
};

// --from-csv: the summary and picture of class runs from their csv rows,
// without running them again. The range and the methods come from the rows.
struct CsvSummaryOptions : ClassOptions {
  std::vector<std::string> files;
};

// --print-formula: the formula of each function of the range.
struct FormulaListing {
  ClassRange range;
};

struct HelpRequest {};

using Command = std::variant<HelpRequest, SearchOptions, SuiteOptions, ClassOptions, FormulaListing, CsvSummaryOptions>;

// A bad argument; what() is the user's text, without the program name.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// args excludes the program name. Throws UsageError.
Command parseCommandLine(const std::vector<std::string>& args);

// A whole token as a finite double with "." as the decimal point; what names the
// argument in the message. Throws UsageError.
double parseNumber(std::string_view text, std::string_view what);
int parseCount(std::string_view text, std::string_view what, int lo, int hi);

std::string_view methodName(MethodId method);
std::string usageText();

}  // namespace Velmora::Cli
