#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <functional>
#include <limits>

#include "Extended.h"

using Velmora::ArithmeticFault;
using Velmora::Extended;
using Velmora::FaultKind;

namespace {

constexpr Extended kInf = std::numeric_limits<Extended>::infinity();
constexpr Extended kNaN = std::numeric_limits<Extended>::quiet_NaN();
constexpr Extended kMax = std::numeric_limits<Extended>::max();

struct FaultCase {
  const char* reason;
  std::function<Extended()> operation;
  FaultKind kind;
};

TEST(Extended, faultsOfTheUnmaskedExceptions) {
  const FaultCase cases[] = {
      {"finite / 0", [] { return Velmora::div(1, 0); }, FaultKind::FloatZeroDivide},
      {"negative / -0", [] { return Velmora::div(-5, -0.0L); }, FaultKind::FloatZeroDivide},
      {"0 / 0", [] { return Velmora::div(0, 0); }, FaultKind::FloatInvalid},
      {"inf / inf", [] { return Velmora::div(kInf, -kInf); }, FaultKind::FloatInvalid},
      {"inf - inf", [] { return Velmora::sub(kInf, kInf); }, FaultKind::FloatInvalid},
      {"inf + -inf", [] { return Velmora::add(kInf, -kInf); }, FaultKind::FloatInvalid},
      {"0 * inf", [] { return Velmora::mul(0, kInf); }, FaultKind::FloatInvalid},
      {"sum beyond the 80-bit range", [] { return Velmora::add(kMax, kMax); }, FaultKind::FloatOverflow},
      {"product beyond the 80-bit range", [] { return Velmora::mul(kMax, 2); }, FaultKind::FloatOverflow},
      {"quotient beyond the 80-bit range", [] { return Velmora::div(kMax, 0.5L); }, FaultKind::FloatOverflow},
      {"rounding 1e400 to a double", [] { return Velmora::toDouble(1e400L); }, FaultKind::FloatOverflow},
      {"rounding -1e400 to a double", [] { return Velmora::toDouble(-1e400L); }, FaultKind::FloatOverflow},
  };
  for (const FaultCase& c : cases) {
    try {
      c.operation();
      ADD_FAILURE() << c.reason << ": no fault";
    } catch (const ArithmeticFault& fault) {
      EXPECT_EQ(fault.kind(), c.kind) << c.reason;
    }
  }
}

struct SilentCase {
  const char* reason;
  std::function<Extended()> operation;
  Extended expected;  // NaN means any NaN
};

TEST(Extended, silentCasesOfTheMaskedExceptions) {
  const SilentCase cases[] = {
      {"inf / 0 gives inf", [] { return Velmora::div(kInf, 0); }, kInf},
      {"NaN / 0 stays NaN", [] { return Velmora::div(kNaN, 0); }, kNaN},
      {"NaN + 1 stays NaN", [] { return Velmora::add(kNaN, 1); }, kNaN},
      {"NaN * 0 stays NaN", [] { return Velmora::mul(kNaN, 0); }, kNaN},
      {"inf + 1 stays inf", [] { return Velmora::add(kInf, 1); }, kInf},
      {"inf * 2 stays inf", [] { return Velmora::mul(kInf, 2); }, kInf},
      {"underflow to zero", [] { return Velmora::mul(1e-4000L, 1e-4000L); }, 0},
      {"80-bit range beyond the double one", [] { return Velmora::mul(1e300L, 1e300L); }, 1e600L},
      {"rounding inf to a double", [] { return Velmora::toDouble(kInf); }, kInf},
      {"rounding below the double range", [] { return Velmora::toDouble(1e-400L); }, 0},
      {"just above DBL_MAX rounds down to it",
       [] { return Velmora::toDouble(static_cast<Extended>(DBL_MAX) * (1 + 0x1p-55L)); }, DBL_MAX},
  };
  for (const SilentCase& c : cases) {
    Extended value = 0;
    ASSERT_NO_THROW(value = c.operation()) << c.reason;
    if (Velmora::isnan(c.expected))
      EXPECT_TRUE(Velmora::isnan(value)) << c.reason;
    else
      EXPECT_EQ(value, c.expected) << c.reason;
  }
}

TEST(Extended, faultTextsAreTheUsersTexts) {
  EXPECT_STREQ(ArithmeticFault(FaultKind::FloatZeroDivide).what(), "Floating point division by zero");
  EXPECT_STREQ(ArithmeticFault(FaultKind::FloatInvalid).what(), "Invalid floating point operation");
  EXPECT_STREQ(ArithmeticFault(FaultKind::FloatOverflow).what(), "Floating point overflow");
  EXPECT_STREQ(ArithmeticFault(FaultKind::IntZeroDivide).what(), "Division by zero");
  EXPECT_STREQ(ArithmeticFault(FaultKind::IntOverflow).what(), "Integer overflow");
}

TEST(Extended, keepsSixtyFourSignificantBits) {
  // 2^63 + 1 is exact at 80 bits and lost in a double.
  EXPECT_EQ(Velmora::sub(Velmora::add(0x1p63L, 1), 0x1p63L), 1);
}

}  // namespace
