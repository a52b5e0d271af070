#include "ChartNavigation.h"

#include <memory>
#include <qcustomplot.h>
#include <utility>

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
  // The second press of a double click has begun a drag, which would put
  // back the range it started from at the next move: home waits for the release.
  auto homeAtRelease = std::make_shared<bool>(false);
  QObject::connect(&plot, &QCustomPlot::mouseDoubleClick, &plot, [homeAtRelease](QMouseEvent*) { *homeAtRelease = true; });
  QObject::connect(&plot, &QCustomPlot::mouseRelease, &plot, [homeAtRelease, home](QMouseEvent*) {
    if (!std::exchange(*homeAtRelease, false)) return;
    home();
  });
}

}  // namespace Velmora::ChartNavigation
