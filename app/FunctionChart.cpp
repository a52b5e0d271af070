#include "FunctionChart.h"

#include <cmath>
#include <limits>
#include <qcustomplot.h>

namespace Velmora::FunctionChart {

namespace {

// Properties of the chart itself, so every chart set up here keeps its own.
constexpr const char* HeldView = "velmoraHeldView";
// Data changed since the chart last plotted, and a plot is queued for it.
constexpr const char* Stale = "velmoraStale";
constexpr const char* PlotQueued = "velmoraPlotQueued";

// One plot in the next pass of the event loop for any number of changes,
// and none when a plot comes first: a Search press refreshes at once, and
// plotting its 100002 points a second time would only cost time.
void plotLater(QCustomPlot& plot) {
  plot.setProperty(Stale, true);
  if (plot.property(PlotQueued).toBool()) return;
  plot.setProperty(PlotQueued, true);
  QMetaObject::invokeMethod(
      &plot,
      [&plot] {
        plot.setProperty(PlotQueued, false);
        if (plot.property(Stale).toBool()) plot.replot();
      },
      Qt::QueuedConnection);
}

void fitAxes(QCustomPlot& plot) {
  if (plot.property(HeldView).toBool()) return;
  bool any = false;
  for (int i = 0; i < plot.graphCount(); ++i) any = any || !plot.graph(i)->data()->isEmpty();
  // An empty chart keeps its axes; every point a gap likewise leaves the value axis alone.
  if (any) plot.rescaleAxes();
}

}  // namespace

void setUp(QCustomPlot& plot) {
  plot.setBackground(Qt::white);
  plot.legend->setVisible(false);
  plot.setAutoAddPlottableToLegend(false);

  plot.plotLayout()->insertRow(0);
  QFont titleFont(QStringLiteral("Arial"));
  titleFont.setPixelSize(13);
  titleFont.setBold(true);
  auto* title = new QCPTextElement(&plot, QString::fromUtf8("График Оптимизируемой Функции"), titleFont);
  title->setTextColor(Qt::blue);
  title->setMargins(QMargins(0, 2, 0, 0));
  plot.plotLayout()->addElement(0, 0, title);
  plot.plotLayout()->setRowSpacing(0);

  QCPGraph* line = plot.addGraph();
  line->setName(QStringLiteral("Series1"));
  line->setPen(QPen(Qt::blue));
  line->setLineStyle(QCPGraph::lsLine);
  line->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssNone));

  QCPGraph* points = plot.addGraph();
  points->setName(QStringLiteral("Series2"));
  points->setLineStyle(QCPGraph::lsNone);
  // The size is the diamond's full width: 2 pixels from centre to each corner.
  points->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssDiamond, QPen(QColor(128, 0, 64)), QBrush(Qt::red), 4));

  plot.axisRect()->setMinimumMargins(QMargins(0, 0, 2, 0));
  plot.connect(&plot, &QCustomPlot::beforeReplot, &plot, [&plot] {
    plot.setProperty(Stale, false);
    fitAxes(plot);
  });
}

void clear(QCPGraph& series) {
  series.parentPlot()->setProperty(HeldView, false);
  series.data()->clear();
  plotLater(*series.parentPlot());
}

void append(QCPGraph& series, double x, double y) {
  if (!std::isfinite(y)) y = std::numeric_limits<double>::quiet_NaN();
  series.parentPlot()->setProperty(HeldView, false);
  series.addData(x, y);
  plotLater(*series.parentPlot());
}

void refresh(QCustomPlot& plot) {
  plot.setProperty(HeldView, false);
  plot.replot(QCustomPlot::rpImmediateRefresh);
}

void holdView(QCustomPlot& plot) { plot.setProperty(HeldView, true); }

}  // namespace Velmora::FunctionChart
