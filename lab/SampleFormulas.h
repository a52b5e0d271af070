// The six formulas of the window's list "Из списка:", which the web page
// offers as well.
#pragma once

namespace Velmora::Lab {

inline constexpr const char* SampleFormulas[6] = {
    "x[0]^2 - 5",
    "x[0]^2 + 6 * sin( 2*pi *x[0] )",
    "cos(x[0]) + 2*cos(2*x[0]) * 2.27^(-x[0]/2)",
    "sin(x[0]) + sin( 10*x[0]/3 )",
    "(1.4 - 3*x[0]) * sin( 18*x[0] )",
    "2*( x[0]-3 )^2 + exp( x[0]^2 / 2 )",
};

}  // namespace Velmora::Lab
