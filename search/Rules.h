// The pure rules the engines share, each written once: the characteristics of
// an interval, where two broken lines meet, which of two values is lower and
// which interval a step splits.
// The engines, the replay and the drawing of broken lines call them.
//
// Each operand is on its own line: the first fault raised depends on the order.
#pragma once

#include <algorithm>
#include <cmath>

#include "Extended.h"

namespace VELMORAALG {

// A characteristic of an interval of the given length whose ends have the
// values leftZ and rightZ, with the method's constant of the step.
using CharacteristicRule = Velmora::Extended (*)(Velmora::Extended length, double leftZ, double rightZ,
                                                 double constant);

// The length itself, so the longest interval wins; values and constant take no part.
inline Velmora::Extended LengthCharacteristic(Velmora::Extended length, double, double, double) { return length; }

// The negated minimum of the broken line of slopes +-slope over the interval
// (Piyavsky's, and the geometric variants').
inline Velmora::Extended GeometricCharacteristic(Velmora::Extended length, double leftZ, double rightZ,
                                                 double slope) {
  const Velmora::Extended reach = Velmora::mul(Velmora::mul(length, slope), 0.5L);
  const Velmora::Extended mean = Velmora::mul(Velmora::add(rightZ, leftZ), 0.5L);
  return Velmora::sub(reach, mean);
}

// (dz)^2 / (d m) + d m - 2 (z_right + z_left) with d the length (Strongin's,
// and the information variants').
inline Velmora::Extended InformationCharacteristic(Velmora::Extended length, double leftZ, double rightZ, double m) {
  const Velmora::Extended diff = Velmora::sub(rightZ, leftZ);
  const Velmora::Extended dm = Velmora::mul(length, m);
  const Velmora::Extended quad = Velmora::div(Velmora::mul(diff, diff), dm);
  const Velmora::Extended sum = Velmora::add(quad, dm);
  const Velmora::Extended ends = Velmora::mul(Velmora::add(rightZ, leftZ), 2.0L);
  return Velmora::sub(sum, ends);
}

// Where the lines of slopes -slope through the left end and +slope through
// the right end meet: the new point of the broken-line methods, and the
// vertex a replay draws. Outside the interval when slope is below the slope
// between the ends.
inline Velmora::Extended MeetingPoint(double leftX, double leftZ, double rightX, double rightZ, double slope) {
  const Velmora::Extended mid = Velmora::mul(Velmora::add(rightX, leftX), 0.5L);
  const Velmora::Extended shift = Velmora::div(Velmora::sub(rightZ, leftZ), Velmora::mul(2.0L, slope));
  return Velmora::sub(mid, shift);
}

// For an f whose derivative f' is Lipschitz: how fast f' may change on an
// interval, from the values z and slopes dz at its ends (the curvature
// estimate v of the smooth auxiliary functions). NaN where an end's value or
// slope is not a number.
inline double CurvatureEstimate(double length, double leftZ, double rightZ, double leftDz, double rightDz) {
  const double a = 2 * (leftZ - rightZ) + (leftDz + rightDz) * length;
  const double turn = (rightDz - leftDz) * length;
  return (std::fabs(a) + std::sqrt(a * a + turn * turn)) / (length * length);
}

// The smooth auxiliary function of an interval, with m the estimate of the
// Lipschitz constant of f': the parabola z - m/2 (x - x_end)^2 along the
// slope at each end, joined by the convex parabola of curvature m that
// touches both. It lies below f where m is at least the constant, and is
// continuously differentiable. Computed in doubles, relative to the left end:
// at u = x - leftX it is the left parabola up to W, the middle one
// m u^2/2 + B u + C up to Y, and the right one after.
struct SmoothPieces {
  double W, Y, B, C;
  bool Exists;  ///< false where m is below the curvature estimate: the end parabolas cannot be joined
};
inline SmoothPieces SmoothMinorantPieces(double length, double leftZ, double rightZ, double leftDz, double rightDz,
                                         double m) {
  const double s = m * length + rightDz - leftDz;
  if (!(s > 0)) return {0, 0, 0, 0, false};
  const double middle = (leftZ - rightZ + rightDz * length + m * length * length / 2) / s;
  const double w = middle - s / (4 * m);
  const double y = middle + s / (4 * m);
  const double b = leftDz - 2 * m * w;
  return {w, y, b, leftZ + m * w * w, true};
}

// The auxiliary function's value at u = x - leftX, for a picture.
inline double SmoothMinorantAt(const SmoothPieces& p, double length, double leftZ, double rightZ, double leftDz,
                               double rightDz, double m, double u) {
  if (u <= p.W) return leftZ + leftDz * u - m * u * u / 2;
  if (u >= p.Y) return rightZ + rightDz * (u - length) - m * (u - length) * (u - length) / 2;
  return m * u * u / 2 + p.B * u + p.C;
}

// Charact is the auxiliary function's minimum over the interval, negated (so
// that the largest wins, as for the other methods); Point is where the middle
// parabola is lowest. A non-finite result leaves Charact NaN: such an
// interval is never chosen.
struct SmoothMinorantRule {
  double Charact;
  double Point;
};
inline SmoothMinorantRule SmoothMinorant(double leftX, double rightX, double leftZ, double rightZ, double leftDz,
                                         double rightDz, double m) {
  const SmoothPieces p = SmoothMinorantPieces(rightX - leftX, leftZ, rightZ, leftDz, rightDz, m);
  if (!p.Exists) return {std::nan(""), std::nan("")};
  const double lowest = std::clamp(-p.B / m, p.W, p.Y);
  const double minimum = std::min({leftZ, rightZ, m * lowest * lowest / 2 + p.B * lowest + p.C});
  if (!std::isfinite(minimum) || !std::isfinite(lowest)) return {std::nan(""), std::nan("")};
  return {-minimum, leftX + lowest};
}

// A new point on an end of its interval, whose ends differ, splits nothing:
// the interval has shrunk to neighbouring doubles, or so near them that the
// meeting point rounds onto an end. The run cannot go on there; a point
// beyond the ends is another matter, which each method's rules decide.
inline bool LandsOnAnEnd(double leftX, double rightX, double x) {
  return leftX != rightX && (x == leftX || x == rightX);
}

// NaN never beats a number: z is lower than a NaN whenever z is a number,
// and a NaN is lower than nothing.
inline bool IsLower(double z, double than) { return z < than || (std::isnan(than) && !std::isnan(z)); }

// Whether a new trial's value takes the best point's place: a tie goes to the newer trial.
inline bool TakesBestPlace(double z, double best) { return z == best || IsLower(z, best); }

// Which interval a step splits: the largest characteristic, walked in list
// order. A NaN compares false with everything, so each container must say
// what it does with one; there are two rules, and both are walks of the list.

// A later interval wins only with a strictly greater characteristic than the
// one chosen so far (none yet: haveChosen false), so ties go to the left and
// a NaN never wins: an interval next to a value F could not give is never
// split on its account. The variants take this rule alone and, when no
// characteristic is a number, choose nothing.
inline bool ReplacesChoice(double charact, bool haveChosen, double chosenCharact) {
  return !std::isnan(charact) && (!haveChosen || charact > chosenCharact);
}

// The window's methods walk from the first interval, which is the one to
// beat: a NaN there is never beaten, since nothing is greater than it, and is
// split. Their published rules do so, and their numbers stay those of the rules.
inline bool FirstIntervalHolds(double firstCharact) { return std::isnan(firstCharact); }

}  // namespace VELMORAALG
