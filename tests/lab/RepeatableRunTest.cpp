// A run made again for its course is the run the window's object made, bit
// for bit, although that object carried a constant in from the run before.
#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <memory>

#include "RepeatableRun.h"

using namespace Velmora::Lab;

namespace {

double twoSines(double x) { return std::sin(x) + std::sin(10 * x / 3); }

SearchRequest request(MethodId method, double param, int steps, double a, double b) {
  SearchRequest r;
  r.method = method;
  r.param = param;
  r.steps = steps;
  r.xmin = a;
  r.xmax = b;
  return r;
}

using Bits = std::array<std::uint64_t, 8>;
static_assert(sizeof(VELMORAALG::TStepRecord) == sizeof(Bits));

void expectSameRun(const SearchOutcome& got, const SearchOutcome& want) {
  ASSERT_EQ(got.stepRecords.size(), want.stepRecords.size());
  for (std::size_t i = 0; i < want.stepRecords.size(); ++i)
    EXPECT_EQ(std::bit_cast<Bits>(got.stepRecords[i]), std::bit_cast<Bits>(want.stepRecords[i])) << "step " << i + 1;
  ASSERT_EQ(got.trials.size(), want.trials.size());
  for (std::size_t i = 0; i < want.trials.size(); ++i) {
    EXPECT_EQ(std::bit_cast<std::uint64_t>(got.trials[i].x), std::bit_cast<std::uint64_t>(want.trials[i].x));
    EXPECT_EQ(std::bit_cast<std::uint64_t>(got.trials[i].f), std::bit_cast<std::uint64_t>(want.trials[i].f));
    EXPECT_EQ(std::bit_cast<std::uint64_t>(got.trials[i].charact), std::bit_cast<std::uint64_t>(want.trials[i].charact));
    EXPECT_EQ(got.trials[i].placed, want.trials[i].placed);
  }
}

TEST(RepeatableRun, theRunMadeAgainIsThePressFromTheStateTheObjectCarriedIn) {
  for (const MethodInfo& method : windowMethods()) {
    SCOPED_TRACE(std::string(method.key));
    const SearchRequest before = request(method.id, 14, 40, 2.7, 7.5);
    const SearchRequest press = request(method.id, 3, 200, -1, 9);

    // The window's object: a run, then the press that is kept.
    const std::unique_ptr<VELMORAALG::SearchEngine> window = method.make(twoSines);
    runSearch(*window, before);
    const RepeatableRun kept = runRepeatably(*window, press);
    EXPECT_TRUE(kept.outcome.stepRecords.empty());
    // Later presses leave the kept run as it was.
    runSearch(*window, request(method.id, 5, 7, 0, 1));

    // The same two runs, the second watched step by step.
    const std::unique_ptr<VELMORAALG::SearchEngine> watched = method.make(twoSines);
    runSearch(*watched, before);
    SearchRequest recorded = press;
    recorded.recordSteps = true;
    const SearchOutcome want = runSearch(*watched, recorded);

    expectSameRun(runAgainRecorded(kept), want);
    if (method.id == MethodId::Strongin) {
      // What the object carried in shows: a fresh object chooses otherwise.
      const SearchOutcome fresh = runSearch(*method.make(twoSines), recorded);
      EXPECT_NE(std::bit_cast<std::uint64_t>(fresh.stepRecords.front().Charact),
                std::bit_cast<std::uint64_t>(want.stepRecords.front().Charact));
    }
  }
}

}  // namespace
