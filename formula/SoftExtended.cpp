#include "SoftExtended.h"

#include <algorithm>
#include <cmath>

namespace Velmora {

namespace {

using Wide = unsigned __int128;

constexpr std::uint16_t kSign = SoftExtended::kSignBit;
constexpr int kMaxExp = SoftExtended::kMaxExponent;
constexpr int kBias = SoftExtended::kBias;
constexpr std::uint64_t kInteger = SoftExtended::kIntegerBit;
constexpr std::uint64_t kQuiet = SoftExtended::kQuietBit;
constexpr std::uint64_t kHalf = std::uint64_t{1} << 63;

constexpr SoftExtended kIndefinite = SoftExtended::fromBits(kSign | kMaxExp, kInteger | kQuiet);

SoftExtended infinity(bool negative) { return SoftExtended::fromBits((negative ? kSign : 0) | kMaxExp, kInteger); }
SoftExtended zero(bool negative) { return SoftExtended::fromBits(negative ? kSign : 0, 0); }
bool isInfinity(SoftExtended v) { return v.exponent() == kMaxExp && v.significand() == kInteger; }
bool isZero(SoftExtended v) { return v.exponent() == 0 && v.significand() == 0; }
SoftExtended quiet(SoftExtended v) { return SoftExtended::fromBits(v.signAndExponent(), v.significand() | kQuiet); }

int leadingZeros(Wide m) {
  const auto high = static_cast<std::uint64_t>(m >> 64);
  return high ? std::countl_zero(high) : 64 + std::countl_zero(static_cast<std::uint64_t>(m));
}

// The unit's choice between two NaN operands: a quiet one over a signalling
// one, else the larger significand; equal significands give the positive
// NaN unless both are negative. The result is always quiet.
SoftExtended propagateNaN(SoftExtended a, SoftExtended b) {
  if (!b.isNaN()) return quiet(a);
  if (!a.isNaN()) return quiet(b);
  const bool aQuiet = a.significand() & kQuiet;
  const bool bQuiet = b.significand() & kQuiet;
  if (aQuiet != bQuiet) return quiet(aQuiet ? a : b);
  if (a.significand() != b.significand()) return quiet(a.significand() > b.significand() ? a : b);
  return quiet(a.negative() ? b : a);
}

// A finite non-zero operand as significand and exponent with the integer bit
// at the top; a denormal gets an exponent below 1.
struct Unpacked {
  std::uint64_t significand;
  int exponent;
};

Unpacked normalised(SoftExtended v) {
  const int shift = std::countl_zero(v.significand());
  return {v.significand() << shift, std::max<int>(v.exponent(), 1) - shift};
}

// Rounds m * 2^(exponent - bias - 127), m non-zero, to the nearest value, ties
// to even; below the normal range the value is denormalised first, so it is
// rounded once, and beyond the range it is an infinity.
SoftExtended rounded(bool negative, int exponent, Wide m) {
  const int shift = leadingZeros(m);
  m <<= shift;
  exponent -= shift;
  if (exponent <= 0) {
    const int denormalise = 1 - exponent;
    const bool sticky = denormalise >= 128 || (m & ((Wide{1} << denormalise) - 1)) != 0;
    m = (denormalise >= 128 ? 0 : m >> denormalise) | static_cast<Wide>(sticky);
    exponent = 0;
  }
  auto significand = static_cast<std::uint64_t>(m >> 64);
  const auto rest = static_cast<std::uint64_t>(m);
  if (rest > kHalf || (rest == kHalf && (significand & 1))) {
    ++significand;
    if (significand == 0) {
      significand = kInteger;
      ++exponent;
    } else if (exponent == 0 && significand == kInteger) {
      exponent = 1;  // a denormal rounded up to the smallest normal
    }
  }
  if (exponent >= kMaxExp) return infinity(negative);
  return SoftExtended::fromBits((negative ? kSign : 0) | static_cast<std::uint16_t>(exponent), significand);
}

SoftExtended addSigned(SoftExtended a, SoftExtended b, bool bNegative) {
  if (!a.isFinite() || !b.isFinite()) {
    if (a.isNaN() || b.isNaN()) return propagateNaN(a, b);
    if (isInfinity(a)) return isInfinity(b) && a.negative() != bNegative ? kIndefinite : a;
    return infinity(bNegative);
  }
  bool aNegative = a.negative();
  if (isZero(b)) return isZero(a) ? zero(aNegative && bNegative) : a;
  if (isZero(a)) return SoftExtended::fromBits((bNegative ? kSign : 0) | b.exponent(), b.significand());
  std::uint64_t aSig = a.significand();
  std::uint64_t bSig = b.significand();
  int aExp = std::max<int>(a.exponent(), 1);
  int bExp = std::max<int>(b.exponent(), 1);
  if (aExp < bExp || (aExp == bExp && aSig < bSig)) {
    std::swap(aSig, bSig);
    std::swap(aExp, bExp);
    std::swap(aNegative, bNegative);
  }
  // One bit of headroom for the carry; the smaller operand's bits shifted
  // out leave a sticky bit far below the rounding position.
  const Wide large = static_cast<Wide>(aSig) << 63;
  Wide small = static_cast<Wide>(bSig) << 63;
  const int distance = aExp - bExp;
  if (distance >= 127) {
    small = 1;
  } else if (distance > 0) {
    const bool sticky = (small & ((Wide{1} << distance) - 1)) != 0;
    small = (small >> distance) | static_cast<Wide>(sticky);
  }
  const Wide m = aNegative == bNegative ? large + small : large - small;
  if (m == 0) return zero(false);
  return rounded(aNegative, aExp + 1, m);
}

// Halves of the remainder of a division by d, as the bits below a quotient:
// the first is the rounding bit, a non-zero rest the sticky one.
Wide belowQuotient(std::uint64_t remainder, std::uint64_t divisor) {
  const bool half = remainder >= divisor - remainder;
  const bool rest = half ? remainder != divisor - remainder : remainder != 0;
  return (half ? Wide{kHalf} : 0) | static_cast<Wide>(rest);
}

}  // namespace

SoftExtended operator+(SoftExtended a, SoftExtended b) { return addSigned(a, b, b.negative()); }
SoftExtended operator-(SoftExtended a, SoftExtended b) { return addSigned(a, b, !b.negative()); }

SoftExtended operator*(SoftExtended a, SoftExtended b) {
  const bool negative = a.negative() != b.negative();
  if (!a.isFinite() || !b.isFinite()) {
    if (a.isNaN() || b.isNaN()) return propagateNaN(a, b);
    return isZero(a) || isZero(b) ? kIndefinite : infinity(negative);
  }
  if (isZero(a) || isZero(b)) return zero(negative);
  const Unpacked x = normalised(a);
  const Unpacked y = normalised(b);
  return rounded(negative, x.exponent + y.exponent - kBias + 1, static_cast<Wide>(x.significand) * y.significand);
}

SoftExtended operator/(SoftExtended a, SoftExtended b) {
  const bool negative = a.negative() != b.negative();
  if (!a.isFinite() || !b.isFinite()) {
    if (a.isNaN() || b.isNaN()) return propagateNaN(a, b);
    if (isInfinity(a)) return isInfinity(b) ? kIndefinite : infinity(negative);
    return zero(negative);
  }
  if (isZero(b)) return isZero(a) ? kIndefinite : infinity(negative);
  if (isZero(a)) return zero(negative);
  const Unpacked x = normalised(a);
  const Unpacked y = normalised(b);
  // The dividend is shifted so that the quotient has exactly 64 bits.
  const bool larger = x.significand >= y.significand;
  const Wide dividend = static_cast<Wide>(x.significand) << (larger ? 63 : 64);
  const auto quotient = static_cast<std::uint64_t>(dividend / y.significand);
  const auto remainder = static_cast<std::uint64_t>(dividend % y.significand);
  const Wide m = static_cast<Wide>(quotient) << 64 | belowQuotient(remainder, y.significand);
  return rounded(negative, x.exponent - y.exponent + kBias - (larger ? 0 : 1), m);
}

SoftExtended sqrt(SoftExtended v) {
  if (v.isNaN()) return quiet(v);
  if (isZero(v)) return v;
  if (v.negative()) return kIndefinite;
  if (!v.isFinite()) return v;
  const Unpacked x = normalised(v);
  const int unbiased = x.exponent - kBias;
  const bool odd = unbiased % 2 != 0;
  // The root of the significand scaled to 2^126 or 2^127 has 64 bits.
  Wide rest = static_cast<Wide>(x.significand) << (odd ? 64 : 63);
  Wide root = 0;
  for (Wide bit = Wide{1} << 126; bit != 0; bit >>= 2) {
    if (rest >= root + bit) {
      rest -= root + bit;
      root = (root >> 1) + bit;
    } else {
      root >>= 1;
    }
  }
  // The root is never a tie: (r + 1/2)^2 is no integer.
  const Wide below = (rest > root ? Wide{kHalf} : 0) | static_cast<Wide>(rest != 0);
  return rounded(false, (odd ? unbiased - 1 : unbiased) / 2 + kBias, root << 64 | below);
}

SoftExtended::SoftExtended(long double v) {
  if (std::isnan(v)) {
    *this = fromBits((std::signbit(v) ? kSign : 0) | kMaxExp, kInteger | kQuiet);
  } else if (std::isinf(v)) {
    *this = infinity(std::signbit(v));
  } else if (v == 0) {
    *this = zero(std::signbit(v));
  } else {
    // The top 128 bits of the significand, whatever its width, and a sticky
    // bit for any below them.
    int exponent = 0;
    const long double fraction = std::frexp(std::fabs(v), &exponent);
    const long double scaled = std::ldexp(fraction, 64);
    const auto high = static_cast<std::uint64_t>(scaled);
    const long double tail = std::ldexp(scaled - static_cast<long double>(high), 64);
    const auto low = static_cast<std::uint64_t>(tail);
    const bool sticky = tail != static_cast<long double>(low);
    *this = rounded(std::signbit(v), exponent - 1 + kBias, static_cast<Wide>(high) << 64 | low | sticky);
  }
}

SoftExtended::operator long double() const {
  const long double sign = negative() ? -1.0L : 1.0L;
  if (isNaN()) return std::copysign(std::numeric_limits<long double>::quiet_NaN(), sign);
  if (!isFinite()) return sign * std::numeric_limits<long double>::infinity();
  const int exponent = std::max<int>(this->exponent(), 1) - kBias - 63;
  return sign * std::ldexp(static_cast<long double>(significand_), exponent);
}

SoftExtended::operator double() const {
  std::uint64_t bits = negative() ? std::uint64_t{1} << 63 : 0;
  constexpr std::uint64_t kDoubleInfinity = std::uint64_t{0x7FF} << 52;
  if (isNaN()) return std::bit_cast<double>(bits | kDoubleInfinity | std::uint64_t{1} << 51 | (significand_ << 1) >> 12);
  if (!isFinite()) return std::bit_cast<double>(bits | kDoubleInfinity);
  if (isZero(*this)) return std::bit_cast<double>(bits);
  const Unpacked x = normalised(*this);
  const int biased = x.exponent - kBias + 1023;
  if (biased >= 0x7FF) return std::bit_cast<double>(bits | kDoubleInfinity);
  // A double keeps 53 bits, fewer below its normal range; the rounded
  // significand carries into the exponent field by itself.
  const int drop = biased >= 1 ? 11 : 12 - biased;
  const std::uint64_t base = biased >= 1 ? static_cast<std::uint64_t>(biased - 1) << 52 : 0;
  // Past 64 dropped bits the value is below half the smallest denormal.
  std::uint64_t kept = 0;
  if (drop <= 64) {
    const Wide m = static_cast<Wide>(x.significand) << 64 >> drop;
    kept = static_cast<std::uint64_t>(m >> 64);
    const auto rest = static_cast<std::uint64_t>(m);
    if (rest > kHalf || (rest == kHalf && (kept & 1))) ++kept;
  }
  const std::uint64_t magnitude = base + kept;
  return std::bit_cast<double>(bits | std::min(magnitude, kDoubleInfinity));
}

// Beyond the 64-bit range, and for NaN, the unit stores its "integer
// indefinite", the most negative integer.
std::int64_t SoftExtended::toInt64() const {
  constexpr auto kIndefiniteInteger = std::numeric_limits<std::int64_t>::min();
  if (isNaN()) return kIndefiniteInteger;
  const int unbiased = std::max<int>(exponent(), 1) - kBias;
  if (unbiased < 0) return 0;
  if (unbiased >= 63) return kIndefiniteInteger;
  const std::uint64_t magnitude = significand_ >> (63 - unbiased);
  return static_cast<std::int64_t>(negative() ? 0 - magnitude : magnitude);
}

// The unit has no unsigned store: from 2^63 on, 2^63 is taken off and its bit
// put back, as compilers do.
std::uint64_t SoftExtended::toUint64() const {
  const SoftExtended twoTo63 = fromUint64(kHalf);
  if (*this >= twoTo63) return static_cast<std::uint64_t>((*this - twoTo63).toInt64()) ^ kHalf;
  return static_cast<std::uint64_t>(toInt64());
}

}  // namespace Velmora
