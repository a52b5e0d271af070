// A test set of problems from a tab-separated file, and the runs of every
// method on every problem under the protocol of the univariate literature.
#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "FirstHit.h"
#include "FormulaFunction.h"
#include "RunPlan.h"
#include "Search.h"
#include "TextLines.h"

namespace Velmora::Lab {

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

// Columns are found by their header names (id, formula, a, b, L, xstar; fstar
// and the stored_ columns when present; others are ignored). Formulas are
// compiled here, so syntax errors surface before any run. Throws FileError.
std::vector<Problem> readProblems(std::istream& in, const std::string& fileName);
std::vector<Problem> readProblemsFile(const std::string& fileName);

// The literature's protocol: a run stops when the interval it would split is
// no longer than eps = epsRel (b - a), or after a fixed number of steps; it
// succeeds when its best point lies within eps of a global minimiser.
struct TestSetProtocol {
  double epsRel = 1e-4;
  std::optional<int> steps;  ///< a fixed step count instead of the interval rule
};

// A trial within eps of any of the problem's global minimisers.
HitRule testSetHit(const Problem& problem, const TestSetProtocol& protocol);

struct TestSetRow {
  std::string id;
  MethodId method = MethodId::Scan;
  std::optional<std::size_t> own;  ///< which of the plan's own methods ran, when one did
  double param = 0;                ///< L or r; 0 for scanning and for an own method
  std::optional<std::uint64_t> seed;  ///< a stochastic method's only
  double eps = 0;
  std::size_t trials = 0;
  bool success = false;
  std::optional<std::size_t> firstHit;  ///< trial number, the two ends being 1 and 2
  double error = 0;                     ///< |BestX - x*| to the nearest minimiser
  double seconds = 0;
  // Why the run stopped; unknown for a run read from a csv written before that column.
  std::optional<StopReason> stop;
  std::optional<std::string> fault;
  std::vector<std::string> reports;
  bool leftInterval = false;  ///< whether a trial lay outside [a, b]
};

// One run under the protocol: the catalogue's method with param, or, with no
// method, the engine that make makes. func is problem's formula, compiled.
TestSetRow runProblem(const Problem& problem, FormulaFunction& func, std::optional<MethodId> method, double param,
                      std::uint64_t seed, const TestSetProtocol& protocol, const EngineMaker& make = {});

// Called now and then with the runs done so far and all of them.
using RunProgress = std::function<void(std::size_t done, std::size_t runs)>;

// The rows problem by problem, and for each problem method by method in the
// order of the plan (a stochastic one seed by seed, the own methods last),
// whatever the number of threads.
std::vector<TestSetRow> runTestSet(const std::vector<Problem>& problems, const RunPlan& plan,
                                   const TestSetProtocol& protocol, unsigned jobs = 1,
                                   const RunProgress& progress = {});

}  // namespace Velmora::Lab
