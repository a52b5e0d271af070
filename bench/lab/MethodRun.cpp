// One run of one catalogue method, for counting its instructions under
// callgrind (docs/performance.md):
//   valgrind --tool=callgrind build/bench/lab/method_run strongin 100000
// The objective is sin(1000x) + sin(1618x) over [-10, 10], on which every
// method keeps finding room for 100000 steps: L = 3000 for the broken lines
// (above its largest slope, 2618), r = 2 for Strongin's method, r = 8 for the
// variants (with less, the local tunings close in on a minimiser until no
// double lies inside the chosen interval).
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "Search.h"

int main(int argc, char** argv) {
  using namespace Velmora::Lab;
  if (argc != 3) {
    std::fprintf(stderr, "usage: method_run METHOD STEPS\n");
    return 2;
  }
  const MethodInfo* method = findMethod(argv[1]);
  if (!method) {
    std::fprintf(stderr, "no method %s\n", argv[1]);
    return 2;
  }
  SearchRequest request;
  request.objective = [](double x) { return std::sin(1000 * x) + std::sin(1618 * x); };
  request.xmin = -10;
  request.xmax = 10;
  request.method = method->id;
  request.param = method->param == ParamMeaning::LipschitzEstimate ? 3000.0
                  : method->id == MethodId::Strongin                  ? 2.0
                                                                      : 8.0;
  request.steps = std::atoi(argv[2]);
  const SearchOutcome outcome = runSearch(request);
  std::printf("%s: %d steps, stop %s, best %.17g at %.17g\n", method->key.data(), outcome.stepCount,
              stopReasonKey(outcome.stop).data(), outcome.fBest, outcome.bestX);
  return outcome.fault ? 1 : 0;
}
