#include "ShekelFunction.h"

#include "FormulaLiteral.h"

namespace Velmora::Lab {

ShekelFunction::ShekelFunction(SplitMix64& draws) : NativeFunction(Lower, Upper) {
  for (Term& t : terms) {
    t.k = draws.uniform(5, 25);
    t.centre = draws.uniform(0, 10);
    t.c = draws.uniform(1, 1.2);
  }
}

ShekelFunction::ShekelFunction(const std::array<Term, Terms>& terms) : NativeFunction(Lower, Upper), terms(terms) {}

// "-1/(...)" divides -1, which is exactly the negated quotient, so every term
// after the first can be subtracted.
std::string ShekelFunction::formula() const {
  std::string text;
  text.reserve(700);
  for (const Term& t : terms) {
    text += &t == &terms[0] ? "-1/(" : " - 1/(";
    appendMagnitude(text, t.k);
    text += "*(x[0]-";
    appendMagnitude(text, t.centre);
    text += ")^2 + ";
    appendMagnitude(text, t.c);
    text += ")";
  }
  return text;
}

Extended ShekelFunction::value(double x) const {
  Extended sum = 0;
  for (const Term& t : terms) {
    // The engine rounds the base of "^" to a double and squares it at 80 bits.
    const double offset = static_cast<double>(x - static_cast<Extended>(t.centre));
    const Extended denominator = t.k * (static_cast<Extended>(offset) * offset) + t.c;
    sum = &t == &terms[0] ? -1.0L / denominator : sum - 1.0L / denominator;
  }
  return sum;
}

SlopeAndCurvature ShekelFunction::slopeAndCurvature(double x) const {
  Extended slope = 0;
  Extended curvature = 0;
  for (const Term& t : terms) {
    const Extended offset = x - static_cast<Extended>(t.centre);
    const Extended kSquare = t.k * offset * offset;
    const Extended reciprocal = 1 / (kSquare + t.c);
    slope += 2 * t.k * offset * reciprocal * reciprocal;
    curvature += 2 * t.k * (t.c - 3 * kSquare) * reciprocal * reciprocal * reciprocal;
  }
  return {slope, curvature};
}

void ShekelFunction::gridValues(int first, int count, double* values, double* slopes) const {
  double x[GridBlock];
  for (int k = 0; k < count; ++k) {
    x[k] = gridPoint(a, b, first + k);
    values[k] = 0;
    slopes[k] = 0;
  }
  for (const Term& t : terms) {
    for (int k = 0; k < count; ++k) {
      const double offset = x[k] - t.centre;
      const double reciprocal = 1 / (t.k * offset * offset + t.c);
      values[k] -= reciprocal;
      slopes[k] += 2 * t.k * offset * reciprocal * reciprocal;
    }
  }
}

// A term's f'' is 2K(c - 3K t^2)/(K t^2 + c)^3, largest in size at t = 0.
double ShekelFunction::curvatureBound() const {
  double bound = 0;
  for (const Term& t : terms) bound += 2 * t.k / (t.c * t.c);
  return bound;
}

}  // namespace Velmora::Lab
