#include "DoubleChars.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

// Whether the C++ library converts doubles itself (libstdc++ 11 on, libc++ 14 on).
#if defined(__cpp_lib_to_chars) || (defined(_LIBCPP_VERSION) && _LIBCPP_VERSION >= 14000)
#define VELMORA_LIBRARY_FLOAT_CHARS 1
#else
#define VELMORA_LIBRARY_FLOAT_CHARS 0
#endif

namespace Velmora {

namespace {

[[maybe_unused]] bool useLibrary(CharsRoute route) { return VELMORA_LIBRARY_FLOAT_CHARS && route == CharsRoute::Library; }

std::to_chars_result put(char* first, char* last, const std::string& text) {
  if (static_cast<std::size_t>(last - first) < text.size()) return {last, std::errc::value_too_large};
  std::memcpy(first, text.data(), text.size());
  return {first + text.size(), std::errc()};
}

// "inf", "-inf", "nan" or "-nan", as the library writes them.
std::string nonFinite(double value) {
  return std::string(std::signbit(value) ? "-" : "") + (std::isnan(value) ? "nan" : "inf");
}

// The fewest significant digits that read back to |value| (not 0, finite),
// and the decimal exponent of the first: |value| ~ d.ddd x 10^exponent.
// printf's digits are the correctly rounded ones; at a power of two, where
// the doubles below lie closer than those above, a text one digit shorter
// that is not the nearest may also read back, and is not found.
void shortestDigits(double magnitude, std::string& digits, int& exponent) {
  char buffer[40];
  for (int precision = 1; precision <= 17; ++precision) {
    std::snprintf(buffer, sizeof buffer, "%.*e", precision - 1, magnitude);
    if (std::strtod(buffer, nullptr) == magnitude || precision == 17) break;
  }
  const char* e = std::strchr(buffer, 'e');
  digits.clear();
  for (const char* c = buffer; c != e; ++c)
    if (*c != '.') digits += *c;
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  exponent = std::atoi(e + 1);
}

// A whole number longer than its shortest digits is written with all of its
// own digits: of the texts of that length, the nearest to the value.
std::string fixedForm(double magnitude, const std::string& digits, int exponent) {
  const int n = static_cast<int>(digits.size());
  if (exponent < 0) return "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
  if (n <= exponent + 1) {
    std::string whole(static_cast<std::size_t>(exponent) + 2, '\0');
    std::snprintf(whole.data(), whole.size(), "%.0f", magnitude);
    whole.pop_back();
    return whole;
  }
  return digits.substr(0, static_cast<std::size_t>(exponent + 1)) + "." + digits.substr(static_cast<std::size_t>(exponent + 1));
}

std::string scientificForm(double, const std::string& digits, int exponent) {
  std::string text = digits.substr(0, 1);
  if (digits.size() > 1) text += "." + digits.substr(1);
  char tail[8];
  std::snprintf(tail, sizeof tail, "e%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
  return text + tail;
}

template <class Form>
std::to_chars_result shortestBy(char* first, char* last, double value, Form form) {
  if (!std::isfinite(value)) return put(first, last, nonFinite(value));
  const std::string sign = std::signbit(value) ? "-" : "";
  if (value == 0) return put(first, last, sign + "0");
  std::string digits;
  int exponent = 0;
  shortestDigits(std::fabs(value), digits, exponent);
  return put(first, last, sign + form(std::fabs(value), digits, exponent));
}

}  // namespace

std::to_chars_result shortestChars(char* first, char* last, double value, CharsRoute route) {
#if VELMORA_LIBRARY_FLOAT_CHARS
  if (useLibrary(route)) return std::to_chars(first, last, value);
#endif
  // The shorter of the two forms; fixed on a tie.
  return shortestBy(first, last, value, [](double magnitude, const std::string& digits, int exponent) {
    std::string fixed = fixedForm(magnitude, digits, exponent);
    std::string scientific = scientificForm(magnitude, digits, exponent);
    return scientific.size() < fixed.size() ? scientific : fixed;
  });
}

std::to_chars_result shortestFixedChars(char* first, char* last, double value, CharsRoute route) {
#if VELMORA_LIBRARY_FLOAT_CHARS
  if (useLibrary(route)) return std::to_chars(first, last, value, std::chars_format::fixed);
#endif
  return shortestBy(first, last, value, fixedForm);
}

std::to_chars_result precisionChars(char* first, char* last, double value, std::chars_format format, int precision,
                                    CharsRoute route) {
#if VELMORA_LIBRARY_FLOAT_CHARS
  if (useLibrary(route)) return std::to_chars(first, last, value, format, precision);
#endif
  if (!std::isfinite(value)) return put(first, last, nonFinite(value));
  const int size = std::snprintf(nullptr, 0, format == std::chars_format::fixed ? "%.*f" : "%.*e", precision, value);
  std::string text(static_cast<std::size_t>(size) + 1, '\0');
  std::snprintf(text.data(), text.size(), format == std::chars_format::fixed ? "%.*f" : "%.*e", precision, value);
  text.pop_back();
  return put(first, last, text);
}

std::from_chars_result doubleFromChars(const char* first, const char* last, double& value, std::chars_format format,
                                       CharsRoute route) {
#if VELMORA_LIBRARY_FLOAT_CHARS
  if (useLibrary(route)) return std::from_chars(first, last, value, format);
#endif
  // What from_chars would read: an optional "-", then digits with at most
  // one point and (general only) an exponent, or inf, infinity or nan.
  const char* p = first;
  if (p != last && *p == '-') ++p;
  const char* body = p;
  const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
  std::size_t mantissaDigits = 0;
  while (p != last && isDigit(*p)) ++p, ++mantissaDigits;
  if (p != last && *p == '.') {
    ++p;
    while (p != last && isDigit(*p)) ++p, ++mantissaDigits;
  }
  if (mantissaDigits == 0) {
    // inf, infinity or nan, in any case.
    const auto word = [&](const char* w) {
      const std::size_t n = std::strlen(w);
      if (static_cast<std::size_t>(last - body) < n) return false;
      for (std::size_t i = 0; i < n; ++i)
        if ((body[i] | 0x20) != w[i]) return false;
      return true;
    };
    if (word("infinity")) p = body + 8;
    else if (word("inf")) p = body + 3;
    else if (word("nan")) p = body + 3;
    else return {first, std::errc::invalid_argument};
  } else if (format != std::chars_format::fixed && p != last && (*p == 'e' || *p == 'E')) {
    const char* q = p + 1;
    if (q != last && (*q == '+' || *q == '-')) ++q;
    if (q != last && isDigit(*q)) {
      while (q != last && isDigit(*q)) ++q;
      p = q;
    }
  }
  const std::string text(first, p);
  errno = 0;
  const double parsed = std::strtod(text.c_str(), nullptr);
  // Beyond the doubles, or below the smallest but not zero.
  if (errno == ERANGE && (std::isinf(parsed) || parsed == 0)) return {p, std::errc::result_out_of_range};
  value = parsed;
  return {p, std::errc()};
}

}  // namespace Velmora
