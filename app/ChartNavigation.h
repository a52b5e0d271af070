// The mouse on a chart's x axis: the wheel zooms about the cursor, a drag with
// the left button pans, a double click goes back to the chart's own view.
#pragma once

#include <functional>

class QCustomPlot;

namespace Velmora::ChartNavigation {

// moved runs just before the user's wheel or drag changes the range; home on a double click.
void enable(QCustomPlot& plot, std::function<void()> moved, std::function<void()> home);

}  // namespace Velmora::ChartNavigation
