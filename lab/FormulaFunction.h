// A compiled formula as the objective of a search: the formula engine's value
// of the text at x, as the window computes it.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "Math_Parser.h"
#include "SearchEngine.h"

namespace Velmora::Lab {

class FormulaFunction {
 public:
  // Throws Math_Parser::TError for a syntax error.
  explicit FormulaFunction(const std::string& text, const std::array<double, 9>& params = {});

  // F(x) with x stored as x[0]; faults of the evaluation pass to the caller.
  double operator()(double x);
  // The same value with its slope by x[0] (NaN where the formula has no finite derivative).
  VELMORAALG::TValueSlope withSlope(double x);

 private:
  std::unique_ptr<Math_Parser::TParser> parser_;
  std::array<double, 10> values_{};
};

}  // namespace Velmora::Lab
