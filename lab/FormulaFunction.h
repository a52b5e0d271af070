// A compiled formula as the objective of a search: the formula engine's value
// of the text at x, as the window computes it.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "Math_Parser.h"

namespace Velmora::Lab {

class FormulaFunction {
 public:
  // Throws Math_Parser::TError for a syntax error.
  explicit FormulaFunction(const std::string& text, const std::array<double, 9>& params = {});

  // F(x) with x stored as x[0]; faults of the evaluation pass to the caller.
  double operator()(double x);

 private:
  std::unique_ptr<Math_Parser::TParser> parser_;
  std::array<double, 10> values_{};
};

}  // namespace Velmora::Lab
