// The evaluation as a literal recursive walk of the parse tree: the rules of
// the formula language written out once more, as the reference for the flat
// program. Test code only.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "Extended.h"
#include "MathLibrary.h"
#include "Math_Parser.h"

namespace formula_test {

using Velmora::Extended;

inline std::int32_t truncatedLow32(Extended v) {
  if (!(v >= -Extended(0x1p63) && v < Extended(0x1p63))) return 0;
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::int64_t>(v)));
}

inline Extended walk(const Math_Parser::TParserNode* node, const double* x) {
  using namespace Math_Parser;
  using namespace Math_Parser::mathlib;
  using Velmora::add, Velmora::sub, Velmora::mul, Velmora::div, Velmora::toDouble;
  if (!node->Left && !node->Right) return node->Value;
  const auto arg = [&] { return toDouble(walk(node->Left, x)); };
  switch (static_cast<int>(node->Value)) {
    case opAdd: { const Extended a = walk(node->Left, x); return add(a, walk(node->Right, x)); }
    case opSub: { const Extended a = walk(node->Left, x); return sub(a, walk(node->Right, x)); }
    case opMul: { const Extended a = walk(node->Left, x); return mul(a, walk(node->Right, x)); }
    case opDiv: { const Extended a = walk(node->Left, x); return div(a, walk(node->Right, x)); }
    case opMod: {
      const std::int32_t a = truncatedLow32(walk(node->Left, x));
      const std::int32_t b = truncatedLow32(walk(node->Right, x));
      if (b == 0) Velmora::raiseFault(Velmora::FaultKind::IntZeroDivide);
      if (b == -1 && a == std::numeric_limits<std::int32_t>::min()) Velmora::raiseFault(Velmora::FaultKind::IntOverflow);
      return a % b;
    }
    case opPow: {
      const TParserNode* power = node->Right;
      if (!power->Left && !power->Right && power->Value == 2) {
        const double base = toDouble(walk(node->Left, x));
        return std::isfinite(base) ? static_cast<Extended>(base) * base : libPow(base, 2);
      }
      const double exponent = toDouble(walk(node->Right, x));
      return libPow(toDouble(walk(node->Left, x)), exponent);
    }
    case opNeg: return -walk(node->Left, x);
    case opVar: {
      const std::int32_t index = truncatedLow32(walk(node->Left, x));
      if (index < 0 || index > 9)
        throw TEvalError("x[" + std::to_string(index) + "] is outside the variables x[0] to x[9]");
      return x[index];
    }
    case opSin: return libSin(arg());
    case opCos: return libCos(arg());
    case opTg: return libTan(arg());
    case opCtg: return div(1.0L, libTan(arg()));
    case opArcsin: return libAsin(arg());
    case opArccos: return libAcos(arg());
    case opArctg: return libAtan(arg());
    case opArcctg: return sub(1.5707963267948966, libAtan(arg()));
    case opExp: return libExp(arg());
    case opLg: return libLog10(arg());
    case opLn: return libLog(arg());
    case opSqrt: return libSqrt(arg());
    default: break;
  }
  // sh, ch, th, cth from exp, each call in its order.
  const double v = arg();
  const Extended plus = libExp(v);
  const Extended minus = libExp(-v);
  switch (static_cast<int>(node->Value)) {
    case opSh: return mul(sub(plus, minus), 0.5L);
    case opCh: return mul(add(plus, minus), 0.5L);
    case opTh: {
      const Extended numerator = sub(plus, minus);
      const Extended plus2 = libExp(v);
      return div(numerator, add(plus2, libExp(-v)));
    }
    default: {
      const Extended numerator = add(plus, minus);
      const Extended plus2 = libExp(v);
      return div(numerator, sub(plus2, libExp(-v)));
    }
  }
}

}  // namespace formula_test
