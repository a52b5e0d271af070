#include "MathReports.h"

#include <algorithm>

namespace Velmora::Lab {

MathReports::MathReports()
    : previous_(Math_Parser::SetMathErrorHandler([this](const std::string& report) {
        if (std::find(reports_.begin(), reports_.end(), report) == reports_.end()) reports_.push_back(report);
      })) {}

MathReports::~MathReports() { Math_Parser::SetMathErrorHandler(std::move(previous_)); }

}  // namespace Velmora::Lab
