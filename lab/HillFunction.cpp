#include "HillFunction.h"

#include <cmath>
#include <numbers>
#include <vector>

#include "FormulaLiteral.h"
#include "MathLibrary.h"

namespace Velmora::Lab {

namespace {

// The formula's pi is the double nearest pi.
constexpr double Pi = std::numbers::pi;

// cos and sin of 2 pi x at every grid point of [0, 1]. Every function of the
// class walks the same grid; the higher harmonics follow by rotation.
struct FirstHarmonic {
  std::vector<double> cos;
  std::vector<double> sin;
};

const FirstHarmonic& firstHarmonic() {
  // Built once, on first use, whichever thread comes first.
  static const FirstHarmonic table = [] {
    FirstHarmonic t;
    t.cos.resize(GridPoints);
    t.sin.resize(GridPoints);
    for (int j = 0; j < GridPoints; ++j) {
      const double angle = 2 * Pi * gridPoint(HillFunction::Lower, HillFunction::Upper, j);
      t.cos[j] = Math_Parser::mathlib::libCos(angle);
      t.sin[j] = Math_Parser::mathlib::libSin(angle);
    }
    return t;
  }();
  return table;
}

}  // namespace

HillFunction::HillFunction(SplitMix64& draws) : NativeFunction(Lower, Upper) {
  for (int i = 0; i < Harmonics; ++i) {
    sine[i] = draws.uniform(-1, 1);
    cosine[i] = draws.uniform(-1, 1);
  }
}

HillFunction::HillFunction(const std::array<double, Harmonics>& sine, const std::array<double, Harmonics>& cosine)
    : NativeFunction(Lower, Upper), sine(sine), cosine(cosine) {}

std::string HillFunction::formula() const {
  std::string text;
  text.reserve(1400);
  appendCoefficient(text, cosine[0], true);
  for (int i = 1; i < Harmonics; ++i) {
    const std::string angle = "(2*pi*" + std::to_string(i) + "*x[0])";
    appendCoefficient(text, sine[i], false);
    text += "*sin" + angle;
    appendCoefficient(text, cosine[i], false);
    text += "*cos" + angle;
  }
  return text;
}

Extended HillFunction::value(double x) const {
  Extended sum = cosine[0];
  for (int i = 1; i < Harmonics; ++i) {
    // The engine's argument: 2*pi*i*x[0] at 80 bits, rounded for the library.
    const double angle = static_cast<double>(Extended(2) * Pi * i * x);
    sum += sine[i] * static_cast<Extended>(Math_Parser::mathlib::libSin(angle));
    sum += cosine[i] * static_cast<Extended>(Math_Parser::mathlib::libCos(angle));
  }
  return sum;
}

SlopeAndCurvature HillFunction::slopeAndCurvature(double x) const {
  const Extended angle = Extended(2) * Pi * x;
  const Extended cos1 = std::cos(static_cast<long double>(angle));
  const Extended sin1 = std::sin(static_cast<long double>(angle));
  Extended c = 1;
  Extended s = 0;
  Extended slope = 0;
  Extended curvature = 0;
  for (int i = 1; i < Harmonics; ++i) {
    const Extended rotated = c * cos1 - s * sin1;
    s = s * cos1 + c * sin1;
    c = rotated;
    const Extended w = Extended(2) * Pi * i;
    slope += w * (sine[i] * c - cosine[i] * s);
    curvature -= w * w * (sine[i] * s + cosine[i] * c);
  }
  return {slope, curvature};
}

void HillFunction::gridValues(int first, int count, double* values, double* slopes) const {
  const FirstHarmonic& table = firstHarmonic();
  const double* cos1 = table.cos.data() + first;
  const double* sin1 = table.sin.data() + first;
  double c[GridBlock];
  double s[GridBlock];
  for (int k = 0; k < count; ++k) {
    c[k] = cos1[k];
    s[k] = sin1[k];
    values[k] = cosine[0];
    slopes[k] = 0;
  }
  // Harmonic by harmonic over the whole block, so each inner loop is a plain
  // vectorisable sweep; harmonic i + 1 is harmonic i turned by 2 pi x.
  for (int i = 1; i < Harmonics; ++i) {
    const double a = sine[i];
    const double b = cosine[i];
    const double wa = 2 * Pi * i * a;
    const double wb = 2 * Pi * i * b;
    for (int k = 0; k < count; ++k) {
      values[k] += a * s[k] + b * c[k];
      slopes[k] += wa * c[k] - wb * s[k];
      const double rotated = c[k] * cos1[k] - s[k] * sin1[k];
      s[k] = s[k] * cos1[k] + c[k] * sin1[k];
      c[k] = rotated;
    }
  }
}

// |a sin t + b cos t| <= sqrt(a^2 + b^2), and harmonic i's f'' is that times (2 pi i)^2.
double HillFunction::curvatureBound() const {
  double bound = 0;
  for (int i = 1; i < Harmonics; ++i) bound += std::pow(2 * Pi * i, 2) * std::hypot(sine[i], cosine[i]);
  return bound;
}

}  // namespace Velmora::Lab
