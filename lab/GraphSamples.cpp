#include "GraphSamples.h"

#include "Extended.h"

namespace Velmora::Lab {

double graphSampleX(int i, double xmin, double xmax) {
  const Extended c = 0.002L;
  return toDouble(add(mul(mul(static_cast<Extended>(i), c), sub(xmax, xmin)), xmin));
}

}  // namespace Velmora::Lab
