// Numbers written into formula text. The formula language has no exponent and
// reads a number with from_chars, so a value is written in plain decimals,
// as the shortest such text that reads back as the same double.
#pragma once

#include <string>

namespace Velmora::Lab {

/// Appends |value|, which must be finite.
void appendMagnitude(std::string& text, double value);

/// Appends a term's coefficient with its sign as an operator (" + 0.25",
/// " - 0.25"); the first term of a formula takes a leading "-" only.
void appendCoefficient(std::string& text, double value, bool first);

}  // namespace Velmora::Lab
