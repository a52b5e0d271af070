#include "PlotPng.h"

#include <QApplication>
#include <memory>
#include <qcustomplot.h>

#include "FunctionChart.h"

namespace Velmora::Cli {

namespace {

// The offscreen platform reports harmless trivia (missing font aliases, size
// hints) that would read like errors among the program's own messages.
void quietMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) fprintf(stderr, "%s\n", qPrintable(message));
}

}  // namespace

std::optional<std::string> writePlotPng(const PlotRequest& request) {
  std::unique_ptr<QApplication> app;
  QtMessageHandler previous = nullptr;
  if (!QApplication::instance()) {
    // A picture for a file never needs a display, whatever platform the environment names.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    previous = qInstallMessageHandler(quietMessages);
    static int argc = 1;
    static char name[] = "velmora-run";
    static char* argv[] = {name, nullptr};
    app = std::make_unique<QApplication>(argc, argv);
  }

  bool written = false;
  {
    QCustomPlot plot;
    plot.resize(PlotWidth, PlotHeight);
    FunctionChart::setUp(plot);
    QCPGraph& curve = *plot.graph(0);
    QCPGraph& points = *plot.graph(1);
    for (std::size_t i = 0; i < request.curveX.size(); ++i) FunctionChart::append(curve, request.curveX[i], request.curveY[i]);
    for (const PlotPoint& trial : request.trials) FunctionChart::append(points, trial.x, trial.f);
    FunctionChart::refresh(plot);
    written = plot.savePng(QString::fromStdString(request.file), PlotWidth, PlotHeight);
  }

  if (app) {
    app.reset();
    qInstallMessageHandler(previous);
  }
  if (!written) return "cannot write " + request.file;
  return std::nullopt;
}

}  // namespace Velmora::Cli
