// Random formula texts over the whole language, for the differential tests
// of the evaluation: every operator and function, signs, constants that fold
// and constants that report or fault, parameters and computed indices.
#pragma once

#include <array>
#include <random>
#include <string>

namespace formula_test {

class RandomFormula {
 public:
  explicit RandomFormula(std::uint64_t seed) : engine_(seed) {}

  std::string next(int depth = 5) { return expression(depth); }

 private:
  int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(engine_); }

  std::string leaf() {
    static constexpr std::array<const char*, 18> kLeaves{
        "x[0]", "x[0]", "x[0]", "x[1]", "x[2]", "x[9]", "0", "1",     "2",
        "0.5",  "3.7",  "pi",   "e",    "1000", "10^200", "x[1+1]", "x[sin(10^20)]", "x[x[1]]"};
    return kLeaves[pick(static_cast<int>(kLeaves.size()))];
  }

  // Built by appending: GCC 12 warns falsely about "(" + std::string.
  std::string expression(int depth) {
    if (depth == 0 || pick(5) == 0) return leaf();
    static constexpr std::array<const char*, 16> kFunctions{
        "sin", "cos", "tg", "ctg", "arcsin", "arccos", "arctg", "arcctg",
        "sh",  "ch",  "th", "cth", "exp",    "lg",     "ln",    "sqrt"};
    static constexpr std::array<const char*, 5> kOperators{"+", "-", "*", "/", "%"};
    // "^" with the exponents the evaluation treats apart: a literal 2, small
    // whole numbers, and anything.
    static constexpr std::array<const char*, 5> kExponents{"2", "3", "-1", "0.5", ""};
    std::string text;
    switch (pick(7)) {
      case 0:
      case 1:
        text.append(kFunctions[pick(16)]).append("(").append(expression(depth - 1)).append(")");
        break;
      case 2: {
        const std::string exponent = kExponents[pick(5)];
        text.append("(").append(expression(depth - 1)).append(")^");
        if (exponent.empty())
          text.append("(").append(expression(depth - 1)).append(")");
        else
          text.append(exponent);
        break;
      }
      case 3:
        text.append("-(").append(expression(depth - 1)).append(")");
        break;
      case 4:
        text.append("x[").append(expression(depth - 1)).append("]");
        break;
      default:
        text.append("(").append(expression(depth - 1)).append(kOperators[pick(5)]).append(expression(depth - 1)).append(")");
    }
    return text;
  }

  std::mt19937_64 engine_;
};

}  // namespace formula_test
