#include "GraphSamples.h"

#include <cmath>
#include <exception>

#include "Extended.h"
#include "NumberText.h"

namespace Velmora::Lab {

double graphSampleX(int i, double xmin, double xmax) {
  const Extended c = 0.002L;
  return toDouble(add(mul(mul(static_cast<Extended>(i), c), sub(xmax, xmin)), xmin));
}

GraphCurve graphCurve(FormulaFunction& func, double xmin, double xmax) {
  GraphCurve curve;
  curve.x.reserve(GraphSampleCount);
  curve.f.reserve(GraphSampleCount);
  for (int i = 0; i < GraphSampleCount; ++i) {
    const double x = graphSampleX(i, xmin, xmax);
    double y = NAN;
    try {
      y = func(x);
    } catch (const std::exception& fault) {
      if (curve.faults++ == 0) curve.firstFault = std::string(fault.what()) + " at x = " + shortest(x);
    }
    curve.x.push_back(x);
    curve.f.push_back(y);
  }
  return curve;
}

}  // namespace Velmora::Lab
