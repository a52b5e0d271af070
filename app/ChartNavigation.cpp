#include "ChartNavigation.h"

#include <qcustomplot.h>

namespace Velmora::ChartNavigation {

void enable(QCustomPlot& plot, std::function<void()> moved, std::function<void()> home) {
  plot.setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
  plot.axisRect()->setRangeDrag(Qt::Horizontal);
  plot.axisRect()->setRangeZoom(Qt::Horizontal);
  // The chart's signals come before it moves its axes.
  QObject::connect(&plot, &QCustomPlot::mouseWheel, &plot, [moved](QWheelEvent*) { moved(); });
  QObject::connect(&plot, &QCustomPlot::mousePress, &plot, [moved](QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) moved();
  });
  QObject::connect(&plot, &QCustomPlot::mouseDoubleClick, &plot, [home](QMouseEvent*) { home(); });
}

}  // namespace Velmora::ChartNavigation
