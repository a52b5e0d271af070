// The trace window's three charts: what stays for the whole run, and what
// each step shows.
#include <QLabel>
#include <algorithm>
#include <cmath>
#include <limits>
#include <qcustomplot.h>

#include "Minorant.h"
#include "ChartNavigation.h"
#include "MethodCatalogue.h"
#include "TraceForm.h"
#include "Widgets.h"

namespace Velmora {

namespace {

// A value that is no finite number is left out of lines and scatters alike.
double shown(double value) { return std::isfinite(value) ? value : std::numeric_limits<double>::quiet_NaN(); }

void setUpPlot(QCustomPlot& plot) {
  plot.setBackground(Qt::white);
  plot.legend->setVisible(false);
  plot.setAutoAddPlottableToLegend(false);
  plot.setContextMenuPolicy(Qt::ActionsContextMenu);
}

QCPTextElement* addTitle(QCustomPlot& plot) {
  plot.plotLayout()->insertRow(0);
  QFont font = plot.font();
  font.setBold(true);
  auto* title = new QCPTextElement(&plot, QString(), font);
  title->setTextColor(QColor(0x1f, 0x2f, 0x8f));
  title->setMargins(QMargins(0, 3, 0, 0));
  plot.plotLayout()->addElement(0, 0, title);
  plot.plotLayout()->setRowSpacing(0);
  return title;
}

QCPGraph* addGraph(QCustomPlot& plot, const char* name, const QPen& pen, QCPGraph::LineStyle line,
                   const QCPScatterStyle& scatter) {
  QCPGraph* graph = plot.addGraph();
  graph->setName(QString::fromLatin1(name));
  graph->setPen(pen);
  graph->setLineStyle(line);
  graph->setScatterStyle(scatter);
  return graph;
}

QCPErrorBars* addSegments(QCustomPlot& plot, QCPGraph& centres, const QPen& pen) {
  auto* bars = new QCPErrorBars(plot.xAxis, plot.yAxis);
  bars->setDataPlottable(&centres);
  bars->setErrorType(QCPErrorBars::etKeyError);
  bars->setSymbolGap(0);
  bars->setWhiskerWidth(5);
  bars->setPen(pen);
  return bars;
}

// Spans the whole height of the axis rect over [left, right] in x.
QCPItemRect* addShade(QCustomPlot& plot) {
  auto* shade = new QCPItemRect(&plot);
  shade->setLayer(QStringLiteral("background"));
  shade->setPen(Qt::NoPen);
  shade->setBrush(QColor(0xff, 0xf0, 0xb0));
  shade->topLeft->setTypeY(QCPItemPosition::ptAxisRectRatio);
  shade->bottomRight->setTypeY(QCPItemPosition::ptAxisRectRatio);
  shade->setVisible(false);
  return shade;
}

void shade(QCPItemRect& rect, double a, double b) {
  rect.topLeft->setCoords(std::min(a, b), 0);
  rect.bottomRight->setCoords(std::max(a, b), 1);
  rect.setVisible(true);
}

void setPoints(QCPGraph& graph, const std::vector<Lab::TracePoint>& points) {
  QVector<QCPGraphData> data;
  data.reserve(static_cast<qsizetype>(points.size()));
  for (const Lab::TracePoint& p : points) data.append(QCPGraphData(p.x, shown(p.f)));
  const bool sorted = std::is_sorted(data.cbegin(), data.cend(), qcpLessThanSortKey<QCPGraphData>);
  graph.data()->set(data, sorted);
}

// The finite values' span, widened a little so that nothing sits on the frame.
QCPRange padded(double low, double high) {
  if (!(low <= high)) return QCPRange(-1, 1);
  const double margin = low == high ? std::max(1.0, std::fabs(low) * 0.1) : (high - low) * 0.04;
  return QCPRange(low - margin, high + margin);
}

struct Span {
  double low = std::numeric_limits<double>::infinity();
  double high = -std::numeric_limits<double>::infinity();
  void add(double v) {
    if (!std::isfinite(v)) return;
    low = std::min(low, v);
    high = std::max(high, v);
  }
  QCPRange range() const { return padded(low, high); }
};

// Whichever of the two needs the wider margin for its value axis's labels
// lends it to the other, so that the same x lies at the same pixel column in both.
void alignLeftEdges(QCustomPlot& from, QCustomPlot& to) {
  QObject::connect(&from, &QCustomPlot::afterLayout, &to, [&from, &to] {
    const int left = from.axisRect()->margins().left();
    QMargins minimum = to.axisRect()->minimumMargins();
    if (minimum.left() >= left) return;
    minimum.setLeft(left);
    to.axisRect()->setMinimumMargins(minimum);
    to.replot(QCustomPlot::rpQueuedReplot);
  });
}

void syncX(QCustomPlot& from, QCustomPlot& to) {
  QObject::connect(from.xAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), &to, [&to](const QCPRange& r) {
    if (to.xAxis->range() == r) return;
    to.xAxis->setRange(r);
    to.replot(QCustomPlot::rpQueuedReplot);
  });
}

}  // namespace

void TFormTrace::createCharts() {
  setUpPlot(*chartTrace);
  traceTitle_ = addTitle(*chartTrace);
  traceShade_ = addShade(*chartTrace);
  functionGraph_ = addGraph(*chartTrace, "function", QPen(QColor(0x1f, 0x4f, 0xbf)), QCPGraph::lsLine,
                            QCPScatterStyle(QCPScatterStyle::ssNone));
  minorantGraph_ = addGraph(*chartTrace, "minorant", QPen(QColor(0xe0, 0x70, 0x00), 1.5), QCPGraph::lsLine,
                            QCPScatterStyle(QCPScatterStyle::ssNone));
  trialsGraph_ = addGraph(*chartTrace, "trials", QPen(), QCPGraph::lsNone,
                          QCPScatterStyle(QCPScatterStyle::ssDiamond, QColor(0x8b, 0, 0), QColor(0xd0, 0x20, 0x20), 6));
  currentGraph_ = addGraph(*chartTrace, "current", QPen(), QCPGraph::lsNone,
                           QCPScatterStyle(QCPScatterStyle::ssCircle, Qt::black, QColor(0, 0xa0, 0), 10));
  chartTrace->xAxis->setLabel(QStringLiteral("x"));
  chartTrace->addAction(actSaveTrace);

  setUpPlot(*chartCharact);
  charactTitle_ = addTitle(*chartCharact);
  charactShade_ = addShade(*chartCharact);
  charactGraph_ = addGraph(*chartCharact, "charact", QPen(), QCPGraph::lsNone, QCPScatterStyle(QCPScatterStyle::ssNone));
  charactBars_ = addSegments(*chartCharact, *charactGraph_, QPen(QColor(0x20, 0x60, 0x70), 1.5));
  chosenGraph_ = addGraph(*chartCharact, "chosen", QPen(), QCPGraph::lsNone,
                          QCPScatterStyle(QCPScatterStyle::ssCircle, QColor(0xc0, 0, 0), QColor(0xc0, 0, 0), 7));
  chosenBars_ = addSegments(*chartCharact, *chosenGraph_, QPen(QColor(0xc0, 0, 0), 3));
  chartCharact->xAxis->setLabel(QStringLiteral("x"));
  chartCharact->yAxis->setLabel(QStringLiteral("R"));
  chartCharact->yAxis->ticker()->setTickCount(4);
  chartCharact->addAction(actSaveCharact);

  setUpPlot(*chartBest);
  addTitle(*chartBest)->setText(ru("Наименьшее найденное\nзначение"));
  bestGraph_ = addGraph(*chartBest, "best", QPen(QColor(0x1f, 0x4f, 0xbf), 1.5), QCPGraph::lsStepLeft,
                        QCPScatterStyle(QCPScatterStyle::ssNone));
  bestMarker_ = new QCPItemTracer(chartBest);
  bestMarker_->setStyle(QCPItemTracer::tsCircle);
  bestMarker_->setSize(9);
  bestMarker_->setPen(QPen(QColor(0xc0, 0, 0), 2));
  chartBest->xAxis->setLabel(ru("шаг"));
  chartBest->addAction(actSaveBest);

  // Few labels: the chart is narrow and its steps go up to 100000.
  chartBest->xAxis->ticker()->setTickStepStrategy(QCPAxisTicker::tssMeetTickCount);
  chartBest->xAxis->ticker()->setTickCount(3);

  // The characteristics lie under the intervals they belong to.
  syncX(*chartTrace, *chartCharact);
  syncX(*chartCharact, *chartTrace);
  alignLeftEdges(*chartTrace, *chartCharact);
  alignLeftEdges(*chartCharact, *chartTrace);
  // A zoom, a pan or a new size changes which segments fall into one pixel column.
  connect(chartCharact, &QCustomPlot::afterLayout, this, [this] {
    if (!run_ || (chartCharact->xAxis->range() == drawnView_ && chartCharact->axisRect()->width() == drawnColumns_)) return;
    guard_.run([this] { drawCharacteristics(); });
  });
  ChartNavigation::enable(*chartTrace, [] {}, [this] { guard_.run([this] { homeTraceView(); }); });
  ChartNavigation::enable(*chartCharact, [] {}, [this] { guard_.run([this] { homeTraceView(); }); });
  ChartNavigation::enable(*chartBest, [] {}, [this] { guard_.run([this] { homeBestView(); }); });
}

void TFormTrace::drawRun() {
  QVector<QCPGraphData> curve;
  curve.reserve(static_cast<qsizetype>(run_->curve.size()));
  for (const Lab::TracePoint& p : run_->curve) curve.append(QCPGraphData(p.x, shown(p.f)));
  functionGraph_->data()->set(curve);

  const Lab::SearchTrace& trace = *trace_;
  QVector<QCPGraphData> best;
  best.reserve(trace.stepCount() + 1);
  for (int k = 0; k <= trace.stepCount(); ++k) best.append(QCPGraphData(k, shown(trace.bestAfter(k))));
  bestGraph_->data()->set(best, true);
  // Only a graph with data gives the marker a place.
  bestMarker_->setGraph(bestGraph_);

  Span values;
  for (const Lab::TracePoint& p : run_->curve) values.add(p.f);
  for (const Lab::Trial& t : trace.outcome().trials) values.add(t.f);
  runLow_ = values.low;
  runHigh_ = values.high;
  // A new run's labels may be narrower than the last one's.
  for (QCustomPlot* plot : {chartTrace, chartCharact}) plot->axisRect()->setMinimumMargins(QMargins(0, 0, 0, 0));

  homeTraceView();
  homeBestView();
}

// Along x the whole run, the same at every step, so that nothing slides
// sideways while the steps go by: the function and every trial of the run.
void TFormTrace::homeTraceView() {
  Span x;
  for (const Lab::TracePoint& p : run_->curve) x.add(p.x);
  for (const Lab::Trial& t : trace_->outcome().trials) x.add(t.x);
  chartTrace->xAxis->setRange(x.range());
  chartTrace->replot(QCustomPlot::rpQueuedReplot);
}

void TFormTrace::homeBestView() {
  Span y;
  for (int k = 0; k <= trace_->stepCount(); ++k) y.add(trace_->bestAfter(k));
  chartBest->xAxis->setRange(padded(0, std::max(1, trace_->stepCount())));
  chartBest->yAxis->setRange(y.range());
  chartBest->replot(QCustomPlot::rpQueuedReplot);
}

// Step k shows what it decided from: the trials before it and their
// intervals' characteristics (the state after step k - 1), the interval it
// chose, and the broken line with its own constant, whose vertex there is
// the point it placed.
void TFormTrace::drawStep() {
  const Lab::SearchTrace& trace = *trace_;
  const int k = step_;
  trace.stateAfter(std::max(k - 1, 0), before_);
  const VELMORAALG::TStepRecord* record = k > 0 ? &trace.step(k) : nullptr;

  setPoints(*trialsGraph_, before_.trials);
  currentGraph_->data()->clear();
  minorantGraph_->data()->clear();
  traceShade_->setVisible(false);
  charactShade_->setVisible(false);
  chosenGraph_->data()->clear();
  chosenBars_->data()->clear();
  // Upwards the function and the run's trials; downwards as deep as the
  // broken line, whose vertex is where the step put its point.
  Span depth;
  depth.add(runLow_);
  depth.add(runHigh_);
  if (record) {
    currentGraph_->addData(record->X, shown(record->Z));
    if (Lab::methodInfo(trace.method()).brokenLine) {
      const std::vector<Lab::TracePoint> line = trace.brokenLineOfStep(k, before_);
      for (const Lab::TracePoint& p : line) depth.add(p.f);
      setPoints(*minorantGraph_, line);
    }
    shade(*traceShade_, record->Left, record->Right);
    shade(*charactShade_, record->Left, record->Right);
  }
  chartTrace->yAxis->setRange(depth.range());

  Span values;
  for (double c : before_.characts) values.add(c);
  chartCharact->yAxis->setRange(values.range());
  drawCharacteristics();
  if (record && std::isfinite(record->Charact)) {
    chosenGraph_->addData(record->Left / 2 + record->Right / 2, record->Charact);
    chosenBars_->addData(std::fabs(record->Right / 2 - record->Left / 2));
  }
  bestMarker_->setGraphKey(k);

  const int steps = trace.stepCount();
  const QString pictured = Lab::methodInfo(trace.method()).brokenLine ? ru("испытания до него, его точка и ломаная")
                                                                      : ru("испытания до него и его точка");
  traceTitle_->setText(k == 0 ? ru("Начало: испытания в концах интервала")
                              : ru("Шаг %1 из %2: ").arg(k).arg(steps) + pictured);
  charactTitle_->setText(k == 0 ? ru("Характеристика интервала перед первым шагом")
                                : ru("Характеристики интервалов, из которых выбирал шаг %1").arg(k));
  labStep->setText(stepSummary());
  for (QCustomPlot* plot : {chartTrace, chartCharact, chartBest}) plot->replot(QCustomPlot::rpQueuedReplot);
}

// Each characteristic as a segment over its interval: a graph of the
// intervals' centres, with the half-lengths as bars along x (intervals of
// broken lines with a constant below the slope may overlap, which one line
// through the segments could not draw). Segments shorter than a pixel column
// are drawn as the column: only its lowest and its highest, since the others
// fall on the pixels between them and 100000 bars drawn one by one would take
// most of a step's time.
void TFormTrace::drawCharacteristics() {
  const QCPRange view = chartCharact->xAxis->range();
  const int columns = std::max(1, chartCharact->axisRect()->width());
  drawnView_ = view;
  drawnColumns_ = columns;
  const double columnWidth = view.size() / columns;
  struct Segment {
    double centre, half, value;
  };
  std::vector<Segment> drawn;
  const Segment none{0, 0, std::numeric_limits<double>::quiet_NaN()};
  std::vector<Segment> lowest(static_cast<std::size_t>(columns), none), highest(lowest);
  for (std::size_t i = 0; i < before_.characts.size(); ++i) {
    const double c = before_.characts[i];
    if (!std::isfinite(c)) continue;
    const double a = std::min(before_.trials[i].x, before_.trials[i + 1].x);
    const double b = std::max(before_.trials[i].x, before_.trials[i + 1].x);
    if (b < view.lower || a > view.upper) continue;
    if (b - a >= columnWidth) {
      drawn.push_back({a / 2 + b / 2, b / 2 - a / 2, c});
      continue;
    }
    const double column = std::floor(std::clamp((a / 2 + b / 2 - view.lower) / columnWidth, 0.0, columns - 1.0));
    const Segment pixel{view.lower + (column + 0.5) * columnWidth, columnWidth / 2, c};
    Segment& low = lowest[static_cast<std::size_t>(column)];
    Segment& high = highest[static_cast<std::size_t>(column)];
    if (!(low.value <= c)) low = pixel;
    if (!(high.value >= c)) high = pixel;
  }
  for (std::size_t column = 0; column < lowest.size(); ++column) {
    if (std::isnan(lowest[column].value)) continue;
    drawn.push_back(lowest[column]);
    if (highest[column].value != lowest[column].value) drawn.push_back(highest[column]);
  }

  std::stable_sort(drawn.begin(), drawn.end(), [](const Segment& p, const Segment& q) { return p.centre < q.centre; });
  QVector<QCPGraphData> centres;
  QVector<double> halves;
  centres.reserve(static_cast<qsizetype>(drawn.size()));
  halves.reserve(static_cast<qsizetype>(drawn.size()));
  for (const Segment& s : drawn) {
    centres.append(QCPGraphData(s.centre, s.value));
    halves.append(s.half);
  }
  charactGraph_->data()->set(centres, true);
  charactBars_->setData(halves);
  // The ends of a few segments show where one interval meets the next; on
  // many they would only blur.
  charactBars_->setWhiskerWidth(drawn.size() <= 200 ? 5 : 0);
}

QString TFormTrace::stepSummary() const {
  const Lab::SearchTrace& trace = *trace_;
  const int k = step_;
  const QString best = ru(" Наименьшее найденное значение %1.").arg(number(trace.bestAfter(k)));
  if (k == 0) {
    const auto& trials = trace.outcome().trials;
    return ru("Начало: испытания в концах интервала, F(%1) = %2 и F(%3) = %4; характеристика интервала R = %5.")
               .arg(number(trials.front().x), number(trials.front().f), number(trials.back().x),
                    number(trials.back().f), number(before_.characts.front())) +
           best;
  }
  const VELMORAALG::TStepRecord& r = trace.step(k);
  const std::string_view label = Lab::methodInfo(trace.method()).stepConstantLabel;
  // Built by appending: GCC 12 warns falsely about " " + std::string.
  std::string pattern(1, ' ');
  pattern.append(label).append("%1.");
  const QString constant = label.empty() ? QString() : ru(pattern).arg(number(r.Constant));
  return ru("Шаг %1: из %2 интервалов выбран %3-й, [%4; %5], с характеристикой R = %6.")
             .arg(k)
             .arg(k)
             .arg(r.Interval)
             .arg(number(r.Left), number(r.Right), number(r.Charact)) +
         constant +
         ru(" Новая точка x = %1, F(x) = %2, точность %3.").arg(number(r.X), number(r.Z), number(r.Precision)) +
         best;
}

}  // namespace Velmora
