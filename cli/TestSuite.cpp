#include "TestSuite.h"

#include <cmath>
#include <fstream>
#include <map>

#include "Fields.h"
#include "FormulaFunction.h"
#include "ParallelRuns.h"
#include "SyntaxErrorText.h"

namespace Velmora::Cli {

namespace {

SuiteRow runOne(const Problem& problem, Lab::FormulaFunction& func, MethodId method, std::uint64_t seed,
               const SuiteOptions& options) {
  SuiteRow row;
  row.id = problem.id;
  row.method = method;
  if (Lab::methodInfo(method).stochastic) row.seed = seed;
  row.eps = options.epsRel * (problem.b - problem.a);

  Lab::SearchRequest request;
  // The compiled formula is shared by the methods of one problem, which run one after another.
  request.objective = [&func](double x) { return func(x); };
  request.xmin = problem.a;
  request.xmax = problem.b;
  request.method = method;
  row.param = options.paramFor(method, problem.lipschitz);
  request.param = row.param;
  request.seed = seed;
  if (options.steps) {
    request.stop = Lab::StopKind::Steps;
    request.steps = *options.steps;
  } else {
    request.stop = Lab::StopKind::IntervalLength;
    request.eps = row.eps;
  }
  const Lab::SearchOutcome outcome = Lab::runSearch(request);
  row.stop = outcome.stop;
  row.fault = outcome.fault;
  row.seconds = outcome.seconds;
  row.trials = outcome.trials.size();
  row.reports = outcome.reports;
  row.leftInterval = outcome.trialsOutside > 0;

  const auto distance = [&](double x) {
    double nearest = INFINITY;
    for (double minimiser : problem.minimisers) nearest = std::fmin(nearest, std::fabs(x - minimiser));
    return nearest;
  };
  const std::vector<double> placed = Lab::placementOrder(outcome.trials);
  for (std::size_t i = 0; i < placed.size(); ++i) {
    if (distance(placed[i]) <= row.eps) {
      row.firstHit = i + 1;
      break;
    }
  }
  if (!row.fault) {
    row.error = distance(outcome.bestX);
    row.success = row.error <= row.eps;
  }
  return row;
}

}  // namespace

namespace {

using Columns = std::map<std::string, std::size_t>;

// A fault of the file at one line.
class FileLine {
 public:
  FileLine(const std::string& fileName, int line) : fileName_(fileName), line_(line) {}
  int line() const { return line_; }
  SuiteFileError fail(const std::string& message) const {
    return SuiteFileError(fileName_ + ":" + std::to_string(line_) + ": " + message);
  }

 private:
  const std::string& fileName_;
  int line_;
};

Columns headerColumns(const std::vector<std::string_view>& cells, const FileLine& at) {
  Columns column;
  for (std::size_t i = 0; i < cells.size(); ++i) column.emplace(std::string(cells[i]), i);
  for (const char* name : {"id", "formula", "a", "b", "L", "xstar"})
    if (!column.count(name))
      throw at.fail(std::string("the header has no column \"") + name + "\" (columns are separated by tabs)");
  return column;
}

// One row's problem after the earlier rows'; its formula is compiled here,
// so that a syntax error surfaces before any run.
Problem problemOf(const std::vector<std::string_view>& cells, const Columns& column, const FileLine& at,
                  const std::vector<Problem>& earlier) {
  const auto cell = [&](const char* name) {
    const std::size_t i = column.at(name);
    if (i >= cells.size()) throw at.fail(std::string("the row has no value in column \"") + name + "\"");
    return std::string(cells[i]);
  };
  const auto number = [&](std::string_view text, const std::string& what) {
    try {
      return parseNumber(text, what);
    } catch (const UsageError& error) {
      throw at.fail(error.what());
    }
  };
  const auto optionalNumber = [&](const char* name) -> std::optional<double> {
    if (!column.count(name)) return std::nullopt;
    return number(cell(name), name);
  };
  Problem problem;
  problem.line = at.line();
  problem.id = cell("id");
  if (problem.id.empty()) throw at.fail("the id is empty");
  for (const Problem& other : earlier)
    if (other.id == problem.id) throw at.fail("problem " + problem.id + " appears twice");
  problem.formula = cell("formula");
  problem.a = number(cell("a"), "a");
  problem.b = number(cell("b"), "b");
  if (!(problem.a < problem.b)) throw at.fail("a must be less than b");
  problem.lipschitz = number(cell("L"), "L");
  if (!(problem.lipschitz > 0)) throw at.fail("L must be greater than 0");
  const std::string xstar = cell("xstar");
  for (std::string_view minimiser : splitFields(xstar, ';')) problem.minimisers.push_back(number(minimiser, "xstar"));
  problem.fstar = optionalNumber("fstar");
  problem.storedXstar = optionalNumber("stored_xstar");
  problem.storedFstar = optionalNumber("stored_fstar");
  problem.storedLipschitz = optionalNumber("stored_L");
  try {
    Lab::FormulaFunction compiled(problem.formula);
  } catch (const Math_Parser::TError& error) {
    throw at.fail("formula syntax error in problem " + problem.id + ":\n" + describeSyntaxError(problem.formula, error));
  }
  return problem;
}

}  // namespace

std::vector<Problem> readProblems(std::istream& in, const std::string& fileName) {
  std::optional<Columns> column;
  std::vector<Problem> problems;
  std::string line;
  for (int lineNumber = 1; std::getline(in, line); ++lineNumber) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.find_first_not_of(" \t") == std::string::npos || line[0] == '#') continue;
    const std::vector<std::string_view> cells = splitFields(line, '\t');
    const FileLine at(fileName, lineNumber);
    if (!column) {
      column = headerColumns(cells, at);
      continue;
    }
    problems.push_back(problemOf(cells, *column, at, problems));
  }
  if (!column) throw SuiteFileError(fileName + ": the file holds no header line");
  if (problems.empty()) throw SuiteFileError(fileName + ": the file holds no problems");
  return problems;
}

std::vector<Problem> readProblemsFile(const std::string& fileName) {
  std::ifstream in(fileName);
  if (!in) throw SuiteFileError(fileName + ": cannot open the file");
  return readProblems(in, fileName);
}

std::vector<SuiteRow> runSuite(const std::vector<Problem>& problems, const SuiteOptions& options, unsigned jobs,
                               const SuiteProgress& progress) {
  std::size_t methods = 0;
  for (MethodId method : options.methods) methods += options.seedsFor(method).size();
  std::vector<SuiteRow> rows(problems.size() * methods);
  const auto runProblem = [&](std::size_t p) {
    const Problem& problem = problems[p];
    Lab::FormulaFunction func(problem.formula);
    std::size_t next = p * methods;
    for (MethodId method : options.methods)
      for (std::uint64_t seed : options.seedsFor(method)) rows[next++] = runOne(problem, func, method, seed, options);
  };
  std::function<void(std::size_t)> report;
  if (progress) report = [&](std::size_t done) { progress(done * methods, rows.size()); };
  runInParallel(problems.size(), jobs, runProblem, report);
  return rows;
}

}  // namespace Velmora::Cli
