// The graph of F over the stored interval.
#include <qcustomplot.h>

#include "FunctionChart.h"
#include "Main.h"

namespace Velmora {

void TMainForm::DrawFunctionGraph() {
  FunctionChart::clear(*Series1);
  FunctionChart::clear(*Series2);
  // c is the extended value nearest 0.002, slightly below it, so the middle
  // sample of -10..10 is -8.67e-19 rather than 0.
  const Extended c = 0.002L;
  for (int i = 0; i < 500; ++i) {
    const Extended x = add(mul(mul(static_cast<Extended>(i), c), sub(Xmax, Xmin)), Xmin);
    const double sample = toDouble(x);
    FunctionChart::append(*Series1, sample, FuncValue(sample));
  }
}

}  // namespace Velmora
