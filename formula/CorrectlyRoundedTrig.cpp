#include "CorrectlyRoundedTrig.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

namespace Math_Parser::mathlib {

namespace {

// An unevaluated sum hi + lo, |lo| at most half an ulp of hi: about 106 bits.
struct DoubleDouble {
  double hi;
  double lo;
};

// Knuth's exact sum: a + b == s.hi + s.lo.
DoubleDouble twoSum(double a, double b) {
  const double s = a + b;
  const double bPart = s - a;
  return {s, (a - (s - bPart)) + (b - bPart)};
}

// Dekker's exact sum, for |a| >= |b| (or a == 0).
DoubleDouble fastTwoSum(double a, double b) {
  const double s = a + b;
  return {s, b - (s - a)};
}

// Dekker's split into two halves of at most 26 bits, whose products are exact.
DoubleDouble split(double a) {
  const double t = 134217729.0 * a;  // 2^27 + 1
  const double hi = t - (t - a);
  return {hi, a - hi};
}

// The exact product without a fused multiply-add, which not every target has.
DoubleDouble twoProduct(double a, double b) {
  const double p = a * b;
  const DoubleDouble as = split(a);
  const DoubleDouble bs = split(b);
  return {p, ((as.hi * bs.hi - p) + as.hi * bs.lo + as.lo * bs.hi) + as.lo * bs.lo};
}

DoubleDouble add(DoubleDouble a, DoubleDouble b) {
  const DoubleDouble high = twoSum(a.hi, b.hi);
  const DoubleDouble low = twoSum(a.lo, b.lo);
  const DoubleDouble sum = fastTwoSum(high.hi, high.lo + low.hi);
  return fastTwoSum(sum.hi, sum.lo + low.lo);
}

// For terms of one sign, or where |b| is well below |a|: nothing cancels, so
// the low parts need not be summed exactly.
DoubleDouble addWithoutCancellation(DoubleDouble a, DoubleDouble b) {
  const DoubleDouble high = twoSum(a.hi, b.hi);
  return fastTwoSum(high.hi, high.lo + (a.lo + b.lo));
}

DoubleDouble negate(DoubleDouble a) { return {-a.hi, -a.lo}; }

DoubleDouble mul(DoubleDouble a, DoubleDouble b) {
  const DoubleDouble p = twoProduct(a.hi, b.hi);
  return fastTwoSum(p.hi, p.lo + (a.hi * b.lo + a.lo * b.hi));
}

// Three quotient digits, each from the remainder of the ones before.
DoubleDouble div(DoubleDouble a, DoubleDouble b) {
  const double q1 = a.hi / b.hi;
  const DoubleDouble r1 = add(a, negate(mul({q1, 0}, b)));
  const double q2 = r1.hi / b.hi;
  const DoubleDouble r2 = add(r1, negate(mul({q2, 0}, b)));
  return add(fastTwoSum(q1, q2), {r2.hi / b.hi, 0});
}

// 1/n! for the series; past 1/17! the terms are below 2^-50 of the sum on
// |r| <= pi/4, and their low parts are not read.
constexpr DoubleDouble kInverseFactorial[] = {
    {0x1.0000000000000p+0, 0.0},  // 1/0!
    {0x1.0000000000000p+0, 0.0},  // 1/1!
    {0x1.0000000000000p-1, 0.0},  // 1/2!
    {0x1.5555555555555p-3, 0x1.5555555555555p-57},  // 1/3!
    {0x1.5555555555555p-5, 0x1.5555555555555p-59},  // 1/4!
    {0x1.1111111111111p-7, 0x1.1111111111111p-63},  // 1/5!
    {0x1.6c16c16c16c17p-10, -0x1.f49f49f49f49fp-65},  // 1/6!
    {0x1.a01a01a01a01ap-13, 0x1.a01a01a01a01ap-73},  // 1/7!
    {0x1.a01a01a01a01ap-16, 0x1.a01a01a01a01ap-76},  // 1/8!
    {0x1.71de3a556c734p-19, -0x1.c154f8ddc6c00p-73},  // 1/9!
    {0x1.27e4fb7789f5cp-22, 0x1.cbbc05b4fa99ap-76},  // 1/10!
    {0x1.ae64567f544e4p-26, -0x1.c062e06d1f209p-80},  // 1/11!
    {0x1.1eed8eff8d898p-29, -0x1.2aec959e14c06p-83},  // 1/12!
    {0x1.6124613a86d09p-33, 0x1.f28e0cc748ebep-87},  // 1/13!
    {0x1.93974a8c07c9dp-37, 0x1.05d6f8a2efd1fp-92},  // 1/14!
    {0x1.ae7f3e733b81fp-41, 0x1.1d8656b0ee8cbp-97},  // 1/15!
    {0x1.ae7f3e733b81fp-45, 0x1.1d8656b0ee8cbp-101},  // 1/16!
    {0x1.952c77030ad4ap-49, 0x1.ac981465ddc6cp-103},  // 1/17!
    {0x1.6827863b97d97p-53, 0x1.eec01221a8b0bp-107},  // 1/18!
    {0x1.2f49b46814157p-57, 0x1.2650f61dbdcb4p-112},  // 1/19!
    {0x1.e542ba4020225p-62, 0x1.ea72b4afe3c2fp-120},  // 1/20!
    {0x1.71b8ef6dcf572p-66, -0x1.d043ae40c4647p-120},  // 1/21!
    {0x1.0ce396db7f853p-70, -0x1.aebcdbd20331cp-124},  // 1/22!
    {0x1.761b41316381ap-75, -0x1.3423c7d91404fp-130},  // 1/23!
    {0x1.f2cf01972f578p-80, -0x1.9ada5fcc1ab14p-135},  // 1/24!
    {0x1.3f3ccdd165fa9p-84, -0x1.58ddadf344487p-139},  // 1/25!
    {0x1.88e85fc6a4e5ap-89, -0x1.71c37ebd16540p-143},  // 1/26!
    {0x1.d1ab1c2dccea3p-94, 0x1.054d0c78aea14p-149},  // 1/27!
    {0x1.0a18a2635085dp-98, 0x1.b9e2e28e1aa54p-153},  // 1/28!
    {0x1.259f98b4358adp-103, 0x1.eaf8c39dd9bc5p-157},  // 1/29!
};
// Terms from s^kFirstDoubleTerm on are summed in plain doubles.
constexpr int kFirstDoubleTerm = 9;
constexpr int kLastTerm = 14;

// sum of (-1)^j s^j / (2j + offset)! for j = 0..kLastTerm, by Horner's rule;
// with s <= (pi/4)^2 each term is below a third of the one before.
DoubleDouble alternatingSeries(DoubleDouble s, int offset) {
  double tail = kInverseFactorial[2 * kLastTerm + offset].hi;
  for (int j = kLastTerm - 1; j >= kFirstDoubleTerm; --j)
    tail = kInverseFactorial[2 * j + offset].hi - s.hi * tail;
  DoubleDouble sum{tail, 0};
  for (int j = kFirstDoubleTerm - 1; j >= 0; --j)
    sum = addWithoutCancellation(kInverseFactorial[2 * j + offset], negate(mul(s, sum)));
  return sum;
}

DoubleDouble sinKernel(DoubleDouble r) { return mul(r, alternatingSeries(mul(r, r), 1)); }
DoubleDouble cosKernel(DoubleDouble r) { return alternatingSeries(mul(r, r), 0); }

constexpr DoubleDouble kHalfPi = {0x1.921fb54442d18p+0, 0x1.1a62633145c07p-54};
// Up to here no reduction is needed; just below pi/4.
constexpr double kQuarterPi = 0x1.921fb54442d18p-1;
// Below this, sin(x) and tan(x) round to x and cos(x) to 1.
constexpr double kTiny = 0x1p-27;

// The bits of 2/pi after the binary point, 64 to a word, enough for the
// largest double: its reduction reads bits 970 to 1280.
constexpr std::uint64_t kTwoOverPi[] = {
    0xA2F9836E4E441529, 0xFC2757D1F534DDC0, 0xDB6295993C439041, 0xFE5163ABDEBBC561,
    0xB7246E3A424DD2E0, 0x06492EEA09D1921C, 0xFE1DEB1CB129A73E, 0xE88235F52EBB4484,
    0xE99C7026B45F7E41, 0x3991D639835339F4, 0x9C845F8BBDF9283B, 0x1FF897FFDE05980F,
    0xEF2F118B5A0A6D1F, 0x6D367ECF27CB09B7, 0x4F463F669E5FEA2D, 0x7527BAC7EBE5F17B,
    0x3D0739F78A5292EA, 0x6BFB5FB11F8D5D08, 0x56033046FC7B6BAB, 0xF0CFBC209AF4361D,
};

// Bits p+1 .. p+64 of 2/pi after the binary point; those before it are 0.
std::uint64_t twoOverPiBits(int p) {
  if (p < 0) return kTwoOverPi[0] >> -p;
  const int word = p / 64;
  const int shift = p % 64;
  if (shift == 0) return kTwoOverPi[word];
  return (kTwoOverPi[word] << shift) | (kTwoOverPi[word + 1] >> (64 - shift));
}

// 2^e for a normal result, built from its bits.
double powerOfTwo(int e) { return std::bit_cast<double>(static_cast<std::uint64_t>(e + 1023) << 52); }

// x = (4k + quadrant) * pi/2 + r with |r| <= pi/4.
struct Reduced {
  int quadrant;
  DoubleDouble r;
};

// Exact for every finite x >= pi/4, the huge ones too: x = m * 2^e, and the
// fraction of x * (2/pi) / 4 is that of m * (2^(e-2) * 2/pi mod 1), taken
// with 256 bits of 2/pi past the bits that only add multiples of 4. The
// fraction left after the quadrant is never below 2^-62 or so for a double,
// so at least 128 of those bits are significant.
Reduced reduce(double x) {
  const std::uint64_t bits = std::bit_cast<std::uint64_t>(x);
  const std::uint64_t m = (bits & ((std::uint64_t{1} << 52) - 1)) | (std::uint64_t{1} << 52);
  const int q = static_cast<int>(bits >> 52) - 1075 - 2;

  std::uint64_t f[4];
  unsigned __int128 carry = 0;
  for (int k = 3; k >= 0; --k) {
    carry += static_cast<unsigned __int128>(m) * twoOverPiBits(q + 64 * k);
    f[k] = static_cast<std::uint64_t>(carry);
    carry >>= 64;
  }
  int quadrant = static_cast<int>(f[0] >> 62);
  for (int k = 0; k < 3; ++k) f[k] = (f[k] << 2) | (f[k + 1] >> 62);
  f[3] <<= 2;
  // A fraction of one half or more is the next quadrant less a fraction.
  const bool negative = (f[0] >> 63) != 0;
  if (negative) {
    ++quadrant;
    unsigned __int128 complement = 1;
    for (int k = 3; k >= 0; --k) {
      complement += static_cast<std::uint64_t>(~f[k]);
      f[k] = static_cast<std::uint64_t>(complement);
      complement >>= 64;
    }
  }
  int scale = -64;
  while (f[0] == 0) {
    f[0] = f[1];
    f[1] = f[2];
    f[2] = f[3];
    f[3] = 0;
    scale -= 64;
  }
  const int shift = std::countl_zero(f[0]);
  if (shift != 0) {
    f[0] = (f[0] << shift) | (f[1] >> (64 - shift));
    f[1] = (f[1] << shift) | (f[2] >> (64 - shift));
    scale -= shift;
  }
  // The top 106 bits as two doubles of 53 bits each, both exact.
  const double high = static_cast<double>(f[0] >> 11) * powerOfTwo(scale + 11);
  const double low = static_cast<double>(((f[0] & 0x7FF) << 42) | (f[1] >> 22)) * powerOfTwo(scale - 42);
  const DoubleDouble r = mul(fastTwoSum(high, low), kHalfPi);
  return {quadrant & 3, negative ? negate(r) : r};
}

}  // namespace

double crSin(double x) {
  const double ax = std::fabs(x);
  if (ax < kTiny) return x;
  if (ax <= kQuarterPi) return sinKernel({x, 0}).hi;
  if (!std::isfinite(x)) return std::numeric_limits<double>::quiet_NaN();
  const Reduced reduced = reduce(ax);
  const double value = (reduced.quadrant & 1) ? cosKernel(reduced.r).hi : sinKernel(reduced.r).hi;
  return (reduced.quadrant >= 2) != (x < 0) ? -value : value;
}

double crCos(double x) {
  const double ax = std::fabs(x);
  if (ax < kTiny) return 1;
  if (ax <= kQuarterPi) return cosKernel({ax, 0}).hi;
  if (!std::isfinite(x)) return std::numeric_limits<double>::quiet_NaN();
  const Reduced reduced = reduce(ax);
  const double value = (reduced.quadrant & 1) ? sinKernel(reduced.r).hi : cosKernel(reduced.r).hi;
  return reduced.quadrant == 1 || reduced.quadrant == 2 ? -value : value;
}

double crTan(double x) {
  const double ax = std::fabs(x);
  if (ax < kTiny) return x;
  if (ax <= kQuarterPi) return div(sinKernel({x, 0}), cosKernel({x, 0})).hi;
  if (!std::isfinite(x)) return std::numeric_limits<double>::quiet_NaN();
  const Reduced reduced = reduce(ax);
  const DoubleDouble s = sinKernel(reduced.r);
  const DoubleDouble c = cosKernel(reduced.r);
  const double value = (reduced.quadrant & 1) ? -div(c, s).hi : div(s, c).hi;
  return x < 0 ? -value : value;
}

}  // namespace Math_Parser::mathlib
