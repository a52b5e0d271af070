// The arguments of the module's functions, checked by velmora-run's own
// checks, so that a bad one raises ValueError with velmora-run's words for
// the same mistake (the module translates its UsageError).
#pragma once

#include <array>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <pybind11/pybind11.h>

#include "ClassRun.h"
#include "MethodCatalogue.h"
#include "OptionValues.h"
#include "Search.h"

namespace Velmora::Python {

const Lab::MethodInfo& methodNamed(const std::string& key);
// A generated class ("hill", "shekel") or a shipped test set ("hill1000"), as
// a range of its function 0.
Cli::ClassRange classNamed(const std::string& key);
// The shipped test sets: the package's data folder, beside its Python files.
std::string dataFolder();

// The stop rule of search(): exactly one of the three.
void setStopRule(Lab::SearchRequest& request, std::optional<long long> steps, std::optional<double> precision,
                 std::optional<double> eps);

// x[1]..x[9] of a formula.
std::array<double, 9> formulaParams(const std::vector<double>& params);

Lab::ClassRule classRule(long long maxTrials, double delta);
unsigned jobCount(std::optional<long long> jobs);
// Per method id a number or "from-function", as --param-METHOD takes them.
std::map<Lab::MethodId, double> classParams(const std::map<std::string, pybind11::object>& params);

}  // namespace Velmora::Python
