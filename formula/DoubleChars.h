// Doubles to and from text, as std::to_chars and std::from_chars give them:
// the shortest text that reads back to the same double, fixed or scientific
// with a precision, and the nearest double to a text. Where the C++ library
// has them they are its own; the WebAssembly toolchain's library (libc++ 13)
// has none for floating point, and there the same texts come from printf and
// strtod, which round correctly.
#pragma once

#include <charconv>
#include <system_error>

namespace Velmora {

// The library's, or the printf and strtod route that stands in for it; both
// are built everywhere, so that a test holds the second to the first.
enum class CharsRoute { Library, Printf };

// std::to_chars(first, last, value): the shortest round-trip text, fixed or
// scientific, whichever is shorter ("1e+100", "0.0001", "1e-05").
std::to_chars_result shortestChars(char* first, char* last, double value, CharsRoute route = CharsRoute::Library);
// std::to_chars(first, last, value, std::chars_format::fixed): the shortest
// round-trip text in fixed notation.
std::to_chars_result shortestFixedChars(char* first, char* last, double value, CharsRoute route = CharsRoute::Library);
// std::to_chars(first, last, value, format, precision) for fixed or scientific.
std::to_chars_result precisionChars(char* first, char* last, double value, std::chars_format format, int precision,
                                    CharsRoute route = CharsRoute::Library);
// std::from_chars(first, last, value, format) for general or fixed: no sign
// but "-", no blanks, no hexadecimal, inf and nan in any case; out of range
// leaves value unchanged.
std::from_chars_result doubleFromChars(const char* first, const char* last, double& value,
                                       std::chars_format format = std::chars_format::general,
                                       CharsRoute route = CharsRoute::Library);

}  // namespace Velmora
