// A compiled formula as the objective of a search.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "Math_Parser.h"

namespace Velmora::Cli {

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

// The formula with a caret under the error's position, then the parser's message.
std::string describeSyntaxError(const std::string& formula, const Math_Parser::TError& error);

}  // namespace Velmora::Cli
