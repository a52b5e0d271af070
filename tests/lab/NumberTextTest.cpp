#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <optional>

#include "NumberText.h"

namespace Velmora {
namespace {

struct ConversionCase {
  const char* text;
  const char* separator;
  std::optional<double> expected;
  const char* why;
};

const ConversionCase conversionCases[] = {
    {"+10", ",", 10.0, "a leading plus is accepted"},
    {"-10", ",", -10.0, "sign"},
    {"1e1", ",", 10.0, "exponent without sign"},
    {"  10  ", ",", 10.0, "spaces before and after"},
    {"0,1", ",", 0.1, "comma locale"},
    {"0.1", ".", 0.1, "point locale"},
    {"0,1", ".", std::nullopt, "the comma defaults fail under a point locale"},
    {"0.1", ",", std::nullopt, "a point fails under a comma locale"},
    {"1,5", ",", 1.5, "the method parameter default"},
    {",", ",", 0.0, "a lone separator reads as 0"},
    {",5", ",", 0.5, "no digits before the separator"},
    {"5,", ",", 5.0, "no digits after the separator"},
    {"-0,0001234567891", ",", -0.0001234567891, "many decimals"},
    {"1E-2", ",", 0.01, "capital E and a negative exponent"},
    {"1e", ",", 1.0, "no exponent digits mean exponent 0"},
    {"1e+", ",", 1.0, "a signed exponent without digits"},
    {"2,5e3", ",", 2500.0, "decimals and exponent"},
    {"00012", ",", 12.0, "leading zeros"},
    {"1e308", ",", 1e308, "near the top of the double range"},
    {"0e999", ",", 0.0, "the exponent stops being read at 999, zero stays zero"},
    {"1e-400", ",", 0.0, "below the double range rounds to zero silently"},
    {"1,8e308", ",", std::nullopt, "beyond the double range is a failed conversion"},
    {"1e499", ",", std::nullopt, "within the extended range but not a double's"},
    {"1e500", ",", std::nullopt, "the exponent reading stops at 500, value too large"},
    {"1e5000", ",", std::nullopt, "a digit left over after the exponent stopped"},
    {"", ",", std::nullopt, "empty"},
    {"   ", ",", std::nullopt, "only spaces"},
    {"+", ",", std::nullopt, "sign without digits"},
    {"-", ",", std::nullopt, "sign without digits"},
    {"e5", ",", std::nullopt, "exponent without mantissa"},
    {"abc", ",", std::nullopt, "letters"},
    {"10abc", ",", std::nullopt, "trailing letters"},
    {"1 2", ",", std::nullopt, "two numbers"},
    {"\t1", ",", std::nullopt, "only the space counts as a blank"},
    {"1,5,5", ",", std::nullopt, "two separators"},
    {"+-1", ",", std::nullopt, "two signs"},
    {"1\xd9\xab" "5", "\xd9\xab", 1.5, "a separator of more than one byte"},
};

TEST(NumberText, textToNumberFollowsTheWindowsRule) {
  for (const auto& c : conversionCases) {
    SCOPED_TRACE(std::string("\"") + c.text + "\" with \"" + c.separator + "\": " + c.why);
    const auto got = Lab::textToNumber(c.text, c.separator);
    ASSERT_EQ(got.has_value(), c.expected.has_value());
    if (got) {
      EXPECT_EQ(*got, *c.expected);
    }
  }
}

TEST(NumberText, negativeZeroKeepsItsSign) {
  const auto got = Lab::textToNumber("-0", ",");
  ASSERT_TRUE(got);
  EXPECT_TRUE(std::signbit(*got));
}

struct FixedCase {
  double value;
  int precision;
  int decimals;
  const char* expected;
  const char* why;
};

const FixedCase fixedCases[] = {
    {1.5, 10, 7, "1,5000000", "places beyond the digits are zeros"},
    {-2, 10, 7, "-2,0000000", "negative integer"},
    {1234.56789012, 10, 7, "1234,5678900", "ten significant digits, fewer than 7 decimals survive"},
    {-0.0001234567891, 10, 7, "-0,0001235", "rounded at the seventh decimal"},
    {0.15625, 10, 9, "0,156250000", "nine decimals"},
    {12345678901234.0, 10, 7, "1,23456789E13", "more than P digits before the point: short scientific"},
    {1e10, 10, 7, "1E10", "a single significant digit has no separator"},
    {9999999999.0, 10, 7, "9999999999,0000000", "exactly P digits before the point"},
    {99999999999.6, 10, 7, "1E11", "rounding to P digits carries into a new digit"},
    {0.0, 10, 7, "0,0000000", "zero"},
    {-0.0, 10, 7, "0,0000000", "negative zero has no sign"},
    {-0.00000001, 10, 7, "0,0000000", "a value that rounds to zero has no sign"},
    {0.00000006, 10, 7, "0,0000001", "rounds up into the last decimal"},
    {0.99999999996, 10, 7, "1,0000000", "rounding carries before the point"},
    {-0.5, 8, 7, "-0,5000000", "Random's examples"},
    {-1.0, 8, 7, "-1,0000000", "Random's examples"},
    {0.25, 8, 7, "0,2500000", "Random's examples"},
    {-0.4375, 8, 7, "-0,4375000", "Random's examples"},
    {0.03125, 8, 7, "0,0312500", "Random's examples"},
    {123.456789, 8, 7, "123,4567900", "eight significant digits"},
};

TEST(NumberText, formatFixedWritesPrecisionAndDecimals) {
  for (const auto& c : fixedCases) {
    SCOPED_TRACE(std::string(c.expected) + ": " + c.why);
    EXPECT_EQ(Lab::formatFixed(c.value, c.precision, c.decimals, ","), c.expected);
  }
}

TEST(NumberText, formatFixedUsesTheGivenSeparator) {
  EXPECT_EQ(Lab::formatFixed(1.5, 10, 7, "."), "1.5000000");
  EXPECT_EQ(Lab::formatFixed(12345678901234.0, 10, 7, "."), "1.23456789E13");
  EXPECT_EQ(Lab::formatFixed(-0.4375, 8, 7, "\xd9\xab"), "-0\xd9\xab" "4375000");
}

TEST(NumberText, formatFixedOfNonFiniteValues) {
  EXPECT_EQ(Lab::formatFixed(std::numeric_limits<double>::quiet_NaN(), 10, 7, ","), "NAN");
  EXPECT_EQ(Lab::formatFixed(std::numeric_limits<double>::infinity(), 10, 7, ","), "INF");
  EXPECT_EQ(Lab::formatFixed(-std::numeric_limits<double>::infinity(), 10, 7, ","), "-INF");
}

// What the window writes it can read back, under either separator.
TEST(NumberText, fixedTextReadsBackToItsRoundedValue) {
  for (const char* sep : {",", "."}) {
    for (int k = -32000; k < 32000; k += 997) {
      const double v = k * 0.00003125;
      const auto back = Lab::textToNumber(Lab::formatFixed(v, 8, 7, sep), sep);
      ASSERT_TRUE(back);
      EXPECT_NEAR(*back, v, 0.5e-7 + 1e-15) << k;
    }
  }
}

}  // namespace
}  // namespace Velmora
