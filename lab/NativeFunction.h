// A function of a test class in native arithmetic, beside its formula text:
// what finding its global minimum and its Lipschitz constant needs.
#pragma once

#include <string>

#include "Extended.h"

namespace Velmora::Lab {

// The grid every search for a minimum walks; at least 100001 points, so a
// minimum between two of them is seen within their spacing.
inline constexpr int GridPoints = 100001;
// Grid points are handed over in blocks of at most this many, so their values
// fit in a callee's buffers on the stack.
inline constexpr int GridBlock = 512;

/// Point j of the grid over [a, b]; point 0 is a and the last is b exactly.
inline double gridPoint(double a, double b, int j) {
  return j == GridPoints - 1 ? b : a + (b - a) * j / (GridPoints - 1);
}

struct SlopeAndCurvature {
  Extended slope;
  Extended curvature;
};

class NativeFunction {
 public:
  NativeFunction(double a, double b) : a(a), b(b) {}
  virtual ~NativeFunction() = default;

  /// The interval of the function's class.
  const double a;
  const double b;

  /// The formula in Velmora's formula language.
  virtual std::string formula() const = 0;
  /// f as the formula engine computes it: the same operations in the same
  /// order, at 80 bits, so the two agree bit for bit where the library
  /// functions do.
  virtual Extended value(double x) const = 0;
  /// f' and f'' at x, to pin a minimiser down.
  virtual SlopeAndCurvature slopeAndCurvature(double x) const = 0;
  /// f and f' in doubles at grid points first .. first + count - 1, count at
  /// most GridBlock: cheap, and close enough to tell the grid's cells apart.
  virtual void gridValues(int first, int count, double* values, double* slopes) const = 0;
  /// An upper bound of |f''| over [a, b], which bounds how far a minimum can
  /// lie below the grid.
  virtual double curvatureBound() const = 0;
};

}  // namespace Velmora::Lab
