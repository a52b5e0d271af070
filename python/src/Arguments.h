// The arguments of the module's functions, checked by the core's rules and
// named as Python names them: a bad one raises ValueError with the core's
// rule after the parameter's name ("bounds: A must be less than B").
#pragma once

#include <array>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <pybind11/pybind11.h>

#include "ClassRun.h"
#include "FunctionSource.h"
#include "MethodCatalogue.h"
#include "RunPlan.h"
#include "Search.h"

namespace Velmora::Python {

const Lab::MethodInfo& methodNamed(const std::string& key);
// A method's id as given for the parameter name: a str, or TypeError.
std::string methodKey(pybind11::handle method, const std::string& name);
// bounds=: a pair of numbers (a, b), or TypeError.
std::pair<double, double> boundsOf(pybind11::handle bounds);
// A generated class ("hill", "shekel") or a shipped test set ("hill1000"), as
// a range of its function 0.
Lab::ClassRange classNamed(const std::string& key);
// The shipped test sets: the package's data folder, beside its Python files.
std::string dataFolder();

// The stop rule of search(): exactly one of the three.
void setStopRule(Lab::SearchRequest& request, std::optional<long long> steps, std::optional<double> precision,
                 std::optional<double> eps);
// The core's check of the whole request (RequestCheck.h).
void checkRequest(const Lab::SearchRequest& request);

// x[1]..x[9] of a formula.
std::array<double, 9> formulaParams(const std::vector<double>& params);

Lab::ClassRule classRule(long long maxTrials, double delta);
unsigned jobCount(std::optional<long long> jobs);
// Per method id a number, or "from-function" ("from-file" for a test set) for
// Piyavsky's L from each problem.
std::map<Lab::MethodId, double> planParams(const std::map<std::string, pybind11::object>& params, bool classRuns);
// seed= and seeds= of a run over many problems.
void setSeeds(Lab::RunPlan& plan, std::uint64_t seed, std::optional<long long> seeds);

}  // namespace Velmora::Python
