#include "RunPlan.h"

#include <algorithm>

#include "Fields.h"
#include "ReadNumber.h"

namespace Velmora::Lab {

MethodId readMethod(std::string_view key) {
  if (const MethodInfo* info = findMethod(key)) {
    if (!isInstalled(*info))
      throw BadValue("method \"" + std::string(key) + "\" cannot run here: the installed NLopt was built without it");
    return info->id;
  }
  throw BadValue("unknown method \"" + std::string(key) + "\" (expected " + methodKeys() + ")");
}

std::string methodKeys() {
  std::vector<std::string_view> keys;
  for (const MethodInfo& info : allMethods()) keys.push_back(info.key);
  return listed(keys);
}

double RunPlan::paramFor(MethodId method, double problemL) const {
  if (const auto given = params.find(method); given != params.end()) return given->second;
  return batchParam(method, problemL);
}

std::vector<std::uint64_t> RunPlan::seedsFor(MethodId method) const {
  if (!methodInfo(method).stochastic || !seeds) return {seed};
  std::vector<std::uint64_t> all;
  for (int s = 0; s < *seeds; ++s) all.push_back(static_cast<std::uint64_t>(s));
  return all;
}

bool RunPlan::anyStochastic() const {
  return std::any_of(methods.begin(), methods.end(), [](MethodId m) { return methodInfo(m).stochastic; });
}

std::optional<MethodId> RunPlan::methodLackingParam() const {
  for (MethodId method : methods)
    if (methodInfo(method).batchNeedsParam && !params.count(method)) return method;
  return std::nullopt;
}

std::size_t RunPlan::runsPerProblem() const {
  std::size_t runs = ownMethods.size();
  for (MethodId method : methods) runs += seedsFor(method).size();
  return runs;
}

}  // namespace Velmora::Lab
