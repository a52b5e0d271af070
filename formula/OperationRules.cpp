#include "OperationRules.h"

namespace Math_Parser::rules {

Extended remainderOf(Extended left, Extended right) {
  const std::int32_t a = integerOf(left);
  const std::int32_t b = integerOf(right);
  if (b == 0) Velmora::raiseFault(Velmora::FaultKind::IntZeroDivide);
  if (b == -1 && a == std::numeric_limits<std::int32_t>::min())
    Velmora::raiseFault(Velmora::FaultKind::IntOverflow);
  return a % b;
}

Extended hyperbolicSine(double v) {
  const Extended plus = libExp(v);
  return mul(sub(plus, libExp(-v)), 0.5L);
}

Extended hyperbolicCosine(double v) {
  const Extended plus = libExp(v);
  return mul(add(plus, libExp(-v)), 0.5L);
}

Extended hyperbolicTangent(double v) {
  const Extended plus = libExp(v);
  const Extended numerator = sub(plus, libExp(-v));
  const Extended plus2 = libExp(v);
  return div(numerator, add(plus2, libExp(-v)));
}

Extended hyperbolicCotangent(double v) {
  const Extended plus = libExp(v);
  const Extended numerator = add(plus, libExp(-v));
  const Extended plus2 = libExp(v);
  return div(numerator, sub(plus2, libExp(-v)));
}

double slopeCos(double u) { return libCos(u); }
double slopeSin(double u) { return libSin(u); }

bool jumpsAt(Extended v, Extended dv) {
  if (dv == 0 || v == 0 || Velmora::isnan(v)) return false;
  constexpr Extended kLimit = 0x1p63;
  // From 2^63 on every value is whole.
  if (!(Velmora::fabs(v) < kLimit)) return true;
  return static_cast<Extended>(static_cast<std::int64_t>(v)) == v;
}

Extended powerSlope(double a, Extended da, bool baseVaries, double b, Extended db, bool exponentVaries,
                    Extended f) {
  Extended slope = 0;
  if (baseVaries) {
    // b*a^(b-1) from the value where the base is not zero.
    Extended factor = kNaN;
    if (a != 0)
      factor = b * f / a;
    else if (b == 1)
      factor = 1;
    else if (b > 1 && b == std::trunc(b))
      factor = 0;
    slope = slope + factor * da;
  }
  if (exponentVaries) {
    // A zero base stays zero while a positive exponent moves.
    Extended factor = kNaN;
    if (a > 0)
      factor = f * std::log(a);
    else if (a == 0 && b > 0)
      factor = 0;
    slope = slope + factor * db;
  }
  return slope;
}

}  // namespace Math_Parser::rules
