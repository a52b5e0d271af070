// The window's number rules under any bytes, with "," and "." as the regional
// separator. Reading: a text is accepted exactly when it follows the rule, and
// then its value is the decimal number it writes (to within the rounding of
// the 80-bit computation) and a double. Writing: every double comes out in the
// fixed or the short scientific form, reads back to the value it was rounded
// to, and writes again to the same text.
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "NumberText.h"

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The reading rule, written out again from its description: the decimal
// number the text writes (as text for strtod), or nothing.
struct Decimal {
  std::string text;  // for strtod
  int scale = 0;     // the power of ten the digits are scaled by
};

std::optional<Decimal> followsRule(std::string_view text, std::string_view separator) {
  std::size_t pos = 0;
  const auto at = [&](std::size_t i) { return i < text.size() ? text[i] : '\0'; };
  while (at(pos) == ' ') ++pos;
  std::string number;
  if (at(pos) == '+' || at(pos) == '-') number += text[pos++];
  std::string whole, fraction;
  while (isDigit(at(pos))) whole += text[pos++];
  bool separatorSeen = false;
  if (!separator.empty() && text.substr(pos).starts_with(separator)) {
    separatorSeen = true;
    pos += separator.size();
    while (isDigit(at(pos))) fraction += text[pos++];
  }
  if (whole.empty() && !separatorSeen) return std::nullopt;
  number += (whole.empty() ? "0" : whole) + "." + fraction + "0";
  int exponent = 0;
  if (at(pos) == 'E' || at(pos) == 'e') {
    ++pos;
    bool negative = false;
    if (at(pos) == '+' || at(pos) == '-') negative = text[pos++] == '-';
    while (isDigit(at(pos)) && exponent < 500) exponent = exponent * 10 + (text[pos++] - '0');
    if (negative) exponent = -exponent;
    number += 'e';
    number += std::to_string(exponent);
  }
  while (at(pos) == ' ') ++pos;
  if (pos != text.size()) return std::nullopt;
  return Decimal{number, exponent - static_cast<int>(fraction.size())};
}

// How far the 80-bit computation may stray from the decimal value: a few
// units in the last place of a double, and the spacing of the subnormals.
bool closeTo(double got, double exact) {
  if (got == exact) return true;
  const double tolerance = std::max(std::fabs(exact) * 8 * 2.220446049250313e-16, 4 * 4.9406564584124654e-324);
  return std::fabs(got - exact) <= tolerance;
}

void checkReading(std::string_view text, std::string_view separator) {
  const std::optional<double> value = Velmora::Lab::textToNumber(text, separator);
  const std::optional<Decimal> number = followsRule(text, separator);
  if (!number) {
    VELMORA_FUZZ_CHECK(!value, "a text off the rule is refused");
    return;
  }
  const double exact = std::strtod(number->text.c_str(), nullptr);
  const bool beyond = std::isinf(exact);
  if (value) {
    VELMORA_FUZZ_CHECK(std::isfinite(*value), "a number read is a finite double");
    VELMORA_FUZZ_CHECK(!beyond, "a value beyond the double range is refused");
    VELMORA_FUZZ_CHECK(closeTo(*value, exact), "the value read is the decimal number written");
    VELMORA_FUZZ_CHECK(std::signbit(*value) == (number->text.front() == '-'), "the sign is the one written");
  } else {
    // Refusing a text on the rule is right only beyond the double range,
    // give or take the rounding at its edge, or when the power of ten the
    // value is scaled by lies beyond the 80-bit range ("5E-4999", which
    // would otherwise read as 0), or the digits alone overflow it.
    const bool nearEdge = std::fabs(exact) > 1.79e308;
    const bool absurd = text.size() > 4900 || std::abs(number->scale) > 4931;
    VELMORA_FUZZ_CHECK(beyond || nearEdge || absurd, "a text on the rule within range is read");
  }
}

void checkWriting(double value, int precision, int decimals, std::string_view separator) {
  const std::string text = Velmora::Lab::formatFixed(value, precision, decimals, separator);
  if (!std::isfinite(value)) return;
  VELMORA_FUZZ_CHECK(!text.empty(), "every number is written");

  // The shape: "-"? digits separator exactly `decimals` digits, or the short
  // scientific form d[,ddd]E[-]n with at most `precision` digits.
  std::string_view rest = text;
  if (rest.front() == '-') rest.remove_prefix(1);
  const auto e = rest.find('E');
  if (e == std::string_view::npos) {
    const auto sep = rest.find(separator);
    VELMORA_FUZZ_CHECK(sep != std::string_view::npos && sep > 0, "digits before the separator");
    VELMORA_FUZZ_CHECK(sep <= static_cast<std::size_t>(precision) || sep == 1, "at most precision digits before it");
    const std::string_view whole = rest.substr(0, sep), fraction = rest.substr(sep + separator.size());
    VELMORA_FUZZ_CHECK(std::all_of(whole.begin(), whole.end(), isDigit), "only digits before the separator");
    VELMORA_FUZZ_CHECK(fraction.size() == static_cast<std::size_t>(decimals) &&
                           std::all_of(fraction.begin(), fraction.end(), isDigit),
                       "exactly the decimals after it");
    VELMORA_FUZZ_CHECK(whole.size() == 1 || whole.front() != '0', "no leading zeros");
  } else {
    const std::string_view mantissa = rest.substr(0, e), exponent = rest.substr(e + 1);
    VELMORA_FUZZ_CHECK(!mantissa.empty() && isDigit(mantissa.front()) && mantissa.front() != '0',
                       "the scientific form starts with a significant digit");
    std::size_t digits = 1;
    if (mantissa.size() > 1) {
      VELMORA_FUZZ_CHECK(mantissa.substr(1, separator.size()) == separator, "then the separator");
      const std::string_view more = mantissa.substr(1 + separator.size());
      VELMORA_FUZZ_CHECK(!more.empty() && more.back() != '0' && std::all_of(more.begin(), more.end(), isDigit),
                         "then significant digits without trailing zeros");
      digits += more.size();
    }
    VELMORA_FUZZ_CHECK(digits <= static_cast<std::size_t>(precision), "at most precision digits");
    const std::string_view magnitude = exponent.starts_with('-') ? exponent.substr(1) : exponent;
    VELMORA_FUZZ_CHECK(!magnitude.empty() && std::all_of(magnitude.begin(), magnitude.end(), isDigit) &&
                           (magnitude.size() == 1 || magnitude.front() != '0'),
                       "a plain exponent");
  }

  // The text reads back as the value rounded as written, and writes again the
  // same; at the top of the range the rounding itself may pass the largest double.
  if (std::fabs(value) > 1e308) return;
  const std::optional<double> back = Velmora::Lab::textToNumber(text, separator);
  VELMORA_FUZZ_CHECK(back.has_value(), "what the window writes it can read");
  // Half a unit of the last digit written, and the spacing of doubles there.
  const double spacing = std::nextafter(std::fabs(value), INFINITY) - std::fabs(value);
  const double allowed =
      std::max(0.5 * std::pow(10.0, -decimals), std::fabs(value) * 0.5 * std::pow(10.0, 1 - precision)) * 1.000001 +
      2 * spacing;
  VELMORA_FUZZ_CHECK(std::fabs(*back - value) <= allowed, "the text is the value rounded");
  VELMORA_FUZZ_CHECK(Velmora::Lab::formatFixed(*back, precision, decimals, separator) == text,
                     "writing what was read gives the same text");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  // The first byte chooses the separator and the writing precision; the rest
  // is the text, and its first eight bytes also a double to write.
  const std::uint8_t control = data[0];
  const std::string_view separator = (control & 1) ? "," : ".";
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  checkReading(text, separator);

  // The window writes with precision 10 and 7 or 9 decimals, and 8 and 7.
  static const int formats[][2] = {{10, 7}, {10, 9}, {8, 7}, {15, 0}, {1, 3}, {12, 15}, {17, 2}, {5, 12}};
  const auto& format = formats[(control >> 1) % 8];
  if (size >= 9) {
    std::uint64_t bits;
    std::memcpy(&bits, data + 1, sizeof bits);
    checkWriting(std::bit_cast<double>(bits), format[0], format[1], separator);
  }
  // Numbers the user typed, written back as Random and Search write them.
  if (const auto read = Velmora::Lab::textToNumber(text, separator))
    checkWriting(*read, format[0], format[1], separator);
  return 0;
}
