// The 80-bit extended type computed in software, bit for bit what an x87 unit
// gives at its default settings: a 64-bit significand with an explicit integer
// bit, a 15-bit exponent, rounding to nearest with ties to even, gradual
// underflow, and the unit's rules for infinities and NaNs (an invalid
// operation gives the negative quiet NaN, the "real indefinite"). It stands in
// for long double where the compiler has no x87 type.
#pragma once

#include <bit>
#include <concepts>
#include <cstdint>
#include <limits>

namespace Velmora {

class SoftExtended {
 public:
  static constexpr std::uint16_t kSignBit = 0x8000;
  static constexpr std::uint16_t kMaxExponent = 0x7FFF;  ///< infinities and NaNs
  static constexpr std::uint16_t kBias = 16383;
  static constexpr std::uint64_t kIntegerBit = std::uint64_t{1} << 63;
  static constexpr std::uint64_t kQuietBit = std::uint64_t{1} << 62;

  constexpr SoftExtended() = default;  ///< +0
  constexpr SoftExtended(double v) : SoftExtended(fromDouble(v)) {}
  /// Exact where long double is the x87 type; otherwise rounded to 64 bits.
  SoftExtended(long double v);
  template <std::integral T>
  constexpr SoftExtended(T v) : SoftExtended(std::signed_integral<T> ? fromInt64(static_cast<std::int64_t>(v))
                                                                      : fromUint64(static_cast<std::uint64_t>(v))) {}

  static constexpr SoftExtended fromBits(std::uint16_t signAndExponent, std::uint64_t significand) {
    SoftExtended v;
    v.signExponent_ = signAndExponent;
    v.significand_ = significand;
    return v;
  }
  constexpr std::uint16_t signAndExponent() const { return signExponent_; }
  constexpr std::uint64_t significand() const { return significand_; }
  constexpr bool negative() const { return signExponent_ & kSignBit; }
  constexpr std::uint16_t exponent() const { return signExponent_ & kMaxExponent; }

  /// Rounds to nearest; beyond the double range gives an infinity.
  explicit operator double() const;
  explicit operator long double() const;
  /// Truncates toward zero as the unit's integer store does.
  template <std::integral T>
  explicit operator T() const {
    if constexpr (std::signed_integral<T>)
      return static_cast<T>(toInt64());
    else
      return static_cast<T>(toUint64());
  }

  friend SoftExtended operator+(SoftExtended a, SoftExtended b);
  friend SoftExtended operator-(SoftExtended a, SoftExtended b);
  friend SoftExtended operator*(SoftExtended a, SoftExtended b);
  friend SoftExtended operator/(SoftExtended a, SoftExtended b);
  friend constexpr SoftExtended operator-(SoftExtended a) {
    return fromBits(a.signExponent_ ^ kSignBit, a.significand_);
  }
  SoftExtended& operator+=(SoftExtended b) { return *this = *this + b; }
  SoftExtended& operator-=(SoftExtended b) { return *this = *this - b; }
  SoftExtended& operator*=(SoftExtended b) { return *this = *this * b; }
  SoftExtended& operator/=(SoftExtended b) { return *this = *this / b; }

  // NaN compares unordered: every comparison with it is false but "!=".
  friend constexpr bool operator==(SoftExtended a, SoftExtended b) {
    return !a.isNaN() && !b.isNaN() && a.orderKey() == b.orderKey();
  }
  friend constexpr bool operator<(SoftExtended a, SoftExtended b) {
    return !a.isNaN() && !b.isNaN() && a.orderKey() < b.orderKey();
  }
  friend constexpr bool operator>(SoftExtended a, SoftExtended b) { return b < a; }
  friend constexpr bool operator<=(SoftExtended a, SoftExtended b) {
    return !a.isNaN() && !b.isNaN() && a.orderKey() <= b.orderKey();
  }
  friend constexpr bool operator>=(SoftExtended a, SoftExtended b) { return b <= a; }

  constexpr bool isNaN() const { return exponent() == kMaxExponent && (significand_ << 1) != 0; }
  constexpr bool isFinite() const { return exponent() != kMaxExponent; }

  std::int64_t toInt64() const;
  std::uint64_t toUint64() const;

 private:
  static constexpr SoftExtended fromMagnitude(bool negative, std::uint64_t magnitude) {
    const std::uint16_t sign = negative ? kSignBit : 0;
    if (magnitude == 0) return fromBits(sign, 0);
    const int shift = std::countl_zero(magnitude);
    return fromBits(sign | static_cast<std::uint16_t>(kBias + 63 - shift), magnitude << shift);
  }
  static constexpr SoftExtended fromInt64(std::int64_t v) {
    return fromMagnitude(v < 0, v < 0 ? 0 - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v));
  }
  static constexpr SoftExtended fromUint64(std::uint64_t v) { return fromMagnitude(false, v); }
  // A double's every value is exact at 80 bits; a NaN is made quiet on the
  // way, as the unit's load does.
  static constexpr SoftExtended fromDouble(double v) {
    const auto bits = std::bit_cast<std::uint64_t>(v);
    const std::uint16_t sign = (bits >> 63) ? kSignBit : 0;
    const int biased = static_cast<int>((bits >> 52) & 0x7FF);
    const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
    if (biased == 0x7FF)
      return fromBits(sign | kMaxExponent, fraction == 0 ? kIntegerBit : kIntegerBit | kQuietBit | fraction << 11);
    if (biased == 0) {
      if (fraction == 0) return fromBits(sign, 0);
      const int shift = std::countl_zero(fraction);
      return fromBits(sign | static_cast<std::uint16_t>(kBias + 63 - 1074 - shift), fraction << shift);
    }
    return fromBits(sign | static_cast<std::uint16_t>(biased - 1023 + kBias), kIntegerBit | fraction << 11);
  }
  // Sign and magnitude as one integer, in the order of the values; both
  // zeros map to 0. Denormals (exponent 0, no integer bit) sort below the
  // normals, whose integer bit is set.
  constexpr __int128 orderKey() const {
    const auto magnitude = static_cast<__int128>(exponent()) << 64 | significand_;
    return negative() ? -magnitude : magnitude;
  }

  std::uint64_t significand_ = 0;
  std::uint16_t signExponent_ = 0;
};

SoftExtended sqrt(SoftExtended v);
constexpr SoftExtended fabs(SoftExtended v) {
  return SoftExtended::fromBits(v.signAndExponent() & ~SoftExtended::kSignBit, v.significand());
}
constexpr bool isnan(SoftExtended v) { return v.isNaN(); }
constexpr bool isfinite(SoftExtended v) { return v.isFinite(); }

}  // namespace Velmora

template <>
class std::numeric_limits<Velmora::SoftExtended> {
  using T = Velmora::SoftExtended;

 public:
  static constexpr bool is_specialized = true;
  static constexpr bool is_signed = true;
  static constexpr bool is_integer = false;
  static constexpr bool is_exact = false;
  static constexpr bool has_infinity = true;
  static constexpr bool has_quiet_NaN = true;
  static constexpr int radix = 2;
  static constexpr int digits = 64;
  static constexpr int digits10 = 18;
  static constexpr int max_digits10 = 21;
  static constexpr int min_exponent = -16381;
  static constexpr int max_exponent = 16384;
  static constexpr std::float_round_style round_style = std::round_to_nearest;
  static constexpr T min() noexcept { return T::fromBits(1, T::kIntegerBit); }
  static constexpr T max() noexcept { return T::fromBits(T::kMaxExponent - 1, ~std::uint64_t{0}); }
  static constexpr T lowest() noexcept { return -max(); }
  static constexpr T epsilon() noexcept { return T::fromBits(T::kBias - 63, T::kIntegerBit); }
  static constexpr T denorm_min() noexcept { return T::fromBits(0, 1); }
  static constexpr T infinity() noexcept { return T::fromBits(T::kMaxExponent, T::kIntegerBit); }
  static constexpr T quiet_NaN() noexcept { return T::fromBits(T::kMaxExponent, T::kIntegerBit | T::kQuietBit); }
};
