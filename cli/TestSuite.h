// A set of test problems from a tab-separated file, and the runs of every method
// on every problem under the protocol of the univariate literature.
#pragma once

#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "CommandLine.h"

namespace Velmora::Cli {

struct Problem {
  std::string id;
  std::string formula;
  double a = 0;
  double b = 0;
  double lipschitz = 0;
  std::vector<double> minimisers;
  int line = 0;  ///< in the file, for messages
};

// A file that cannot be used; what() names the file and line.
class SuiteFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Columns are found by their header names (id, formula, a, b, L, xstar; others
// are ignored). Formulas are compiled here, so syntax errors surface before any
// run. Throws SuiteFileError.
std::vector<Problem> readProblems(std::istream& in, const std::string& fileName);
std::vector<Problem> readProblemsFile(const std::string& fileName);

struct SuiteRow {
  std::string id;
  MethodId method = MethodId::Scan;
  double param = 0;  ///< L or r; 0 for scanning
  double eps = 0;
  std::size_t trials = 0;
  bool success = false;
  std::optional<std::size_t> firstHit;  ///< trial number, the two ends being 1 and 2
  double error = 0;                     ///< |BestX - x*| to the nearest minimiser
  double seconds = 0;
  Lab::StopReason stop = Lab::StopReason::IntervalRuleMet;
  std::optional<std::string> fault;
  std::vector<std::string> reports;
};

// Called before each run with its 1-based number and the total.
using SuiteProgress = std::function<void(std::size_t run, std::size_t runs, const Problem&, MethodId)>;

std::vector<SuiteRow> runSuite(const std::vector<Problem>& problems, const SuiteOptions& options,
                               const SuiteProgress& progress = {});

}  // namespace Velmora::Cli
