#include "TestSet.h"

#include <cmath>
#include <fstream>
#include <map>

#include "Fields.h"
#include "ParallelRuns.h"
#include "ReadNumber.h"
#include "SyntaxErrorText.h"

namespace Velmora::Lab {

HitRule testSetHit(const Problem& problem, const TestSetProtocol& protocol) {
  return {problem.minimisers, protocol.epsRel * (problem.b - problem.a)};
}

TestSetRow runProblem(const Problem& problem, FormulaFunction& func, std::optional<MethodId> method, double param,
                      std::uint64_t seed, const TestSetProtocol& protocol, const EngineMaker& make) {
  const HitRule hit = testSetHit(problem, protocol);
  TestSetRow row;
  row.id = problem.id;
  if (method) {
    row.method = *method;
    if (methodInfo(*method).stochastic) row.seed = seed;
  }
  row.eps = hit.reach;

  SearchRequest request;
  // The compiled formula is shared by the methods of one problem, which run one after another.
  request.objective = [&func](double x) { return func(x); };
  request.slopeObjective = [&func](double x) { return func.withSlope(x); };
  request.xmin = problem.a;
  request.xmax = problem.b;
  request.method = method;
  row.param = param;
  if (method) request.param = param;
  request.seed = seed;
  if (protocol.steps) {
    request.stop = StopKind::Steps;
    request.steps = *protocol.steps;
  } else {
    request.stop = StopKind::IntervalLength;
    request.eps = row.eps;
  }
  const SearchOutcome outcome = make ? runSearch(*make(request.objective), request) : runSearch(request);
  row.stop = outcome.stop;
  row.fault = outcome.fault;
  row.seconds = outcome.seconds;
  row.trials = outcome.trials.size();
  row.reports = outcome.reports;
  row.leftInterval = outcome.trialsOutside > 0;
  row.firstHit = firstHit(outcome.trials, hit);
  if (!row.fault) {
    row.error = hit.distance(outcome.bestX);
    row.success = row.error <= row.eps;
  }
  return row;
}

namespace {

using Columns = std::map<std::string, std::size_t>;

// A fault of the file at one line.
class FileLine {
 public:
  FileLine(const std::string& fileName, int line) : fileName_(fileName), line_(line) {}
  int line() const { return line_; }
  FileError fail(const std::string& message) const {
    return FileError(fileName_ + ":" + std::to_string(line_) + ": " + message);
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
      return readNumber(text, what);
    } catch (const BadValue& error) {
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
  // The protocol's tolerance and every method measure b - a.
  if (!std::isfinite(problem.b - problem.a)) throw at.fail("b - a must be a finite number");
  problem.lipschitz = number(cell("L"), "L");
  if (!(problem.lipschitz > 0)) throw at.fail("L must be greater than 0");
  const std::string xstar = cell("xstar");
  for (std::string_view minimiser : splitFields(xstar, ';')) problem.minimisers.push_back(number(minimiser, "xstar"));
  problem.fstar = optionalNumber("fstar");
  problem.storedXstar = optionalNumber("stored_xstar");
  problem.storedFstar = optionalNumber("stored_fstar");
  problem.storedLipschitz = optionalNumber("stored_L");
  try {
    FormulaFunction compiled(problem.formula);
  } catch (const Math_Parser::TError& error) {
    throw at.fail("formula syntax error in problem " + problem.id + ":\n" + describeSyntaxError(problem.formula, error));
  }
  return problem;
}

}  // namespace

std::vector<Problem> readProblems(std::istream& in, const std::string& fileName) {
  std::optional<Columns> column;
  std::vector<Problem> problems;
  eachTextLine(in, fileName, [&](const std::string& line, int lineNumber) {
    if (line.find_first_not_of(" \t") == std::string::npos || line[0] == '#') return true;
    const std::vector<std::string_view> cells = splitFields(line, '\t');
    const FileLine at(fileName, lineNumber);
    if (!column)
      column = headerColumns(cells, at);
    else
      problems.push_back(problemOf(cells, *column, at, problems));
    return true;
  });
  if (!column) throw FileError(fileName + ": the file holds no header line");
  if (problems.empty()) throw FileError(fileName + ": the file holds no problems");
  return problems;
}

std::vector<Problem> readProblemsFile(const std::string& fileName) {
  std::ifstream in = openDataFile(fileName);
  return readProblems(in, fileName);
}

std::vector<TestSetRow> runTestSet(const std::vector<Problem>& problems, const RunPlan& plan,
                                   const TestSetProtocol& protocol, unsigned jobs, const RunProgress& progress) {
  const std::size_t runs = plan.runsPerProblem();
  std::vector<TestSetRow> rows(problems.size() * runs);
  const auto runOn = [&](std::size_t p) {
    const Problem& problem = problems[p];
    FormulaFunction func(problem.formula);
    std::size_t next = p * runs;
    for (MethodId method : plan.methods)
      for (std::uint64_t seed : plan.seedsFor(method))
        rows[next++] = runProblem(problem, func, method, plan.paramFor(method, problem.lipschitz), seed, protocol);
    for (std::size_t own = 0; own < plan.ownMethods.size(); ++own) {
      TestSetRow& row = rows[next++];
      row = runProblem(problem, func, std::nullopt, 0, plan.seed, protocol, plan.ownMethods[own].make);
      row.own = own;
    }
  };
  std::function<void(std::size_t)> report;
  if (progress) report = [&](std::size_t done) { progress(done * runs, rows.size()); };
  runInParallel(problems.size(), jobs, runOn, report);
  return rows;
}

}  // namespace Velmora::Lab
