// The chart of a function and its trial points, as the window and the command
// line's picture both draw it.
#pragma once

class QCPGraph;
class QCustomPlot;

namespace Velmora::FunctionChart {

// Title, graph 0 the function's blue line, graph 1 the red diamonds of the
// trial points, white background, no legend; axes follow the data.
void setUp(QCustomPlot& plot);

// Removes every point of a series.
void clear(QCPGraph& series);

// Adds (x, y) at its place by x. A y that is not a finite number leaves a gap
// in the line and takes no part in the scaling of the axes.
void append(QCPGraph& series, double x, double y);

// Fits the axes to the finite points and draws at once (the window otherwise
// redraws when control returns to its event loop).
void refresh(QCustomPlot& plot);

// The axes fit the data at every plot; once the user zooms or pans, they stay
// where the user put them until the next refresh or change of the data.
void holdView(QCustomPlot& plot);

}  // namespace Velmora::FunctionChart
