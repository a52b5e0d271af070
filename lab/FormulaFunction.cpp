#include "FormulaFunction.h"

#include <algorithm>

namespace Velmora::Lab {

FormulaFunction::FormulaFunction(const std::string& text, const std::array<double, 9>& params)
    : parser_(std::make_unique<Math_Parser::TParser>()) {
  std::copy(params.begin(), params.end(), values_.begin() + 1);
  parser_->Values = values_.data();
  parser_->Parse(text.c_str());
}

double FormulaFunction::operator()(double x) {
  values_[0] = x;
  parser_->Values = values_.data();
  return parser_->Evaluate();
}

VELMORAALG::TValueSlope FormulaFunction::withSlope(double x) {
  values_[0] = x;
  parser_->Values = values_.data();
  const Math_Parser::TValueAndSlope both = parser_->ValueAndSlope();
  return {both.Value, both.Slope};
}

}  // namespace Velmora::Lab
