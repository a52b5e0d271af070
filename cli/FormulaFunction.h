// A compiled formula as the objective of a search, counting the distinct points
// it is evaluated at, and the collector of the mathematical library's reports.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "Math_Parser.h"

namespace Velmora::Cli {

class FormulaFunction {
 public:
  // Throws Math_Parser::TError for a syntax error.
  explicit FormulaFunction(const std::string& text, const std::array<double, 9>& params = {});

  // F(x) with x stored as x[0]; faults of the evaluation pass to the caller.
  double operator()(double x);

  std::size_t evaluations() const { return seen_.size(); }
  // The distinct points in the order of their first evaluation; the methods
  // evaluate each new trial before any later one, so this is the order in
  // which trials were placed.
  const std::vector<double>& firstEvaluated() const { return order_; }
  void resetCount();

 private:
  std::unique_ptr<Math_Parser::TParser> parser_;
  std::array<double, 10> values_{};
  std::unordered_set<std::uint64_t> seen_;
  std::vector<double> order_;
};

// Installs itself as the formula engine's report handler for its lifetime and
// keeps each distinct report once, in the order of first appearance.
class MathReports {
 public:
  MathReports();
  ~MathReports();
  MathReports(const MathReports&) = delete;
  MathReports& operator=(const MathReports&) = delete;

  const std::vector<std::string>& distinct() const { return reports_; }
  void clear() { reports_.clear(); }

 private:
  std::vector<std::string> reports_;
};

// The formula with a caret under the error's position, then the parser's message.
std::string describeSyntaxError(const std::string& formula, const Math_Parser::TError& error);

}  // namespace Velmora::Cli
