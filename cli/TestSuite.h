// A set of test problems from a tab-separated file, and the runs of every method
// on every problem under the protocol of the univariate literature.
#pragma once

#include <cstdint>
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
  std::optional<double> fstar;  ///< the fstar column, when the file has one
  // The published values beside the computed ones, in files that carry them
  // (stored_xstar, stored_fstar, stored_L).
  std::optional<double> storedXstar, storedFstar, storedLipschitz;
  int line = 0;  ///< in the file, for messages
};

// A file that cannot be used; what() names the file and line.
class SuiteFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Columns are found by their header names (id, formula, a, b, L, xstar; fstar
// and the stored_ columns when present; others are ignored). Formulas are compiled here, so syntax errors surface before any
// run. Throws SuiteFileError.
std::vector<Problem> readProblems(std::istream& in, const std::string& fileName);
std::vector<Problem> readProblemsFile(const std::string& fileName);

struct SuiteRow {
  std::string id;
  MethodId method = MethodId::Scan;
  double param = 0;  ///< L or r; 0 for scanning
  std::optional<std::uint64_t> seed;  ///< a stochastic method's only
  double eps = 0;
  std::size_t trials = 0;
  bool success = false;
  std::optional<std::size_t> firstHit;  ///< trial number, the two ends being 1 and 2
  double error = 0;                     ///< |BestX - x*| to the nearest minimiser
  double seconds = 0;
  // Why the run stopped; unknown for a run read from a csv written before that column.
  std::optional<Lab::StopReason> stop;
  std::optional<std::string> fault;
  std::vector<std::string> reports;
  bool leftInterval = false;  ///< whether a trial lay outside [a, b]
};

// Called now and then with the runs done so far and all of them.
using SuiteProgress = std::function<void(std::size_t done, std::size_t runs)>;

// The rows problem by problem, and for each problem method by method in the
// order of options.methods, whatever the number of threads.
std::vector<SuiteRow> runSuite(const std::vector<Problem>& problems, const SuiteOptions& options, unsigned jobs = 1,
                               const SuiteProgress& progress = {});

}  // namespace Velmora::Cli
