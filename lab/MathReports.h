// Collects the mathematical library's reports made on this thread while it
// lives, each distinct text once in the order of first appearance; the handler
// that was set before is back afterwards.
#pragma once

#include <string>
#include <vector>

#include "Math_Parser.h"

namespace Velmora::Lab {

class MathReports {
 public:
  MathReports();
  ~MathReports();
  MathReports(const MathReports&) = delete;
  MathReports& operator=(const MathReports&) = delete;

  const std::vector<std::string>& distinct() const { return reports_; }

 private:
  std::vector<std::string> reports_;
  Math_Parser::TMathErrorHandler previous_;
};

}  // namespace Velmora::Lab
