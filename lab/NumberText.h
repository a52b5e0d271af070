// The window's own number rules: reading the numbers typed into edits and grid
// cells, and writing numbers in fixed format. No Qt here: the command line
// shares these rules, and tests reach them without a window.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace Velmora::Lab {

// Reads text by the window's rule: leading spaces, an optional sign, digits
// with an optional decimal separator (a lone separator reads as 0), an optional
// exponent, trailing spaces. The value is formed in 80-bit precision. Empty
// when the text does not follow the rule or its value lies beyond the range of
// a double, which would otherwise overflow when stored.
// separator is the regional decimal separator, UTF-8 (for example "," or ".").
std::optional<double> textToNumber(std::string_view text, std::string_view separator);

// Writes value with at most precision significant digits and exactly decimals
// digits after the separator ("-0,4375000" for -0.4375 with precision 8 and 7
// decimals); a value that needs more than precision digits before the
// separator is written in short scientific form ("1,23456789E13").
std::string formatFixed(double value, int precision, int decimals, std::string_view separator);

// The shortest text that reads back as the same double ("0.1", "1e-05",
// "inf", "nan"), with the given decimal separator: "." for files that other
// programs read, whatever the locale.
std::string shortest(double value, std::string_view separator = ".");

}  // namespace Velmora::Lab
