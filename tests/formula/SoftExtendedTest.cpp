// The software type against the x87 unit, bit for bit, on operands drawn to
// hit the hard cases. VELMORA_EXTENDED_DRAWS sets the draws per operation.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <random>
#include <string>

#include "SoftExtended.h"

using Velmora::SoftExtended;

namespace {

struct Bits {
  std::uint64_t significand;
  std::uint16_t signAndExponent;
  bool operator==(const Bits&) const = default;
};

Bits bitsOf(long double v) {
  Bits b{};
  std::memcpy(&b.significand, &v, 8);
  std::memcpy(&b.signAndExponent, reinterpret_cast<const char*>(&v) + 8, 2);
  return b;
}
Bits bitsOf(SoftExtended v) { return {v.significand(), v.signAndExponent()}; }
long double native(Bits b) {
  long double v = 0;
  std::memcpy(&v, &b.significand, 8);
  std::memcpy(reinterpret_cast<char*>(&v) + 8, &b.signAndExponent, 2);
  return v;
}
Bits word(std::uint64_t v) { return {v, 0}; }
Bits word(std::int64_t v) { return word(static_cast<std::uint64_t>(v)); }
SoftExtended soft(Bits b) { return SoftExtended::fromBits(b.signAndExponent, b.significand); }

std::string hex(Bits b) {
  char text[40];
  std::snprintf(text, sizeof text, "%04x:%016llx", b.signAndExponent, static_cast<unsigned long long>(b.significand));
  return text;
}

long long drawsPerOperation() {
  const char* text = std::getenv("VELMORA_EXTENDED_DRAWS");
  return text ? std::atoll(text) : 100000;
}

// Operands with short significands make exact and tied products and sums;
// exponents near each other make cancellations, far apart operands too small
// to matter; both ends of the range make denormal and infinite results.
class Draws {
 public:
  explicit Draws(std::uint64_t seed) : engine_(seed) {}

  Bits operand() {
    const std::uint16_t sign = (next() & 1) ? 0x8000 : 0;
    switch (next() % 16) {
      case 0: return special(sign);
      case 1: return {significand() >> (next() % 63 + 1), sign};  // denormal
      case 2: return {significand(), static_cast<std::uint16_t>(sign | (0x7FFE - next() % 80))};
      case 3: return {significand(), static_cast<std::uint16_t>(sign | (1 + next() % 80))};
      case 4: return {significand(), static_cast<std::uint16_t>(sign | (1 + next() % 0x7FFE))};
      default: return {significand(), static_cast<std::uint16_t>(sign | (16383 - 70 + next() % 140))};
    }
  }
  // A second operand near the first in size, or anywhere.
  Bits partner(Bits first) {
    Bits b = operand();
    if (next() % 2 && (first.signAndExponent & 0x7FFF) != 0x7FFF) {
      const int exponent = (first.signAndExponent & 0x7FFF) + static_cast<int>(next() % 140) - 70;
      if (exponent > 0 && exponent < 0x7FFF && (b.significand >> 63))
        b.signAndExponent = static_cast<std::uint16_t>((b.signAndExponent & 0x8000) | exponent);
    }
    return b;
  }
  std::uint64_t next() { return engine_(); }

 private:
  std::uint64_t significand() {
    std::uint64_t s = next() | std::uint64_t{1} << 63;
    switch (next() % 4) {
      case 0: return s;
      case 1: return s >> (next() % 64) << (next() % 64) | std::uint64_t{1} << 63;  // short
      case 2: return s | ((std::uint64_t{1} << (next() % 63)) - 1);                  // a run of ones
      default: return (s & ~((std::uint64_t{1} << (next() % 63)) - 1)) | std::uint64_t{1} << 63;
    }
  }
  Bits special(std::uint16_t sign) {
    const Bits table[] = {
        {0, 0},                                         // zero
        {std::uint64_t{1} << 63, 0x7FFF},               // infinity
        {0xC000000000000000, 0x7FFF},                   // quiet NaN
        {0xC000000000000000 | (next() >> 2), 0x7FFF},   // quiet NaN, payload
        {0x8000000000000000 | (next() >> 2 | 1), 0x7FFF},  // signalling NaN
        {1, 0},                                         // smallest denormal
        {~std::uint64_t{0} >> 1, 0},                    // largest denormal
        {std::uint64_t{1} << 63, 1},                    // smallest normal
        {~std::uint64_t{0}, 0x7FFE},                    // largest
        {std::uint64_t{1} << 63, 16383},                // 1
    };
    Bits b = table[next() % std::size(table)];
    b.signAndExponent |= sign;
    return b;
  }
  std::mt19937_64 engine_;
};

struct BinaryCase {
  const char* name;
  std::function<long double(long double, long double)> native;
  std::function<SoftExtended(SoftExtended, SoftExtended)> soft;
};

TEST(SoftExtended, binaryOperationsGiveTheX87Bits) {
  const BinaryCase cases[] = {
      {"+", [](long double a, long double b) { return a + b; }, [](SoftExtended a, SoftExtended b) { return a + b; }},
      {"-", [](long double a, long double b) { return a - b; }, [](SoftExtended a, SoftExtended b) { return a - b; }},
      {"*", [](long double a, long double b) { return a * b; }, [](SoftExtended a, SoftExtended b) { return a * b; }},
      {"/", [](long double a, long double b) { return a / b; }, [](SoftExtended a, SoftExtended b) { return a / b; }},
      // Comparisons answer in the significand: 1 true, 0 false.
      {"< == <= >", [](long double a, long double b) -> long double { return (a < b) + 2 * (a == b) + 4 * (a <= b) + 8 * (a > b); },
       [](SoftExtended a, SoftExtended b) -> SoftExtended { return (a < b) + 2 * (a == b) + 4 * (a <= b) + 8 * (a > b); }},
  };
  const long long draws = drawsPerOperation();
  for (const BinaryCase& c : cases) {
    Draws draw(std::hash<std::string>{}(c.name));
    long long mismatches = 0;
    for (long long i = 0; i < draws; ++i) {
      const Bits a = draw.operand();
      Bits b = draw.partner(a);
      // Every fourth division is near a representable or a tied quotient:
      // the dividend is a rounded product of the divisor.
      if (c.name[0] == '/' && i % 4 == 0) b = bitsOf(native(a) / native(draw.operand()));
      const Bits expected = bitsOf(c.native(native(a), native(b)));
      const Bits got = bitsOf(c.soft(soft(a), soft(b)));
      if (got != expected && ++mismatches <= 5)
        ADD_FAILURE() << hex(a) << " " << c.name << " " << hex(b) << ": x87 " << hex(expected) << ", soft " << hex(got);
    }
    EXPECT_EQ(mismatches, 0) << c.name << " over " << draws << " draws";
  }
}

TEST(SoftExtended, squareRootAndConversionsGiveTheX87Bits) {
  const long long draws = drawsPerOperation();
  Draws draw(19);
  long long mismatches = 0;
  const auto check = [&](const char* what, Bits operand, Bits expected, Bits got) {
    if (got != expected && ++mismatches <= 5)
      ADD_FAILURE() << what << " " << hex(operand) << ": x87 " << hex(expected) << ", soft " << hex(got);
  };
  for (long long i = 0; i < draws; ++i) {
    const Bits a = draw.operand();
    const long double x = native(a);
    const SoftExtended s = soft(a);
    check("sqrt", a, bitsOf(std::sqrt(x)), bitsOf(Velmora::sqrt(s)));
    // A long double's NaN payload is not carried over.
    if (!std::isnan(x)) {
      check("from long double", a, a, bitsOf(SoftExtended(x)));
      check("to long double", a, a, bitsOf(static_cast<long double>(s)));
    }
    check("to double", a, word(std::bit_cast<std::uint64_t>(static_cast<double>(x))),
          word(std::bit_cast<std::uint64_t>(static_cast<double>(s))));
    // Any double: signalling NaNs and denormals among them.
    const double d = std::bit_cast<double>(draw.next());
    check("from double", word(draw.next()), bitsOf(static_cast<long double>(d)), bitsOf(SoftExtended(d)));
    // Out of the integer range a C++ cast is undefined; the unit's answer there is not asked.
    const long double scaled = std::ldexp(x, -static_cast<int>(draw.next() % 66));
    if (std::fabs(scaled) < 0x1p63L) {
      const auto value = static_cast<std::int64_t>(scaled);
      check("to int64", bitsOf(scaled), word(value), word(static_cast<std::int64_t>(SoftExtended(scaled))));
      check("from int64", word(value), bitsOf(static_cast<long double>(value)), bitsOf(SoftExtended(value)));
    }
    if (scaled >= 0 && scaled < 0x1p64L) {
      const auto value = static_cast<std::uint64_t>(scaled);
      check("to uint64", bitsOf(scaled), word(value), word(static_cast<std::uint64_t>(SoftExtended(scaled))));
      check("from uint64", word(value), bitsOf(static_cast<long double>(value)), bitsOf(SoftExtended(value)));
    }
  }
  EXPECT_EQ(mismatches, 0) << "over " << draws << " draws";
}

}  // namespace
