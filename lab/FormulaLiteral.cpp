#include "FormulaLiteral.h"

#include <array>
#include <charconv>
#include <cmath>

#include "DoubleChars.h"

namespace Velmora::Lab {

void appendMagnitude(std::string& text, double value) {
  // The longest fixed forms: 326 characters for the smallest subnormal, 309
  // digits for the largest double.
  std::array<char, 330> digits;
  char* end =
      shortestFixedChars(digits.data(), digits.data() + digits.size(), std::fabs(value)).ptr;
  text.append(digits.data(), static_cast<std::size_t>(end - digits.data()));
}

// A subtracted product has the same value as an added negative one, since
// negation is exact; writing the sign as an operator keeps to one sign per
// operand, as the grammar requires.
void appendCoefficient(std::string& text, double value, bool first) {
  if (first)
    text += std::signbit(value) ? "-" : "";
  else
    text += std::signbit(value) ? " - " : " + ";
  appendMagnitude(text, value);
}

}  // namespace Velmora::Lab
