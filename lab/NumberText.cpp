#include "NumberText.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

#include "DoubleChars.h"
#include "Extended.h"

namespace Velmora::Lab {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// 10^n in extended precision; exact while 5^n fits the 64-bit significand
// (n <= 27), so the usual short fractions round only once.
Extended powerOfTen(int n) {
  Extended result = 1;
  Extended base = 10;
  while (n > 0) {
    if (n & 1) result = mul(result, base);
    n >>= 1;
    if (n > 0) base = mul(base, base);
  }
  return result;
}

}  // namespace

std::optional<double> textToNumber(std::string_view text, std::string_view separator) {
  std::size_t pos = 0;
  const auto at = [&](std::size_t i) { return i < text.size() ? text[i] : '\0'; };
  while (at(pos) == ' ') ++pos;

  bool negative = false;
  if (at(pos) == '+' || at(pos) == '-') negative = at(pos++) == '-';

  try {
    Extended digits = 0;
    int fractionDigits = 0;
    bool mantissaSeen = false;
    while (isDigit(at(pos))) {
      digits = add(mul(digits, 10), at(pos++) - '0');
      mantissaSeen = true;
    }
    if (!separator.empty() && text.substr(pos).starts_with(separator)) {
      pos += separator.size();
      mantissaSeen = true;
      while (isDigit(at(pos))) {
        digits = add(mul(digits, 10), at(pos++) - '0');
        ++fractionDigits;
      }
    }
    if (!mantissaSeen) return std::nullopt;

    int exponent = 0;
    if (at(pos) == 'E' || at(pos) == 'e') {
      ++pos;
      bool negativeExponent = false;
      if (at(pos) == '+' || at(pos) == '-') negativeExponent = at(pos++) == '-';
      // Digits are taken only while the exponent stays below 500; any further
      // digit is left over and so fails the text.
      while (isDigit(at(pos)) && exponent < 500) exponent = exponent * 10 + (at(pos++) - '0');
      if (negativeExponent) exponent = -exponent;
    }
    while (at(pos) == ' ') ++pos;
    if (pos != text.size()) return std::nullopt;

    const int scale = exponent - fractionDigits;
    Extended value = digits;
    if (value != 0) {
      value = scale >= 0 ? mul(value, powerOfTen(scale)) : div(value, powerOfTen(-scale));
    }
    if (negative) value = -value;
    return toDouble(value);
  } catch (const ArithmeticFault&) {
    return std::nullopt;
  }
}

namespace {

// The significant digits of a value rounded as asked, and the number of digits
// before the decimal point that they stand for (0 or less below 1).
struct Rounded {
  std::string digits;
  int pointPosition = 0;
};

Rounded roundToSignificant(double magnitude, int significant) {
  char buffer[64];
  const auto result = precisionChars(buffer, buffer + sizeof buffer, magnitude,
                                     std::chars_format::scientific, significant - 1);
  const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
  const auto e = text.find('e');
  Rounded rounded;
  for (char c : text.substr(0, e))
    if (isDigit(c)) rounded.digits += c;
  rounded.pointPosition = std::atoi(std::string(text.substr(e + 1)).c_str()) + 1;
  return rounded;
}

Rounded roundToDecimals(double magnitude, int decimals) {
  char buffer[400];
  const auto result = precisionChars(buffer, buffer + sizeof buffer, magnitude,
                                     std::chars_format::fixed, decimals);
  const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
  const auto point = text.find('.');
  Rounded rounded;
  rounded.digits = std::string(text.substr(0, point));
  if (point != std::string_view::npos) rounded.digits += text.substr(point + 1);
  rounded.pointPosition = static_cast<int>(point == std::string_view::npos ? text.size() : point);
  // Leading zeros carry no significance: "0.0012" is 12 with the point 2 places before it.
  std::size_t lead = 0;
  while (lead < rounded.digits.size() && rounded.digits[lead] == '0') ++lead;
  rounded.digits.erase(0, lead);
  rounded.pointPosition -= static_cast<int>(lead);
  return rounded;
}

}  // namespace

std::string formatFixed(double value, int precision, int decimals, std::string_view separator) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";

  const double magnitude = std::fabs(value);
  Rounded rounded;
  if (magnitude != 0) {
    rounded = roundToSignificant(magnitude, precision);
    // Fewer digits survive when the decimals end the number before the
    // significant digits do.
    if (rounded.pointPosition + decimals < precision) rounded = roundToDecimals(magnitude, decimals);
  }
  while (!rounded.digits.empty() && rounded.digits.back() == '0') rounded.digits.pop_back();

  std::string out;
  // A value that rounds to zero is written without a sign.
  if (value < 0 && !rounded.digits.empty()) out += '-';

  if (rounded.pointPosition > precision) {
    out += rounded.digits[0];
    if (rounded.digits.size() > 1) {
      out += separator;
      out += rounded.digits.substr(1);
    }
    out += 'E';
    out += std::to_string(rounded.pointPosition - 1);
    return out;
  }

  const auto digitAt = [&](int i) {  // i-th digit counted from the point, 0 the first before it
    return i >= 0 && i < static_cast<int>(rounded.digits.size()) ? rounded.digits[i] : '0';
  };
  if (rounded.digits.empty() || rounded.pointPosition <= 0) {
    out += '0';
  } else {
    for (int i = 0; i < rounded.pointPosition; ++i) out += digitAt(i);
  }
  out += separator;
  for (int d = 0; d < decimals; ++d) out += rounded.digits.empty() ? '0' : digitAt(rounded.pointPosition + d);
  return out;
}

std::string shortest(double value, std::string_view separator) {
  char buffer[64];
  const auto end = shortestChars(buffer, buffer + sizeof buffer, value).ptr;
  std::string text(buffer, end);
  if (const auto point = text.find('.'); point != std::string::npos) text.replace(point, 1, separator);
  return text;
}

}  // namespace Velmora::Lab
