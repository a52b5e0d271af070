// The printf and strtod route for doubles gives the library's texts and
// values, so that a build whose library lacks them (WebAssembly) writes and
// reads the same numbers. Where the library lacks them too, both routes are
// the same and the test says nothing.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "DoubleChars.h"

namespace {

using Velmora::CharsRoute;

template <class Convert>
std::string text(Convert convert, CharsRoute route) {
  char buffer[400];
  const auto result = convert(buffer, buffer + sizeof buffer, route);
  return std::string(buffer, result.ptr);
}

std::vector<double> samples() {
  std::vector<double> values{0.0,   -0.0,   1.0,    0.1,   1e-5,  1e-4,  123456.0, 1e15, 1e16, 1e17, 1e21, 1e22,
                             1e100, 5e-324, 2.2250738585072014e-308, 1.7976931348623157e308, 0.3, 2.0 / 3, 100.0,
                             std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
                             std::numeric_limits<double>::quiet_NaN()};
  std::mt19937_64 rng(20261210);
  std::uniform_real_distribution<double> unit(-1000, 1000);
  for (int i = 0; i < 20000; ++i) {
    double v = std::bit_cast<double>(rng());
    if (!std::isfinite(v)) v = unit(rng);
    values.push_back(i % 2 ? v : unit(rng));
  }
  return values;
}

}  // namespace

TEST(DoubleChars, thePrintfRouteWritesTheLibrarysTexts) {
  for (const double v : samples()) {
    SCOPED_TRACE(testing::Message() << std::hexfloat << v);
    const auto shortest = [v](char* f, char* l, CharsRoute r) { return Velmora::shortestChars(f, l, v, r); };
    EXPECT_EQ(text(shortest, CharsRoute::Printf), text(shortest, CharsRoute::Library));
    const auto fixed = [v](char* f, char* l, CharsRoute r) { return Velmora::shortestFixedChars(f, l, v, r); };
    if (std::fabs(v) < 1e30) EXPECT_EQ(text(fixed, CharsRoute::Printf), text(fixed, CharsRoute::Library));
    for (const int precision : {0, 3, 9, 16}) {
      for (const auto format : {std::chars_format::fixed, std::chars_format::scientific}) {
        if (format == std::chars_format::fixed && !(std::fabs(v) < 1e30)) continue;
        const auto withPrecision = [&](char* f, char* l, CharsRoute r) {
          return Velmora::precisionChars(f, l, v, format, precision, r);
        };
        EXPECT_EQ(text(withPrecision, CharsRoute::Printf), text(withPrecision, CharsRoute::Library));
      }
    }
  }
}

TEST(DoubleChars, thePrintfRouteReadsWhatTheLibraryReads) {
  std::vector<std::string> texts{"0", "-0", "1.5", ".5", "5.", ".", "-", "", "1e5", "1e", "1e+", "2.5E-3", "inf",
                                 "-Infinity", "nan", "NaN", "infx", "1e400", "-1e400", "1e-400", "4.9e-324", "+1",
                                 " 1", "0x10", "12abc", "1.2.3", "007"};
  for (const double v : samples()) {
    char buffer[64];
    texts.emplace_back(buffer, Velmora::shortestChars(buffer, buffer + sizeof buffer, v).ptr);
  }
  for (const std::string& t : texts) {
    for (const auto format : {std::chars_format::general, std::chars_format::fixed}) {
      SCOPED_TRACE("\"" + t + "\"" + (format == std::chars_format::fixed ? " fixed" : " general"));
      double library = 7, printf = 7;
      const auto a = Velmora::doubleFromChars(t.data(), t.data() + t.size(), library, format, CharsRoute::Library);
      const auto b = Velmora::doubleFromChars(t.data(), t.data() + t.size(), printf, format, CharsRoute::Printf);
      EXPECT_EQ(a.ec, b.ec);
      EXPECT_EQ(a.ptr - t.data(), b.ptr - t.data());
      EXPECT_EQ(std::bit_cast<std::uint64_t>(library), std::bit_cast<std::uint64_t>(printf));
    }
  }
}
