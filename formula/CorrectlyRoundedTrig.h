// sin, cos and tan of a double, correctly rounded (to nearest): the argument
// is reduced by pi/2 exactly, with as many bits of 2/pi as the argument needs,
// and the polynomial is evaluated in double-double arithmetic, about 104 bits.
// Only a true value closer than about 2^-100 of its size to a midpoint of two
// doubles could be misrounded. Plain double operations only (no fused
// multiply-add), so every platform gives the same bits.
#pragma once

namespace Math_Parser::mathlib {

double crSin(double x);  ///< NaN for an infinite or NaN x; sin(-0) is -0.
double crCos(double x);  ///< NaN for an infinite or NaN x.
double crTan(double x);  ///< NaN for an infinite or NaN x; tan(-0) is -0.

}  // namespace Math_Parser::mathlib
