// Shared helpers of the formula tests: evaluate a text in one call and
// record the library's reports.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "Math_Parser.h"

namespace formula_test {

// Records every report while alive; the handler is cleared afterwards so no
// test sees another's reports.
class ReportLog {
 public:
  ReportLog() {
    Math_Parser::SetMathErrorHandler([this](const std::string& text) { texts.push_back(text); });
  }
  ~ReportLog() { Math_Parser::SetMathErrorHandler({}); }
  ReportLog(const ReportLog&) = delete;
  ReportLog& operator=(const ReportLog&) = delete;

  std::vector<std::string> texts;
};

inline double evaluate(const std::string& text, double x0 = 0) {
  std::array<double, 10> vars{x0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
  Math_Parser::TParser parser;
  parser.Values = vars.data();
  parser.Parse(text.c_str());
  return parser.Evaluate();
}

inline std::string repeat(const std::string& piece, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += piece;
  return text;
}

}  // namespace formula_test
