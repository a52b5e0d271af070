// A function of a test class as Python sees it: its data and a callable
// that evaluates its formula in the core.
#pragma once

#include <memory>
#include <string>

#include "FormulaFunction.h"
#include "TestClass.h"

namespace Velmora::Python {

struct TestFunctionObject {
  Lab::TestFunction function;
  std::string cls;  ///< the class's or test set's key
  // Compiled on the first call.
  std::shared_ptr<Lab::FormulaFunction> formula;

  double operator()(double x);
};

}  // namespace Velmora::Python
