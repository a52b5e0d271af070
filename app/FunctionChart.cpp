#include "FunctionChart.h"

#include <cmath>
#include <limits>
#include <qcustomplot.h>

namespace Velmora::FunctionChart {

namespace {

// A property of the chart itself, so every chart set up here keeps its own.
constexpr const char* HeldView = "velmoraHeldView";

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
  plot.connect(&plot, &QCustomPlot::beforeReplot, &plot, [&plot] { fitAxes(plot); });
}

void clear(QCPGraph& series) {
  series.parentPlot()->setProperty(HeldView, false);
  series.data()->clear();
  series.parentPlot()->replot(QCustomPlot::rpQueuedReplot);
}

void append(QCPGraph& series, double x, double y) {
  if (!std::isfinite(y)) y = std::numeric_limits<double>::quiet_NaN();
  series.parentPlot()->setProperty(HeldView, false);
  series.addData(x, y);
  series.parentPlot()->replot(QCustomPlot::rpQueuedReplot);
}

void refresh(QCustomPlot& plot) {
  plot.setProperty(HeldView, false);
  plot.replot(QCustomPlot::rpImmediateRefresh);
}

void holdView(QCustomPlot& plot) { plot.setProperty(HeldView, true); }

}  // namespace Velmora::FunctionChart
