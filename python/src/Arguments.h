// The arguments of the module's functions, checked with velmora-run's words:
// a bad one raises ValueError with the text velmora-run prints for the same
// mistake, the Python argument named where velmora-run names its option.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ClassRun.h"
#include "MethodCatalogue.h"
#include "Search.h"
#include "TestClass.h"

namespace Velmora::Python {

// Throws pybind11::value_error: "unknown method ..." with every key.
const Lab::MethodInfo& methodNamed(const std::string& key);
const Lab::TestClass& classNamed(const std::string& key);

void checkBounds(double a, double b);
// The parameter as entered, when the method takes it.
std::optional<double> checkedParam(const Lab::MethodInfo& method, std::optional<double> param);

struct StopChoice {
  Lab::StopRule rule = Lab::StopRule::Steps;
  int steps = 0;
  double eps = 0;
};
// Exactly one of the three.
StopChoice stopChoice(std::optional<long long> steps, std::optional<double> precision, std::optional<double> eps);

// x[1]..x[9] of a formula.
std::array<double, 9> formulaParams(const std::vector<double>& params);

// The budget, delta and threads of a class run.
Lab::ClassRule classRule(long long maxTrials, double delta);
unsigned jobCount(std::optional<long long> jobs);
// A class run's parameter for one method: a number the method takes, or
// "from-function" for Piyavsky's L; nothing for that.
std::optional<double> classParam(const Lab::MethodInfo& method, const std::string& given, double value);

}  // namespace Velmora::Python
