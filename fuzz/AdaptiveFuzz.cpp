// A random objective (smooth, with flat, undefined, huge, steep and failing
// regions), variant, reliability, interval and stop rule: the adaptive-estimate
// engine and its literal reference agree bit for bit (results, trials,
// estimates, step records, the first fault), and F is asked once per trial.
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "Adaptive_pair.h"
#include "FuzzCheck.h"

using namespace VelmoraLiteral;

namespace {

// Reads the fuzzer's bytes as choices; past the end every choice is 0.
class Choices {
 public:
  Choices(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  unsigned byte() { return size_ ? (--size_, *data_++) : 0u; }
  template <typename T, std::size_t N>
  const T& pick(const T (&items)[N]) {
    return items[byte() % N];
  }
  // In [0, 1), from two bytes.
  double fraction() { return static_cast<double>(byte() << 8 | byte()) / 65536.0; }
  bool chance(unsigned in256) { return byte() < in256; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
};

Case makeCase(Choices& in) {
  static const double reliabilities[] = {2.0, 1.1, 0.6, 0.3, 3.5, 10.0, 1e-3, 1e5};
  static const double lows[] = {-10.0, 0.0, 1e-3, -1e300, 2.5, -50.0, 1e-300, 1.0};
  static const double spans[] = {20.0, 1.0, 1e-9, 1e300, 1e-3, 60.0, 3.0, 0.0};
  Case c;
  c.variant = VELMORAALG::AdaptiveVariants[in.byte() % VELMORAALG::AdaptiveVariants.size()];
  c.r = in.pick(reliabilities);
  c.xmin = in.pick(lows);
  const double span = in.pick(spans);
  // A span of 0: a few units of the last place.
  c.xmax = c.xmin + span;
  if (span == 0)
    for (unsigned i = in.byte() % 6 + 1; i > 0; --i) c.xmax = std::nextafter(c.xmax, INFINITY);
  if (!std::isfinite(c.xmax)) c.xmax = 1.7e308;
  const double width = std::isfinite(c.xmax - c.xmin) ? c.xmax - c.xmin : 1e308;
  const auto region = [&] {
    const double a = c.xmin + in.fraction() * 0.8 * width;
    return Region{a, a + in.fraction() * 0.3 * width};
  };

  static const double amps[] = {1.0, 5.0, 1e-3, 0.0};
  static const double freqs[] = {1.0, 3.0, 40.0};
  static const double quads[] = {0.0, 1.0, -0.5};
  static const double shifts[] = {0.0, -5.0, 1e6};
  static const double flats[] = {0.0, -1.0, 3.0};
  static const double huges[] = {1e308, -1.7e308, INFINITY, -INFINITY};
  static const double steeps[] = {1e3, -1e6, 1e12};
  static const double quanta[] = {0.5, 0.01};
  const double scale = std::max(width, 1e-3);
  Objective& f = c.f;
  f.amp = in.pick(amps);
  f.freq = in.pick(freqs) / scale * 6;
  f.phase = in.fraction() * 6;
  f.quad = in.pick(quads) / (scale * scale) * 10;
  f.shift = in.pick(shifts);
  if (in.chance(64)) f.flat = region(), f.flatValue = in.pick(flats);
  if (in.chance(40)) f.undefined = region();
  if (in.chance(20)) f.huge = region(), f.hugeValue = in.pick(huges);
  if (in.chance(50)) f.steep = region(), f.steepSlope = in.pick(steeps) / scale;
  if (in.chance(40)) f.failing = region(), f.faultKind = static_cast<int>(in.byte() % 2);
  if (in.chance(64)) f.quantum = in.pick(quanta);

  static const double epss[] = {1e-1, 1e-3, 1e-6, 0.0, NAN};
  c.rule = static_cast<Rule>(in.byte() % 3);
  c.steps = static_cast<int>(in.byte() % 120);
  c.bound = static_cast<int>(in.byte() % 140);
  c.eps = in.pick(epss) * width;
  c.stopAt = in.chance(40) ? static_cast<int>(in.byte() % 40) + 1 : 0;
  return c;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Choices in(data, size);
  const Case c = makeCase(in);
  RunResult run;
  int refreshes = 0;
  const std::string difference = CompareOnCase(c, run, refreshes);
  VELMORA_FUZZ_CHECK(difference.empty(), (Describe(c, 0) + ": " + difference).c_str());
  if (run.fault.empty())
    VELMORA_FUZZ_CHECK(run.calls == static_cast<int>(run.trials.size()), "F is asked once per trial");
  VELMORA_FUZZ_CHECK(run.records.size() == static_cast<std::size_t>(run.steps), "one record per counted step");
  return 0;
}
