// inf-gl with r = 2 under the literature's protocol (stop when the chosen
// interval is no longer than 1e-4 (b - a)) is Strongin's method as the
// univariate literature runs it: its counts of trials on the first thirteen
// problems of data/hansen20.tsv are the published ones, but for problem 6.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "Math_Parser.h"
#include "Search.h"

using namespace Velmora::Lab;

namespace {

struct Problem {
  std::string formula;
  double a = 0, b = 0;
};

// The set's rows by id; the columns are found by the header's names.
std::map<std::string, Problem> readHansen() {
  std::ifstream in(std::string(VELMORA_DATA_DIR) + "/hansen20.tsv");
  std::map<std::string, Problem> problems;
  std::map<std::string, std::size_t> column;
  std::string line;
  while (std::getline(in, line)) {
    std::vector<std::string> cells;
    std::istringstream row(line);
    for (std::string cell; std::getline(row, cell, '\t');) cells.push_back(cell);
    if (column.empty()) {
      for (std::size_t i = 0; i < cells.size(); ++i) column[cells[i]] = i;
      continue;
    }
    problems[cells[column.at("id")]] = {cells[column.at("formula")], std::stod(cells[column.at("a")]),
                                        std::stod(cells[column.at("b")])};
  }
  return problems;
}

int trialsOfInfGl(const Problem& problem) {
  Math_Parser::TParser parser;
  double vars[10] = {};
  parser.Values = vars;
  parser.Parse(problem.formula.c_str());
  SearchRequest request;
  request.objective = [&](double x) {
    vars[0] = x;
    return parser.Evaluate();
  };
  request.xmin = problem.a;
  request.xmax = problem.b;
  request.method = MethodId::InfGl;
  request.param = 2;
  request.stop = StopKind::IntervalLength;
  request.eps = 1e-4 * (problem.b - problem.a);
  const SearchOutcome outcome = runSearch(request);
  EXPECT_EQ(outcome.stop, StopReason::IntervalRuleMet);
  return static_cast<int>(outcome.trials.size());
}

// Problem 6, -(x + sin x) exp(-x^2) on [-10, 10], is about 1e-43 at both
// ends, so H stays below xi for the first steps and the estimate is r * xi;
// the first choices are exact ties (the leftmost and the rightmost rule both
// give 101). A run that takes 1 as the estimate while H <= xi, as Strongin's
// m = 1 for a zero slope does, gives the published 112 and the other twelve
// unchanged; the rules here keep r * max(H, xi).
TEST(PublishedCounts, infGlMatchesTheLiteratureOnHansenOneToThirteen) {
  const std::map<std::string, Problem> problems = readHansen();
  ASSERT_EQ(problems.size(), 20u);
  const int published[] = {127, 135, 224, 379, 126, 112, 115, 188, 125, 157, 405, 271, 472};
  for (int id = 1; id <= 13; ++id) {
    SCOPED_TRACE("problem " + std::to_string(id));
    const int expected = id == 6 ? 101 : published[id - 1];
    EXPECT_EQ(trialsOfInfGl(problems.at(std::to_string(id))), expected);
  }
}

}  // namespace
