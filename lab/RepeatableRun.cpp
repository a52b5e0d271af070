#include "RepeatableRun.h"

#include <bit>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <unordered_map>

namespace Velmora::Lab {

RepeatableRun runRepeatably(VELMORAALG::SearchEngine& method, SearchRequest request) {
  request.recordSteps = false;
  const double carried = method.CarriedConstant();
  SearchOutcome outcome = runSearch(method, request);
  return {std::move(request), carried, std::move(outcome)};
}

SearchOutcome runAgainRecorded(const RepeatableRun& run) {
  // The same run asks for F at the same points, every one a trial of the run.
  auto values = std::make_shared<std::unordered_map<std::uint64_t, double>>();
  values->reserve(run.outcome.trials.size());
  for (const Trial& t : run.outcome.trials) values->emplace(std::bit_cast<std::uint64_t>(t.x), t.f);
  const auto f = [values](double x) {
    const auto it = values->find(std::bit_cast<std::uint64_t>(x));
    if (it == values->end()) throw std::logic_error("the run made again left the run it repeats");
    return it->second;
  };

  SearchRequest request = run.request;
  request.recordSteps = true;
  const std::unique_ptr<VELMORAALG::SearchEngine> method = methodInfo(request.method.value()).make(f);
  method->SetCarriedConstant(run.carried);
  return runSearch(*method, request);
}

}  // namespace Velmora::Lab
