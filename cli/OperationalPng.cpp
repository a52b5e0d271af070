#include "OperationalPng.h"

#include <qcustomplot.h>

#include "OffscreenApplication.h"

namespace Velmora::Cli {

namespace {

// Ten colours that stay apart from each other, and black; past them the
// colours repeat with dashes.
const QColor Palette[] = {{31, 119, 180}, {214, 39, 40},  {44, 160, 44},   {255, 127, 14}, {148, 103, 189}, {140, 86, 75},
                          {227, 119, 194}, {127, 127, 127}, {188, 189, 34}, {23, 190, 207}, {0, 0, 0}};

QFont font(int pixels, bool bold = false) {
  QFont f(QStringLiteral("Arial"));
  f.setPixelSize(pixels);
  f.setBold(bold);
  return f;
}

void addCurve(QCustomPlot& plot, const OperationalCurve& curve, std::size_t number) {
  QCPGraph* graph = plot.addGraph();
  graph->setName(QString::fromStdString(curve.name));
  QPen pen(Palette[number % std::size(Palette)], 2);
  if (number >= std::size(Palette)) pen.setStyle(Qt::DashLine);
  graph->setPen(pen);
  graph->setLineStyle(QCPGraph::lsStepLeft);
  const QVector<double> k(curve.k.begin(), curve.k.end());
  graph->setData(k, QVector<double>(curve.share.begin(), curve.share.end()), true);
  if (curve.low.empty()) return;
  // The zone: a light band between the lowest and the highest share, the mean drawn inside it.
  QCPGraph* low = plot.addGraph();
  QCPGraph* high = plot.addGraph();
  for (QCPGraph* edge : {low, high}) {
    edge->setPen(Qt::NoPen);
    edge->setLineStyle(QCPGraph::lsStepLeft);
    edge->removeFromLegend();
  }
  low->setData(k, QVector<double>(curve.low.begin(), curve.low.end()), true);
  high->setData(k, QVector<double>(curve.high.begin(), curve.high.end()), true);
  QColor fill = pen.color();
  fill.setAlpha(60);
  high->setBrush(fill);
  high->setChannelFillGraph(low);
}

}  // namespace

std::optional<std::string> writeOperationalPng(const OperationalRequest& request) {
  const OffscreenApplication app;
  bool written = false;
  {
    QCustomPlot plot;
    plot.resize(OperationalWidth, OperationalHeight);
    plot.setBackground(Qt::white);
    plot.plotLayout()->insertRow(0);
    plot.plotLayout()->addElement(0, 0, new QCPTextElement(&plot, QString::fromStdString(request.title), font(14, true)));

    QCPAxis& k = *plot.xAxis;
    QCPAxis& share = *plot.yAxis;
    k.setLabel(QStringLiteral("k, trials"));
    share.setLabel(QStringLiteral("share solved within k trials"));
    for (QCPAxis* axis : {&k, &share}) {
      axis->setLabelFont(font(13));
      axis->setTickLabelFont(font(12));
    }
    if (request.logK) {
      k.setScaleType(QCPAxis::stLogarithmic);
      k.setTicker(QSharedPointer<QCPAxisTickerLog>::create());
      k.setRange(1, std::max(request.lastK, 2));
    } else {
      k.setRange(0, request.lastK);
    }
    share.setRange(0, 1.02);

    for (std::size_t i = 0; i < request.curves.size(); ++i) addCurve(plot, request.curves[i], i);
    plot.legend->setVisible(true);
    plot.legend->setFont(font(12));
    // Where the curves are not: each share rises from 0 at small k, steeply on
    // a linear axis and late on a logarithmic one.
    plot.axisRect()->insetLayout()->setInsetAlignment(
        0, request.logK ? Qt::AlignTop | Qt::AlignLeft : Qt::AlignBottom | Qt::AlignRight);

    plot.replot(QCustomPlot::rpImmediateRefresh);
    written = plot.savePng(QString::fromStdString(request.file), OperationalWidth, OperationalHeight);
  }
  if (!written) return "cannot write " + request.file;
  return std::nullopt;
}

}  // namespace Velmora::Cli
