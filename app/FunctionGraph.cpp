// The graph of F over the stored interval.
#include <qcustomplot.h>

#include "FunctionChart.h"
#include "GraphSamples.h"
#include "Main.h"

namespace Velmora {

void TMainForm::DrawFunctionGraph() {
  // The trial points go, and with them the run the chart's menu would show.
  forgetRun();
  FunctionChart::clear(*Series1);
  FunctionChart::clear(*Series2);
  for (int i = 0; i < GraphSampleCount; ++i) {
    const double sample = graphSampleX(i, Xmin, Xmax);
    FunctionChart::append(*Series1, sample, FuncValue(sample));
  }
}

}  // namespace Velmora
