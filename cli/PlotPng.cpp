#include "PlotPng.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include <qcustomplot.h>

#include "FunctionChart.h"
#include "OffscreenApplication.h"

namespace Velmora::Cli {

std::optional<std::string> writePlotPng(const PlotRequest& request) {
  const OffscreenApplication app;
  bool written = false;
  {
    QCustomPlot plot;
    plot.resize(PlotWidth, PlotHeight);
    FunctionChart::setUp(plot);
    QCPGraph& curve = *plot.graph(0);
    QCPGraph& points = *plot.graph(1);
    for (std::size_t i = 0; i < request.curveX.size(); ++i) FunctionChart::append(curve, request.curveX[i], request.curveY[i]);
    for (const Lab::TracePoint& trial : request.trials) FunctionChart::append(points, trial.x, trial.f);
    // Drawn as the search's course draws it, beneath F and the trial points;
    // a depth that is no finite number is a gap.
    if (!request.minorant.empty()) {
      plot.addLayer(QStringLiteral("minorant"), curve.layer(), QCustomPlot::limBelow);
      QCPGraph& minorant = *plot.addGraph();
      minorant.setLayer(QStringLiteral("minorant"));
      minorant.setPen(QPen(QColor(0xe0, 0x70, 0x00), 1.5));
      minorant.setLineStyle(QCPGraph::lsLine);
      QVector<QCPGraphData> line;
      line.reserve(static_cast<qsizetype>(request.minorant.size()));
      for (const Lab::TracePoint& point : request.minorant)
        line.append(QCPGraphData(point.x, std::isfinite(point.f) ? point.f : std::numeric_limits<double>::quiet_NaN()));
      minorant.data()->set(line, true);
    }
    FunctionChart::refresh(plot);
    // F that is a number nowhere gives the chart nothing to fit; the x axis still spans the interval.
    if (std::none_of(request.curveY.begin(), request.curveY.end(), [](double y) { return std::isfinite(y); }))
      plot.xAxis->setRange(std::min(request.xmin, request.xmax), std::max(request.xmin, request.xmax));
    written = plot.savePng(QString::fromStdString(request.file), PlotWidth, PlotHeight);
  }
  if (!written) return "cannot write " + request.file;
  return std::nullopt;
}

}  // namespace Velmora::Cli
