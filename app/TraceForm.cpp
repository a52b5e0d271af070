// The trace window's controls and how they keep in step: the slider, the
// spin box, the step buttons, play, and the table's selection all show one step.
#include "TraceForm.h"

#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QSplitter>
#include <QStyle>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <sstream>
#include <qcustomplot.h>

#include "NumberText.h"
#include "SaveFile.h"
#include "SearchCsv.h"
#include "StepTableModel.h"
#include "Widgets.h"

namespace Velmora {

namespace {

// Below this interval the eye no longer follows single frames, so faster
// speeds take bigger strides instead.
constexpr int FrameMs = 40;

struct Speed {
  const char* text;
  int stepsPerSecond;
};
constexpr Speed Speeds[] = {
    {"1 шаг/с", 1},       {"2 шага/с", 2},        {"5 шагов/с", 5},       {"10 шагов/с", 10},
    {"50 шагов/с", 50},   {"200 шагов/с", 200},   {"1000 шагов/с", 1000}, {"5000 шагов/с", 5000},
};
constexpr int DefaultSpeed = 1;

template <class W>
W* named(W* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

}  // namespace

TFormTrace::TFormTrace(Dialogs& dialogs, HandlerGuard& guard, QString decimalSeparator)
    : dialogs_(dialogs), guard_(guard), separator_(std::move(decimalSeparator)) {
  setObjectName(QStringLiteral("FormTrace"));
  setWindowTitle(ru("Ход поиска"));
  setWindowFlags(Qt::Window);
  // Closing the main window ends the program even while this one is open.
  setAttribute(Qt::WA_QuitOnClose, false);
  setMinimumSize(720, 480);
  resize(1000, 680);
  createControls();
  createCharts();
  connectControls();
}

TFormTrace::~TFormTrace() = default;

void TFormTrace::createControls() {
  const auto button = [this](const char* name, QStyle::StandardPixmap icon, const char* tip) {
    auto* b = named(new QPushButton(this), name);
    b->setIcon(style()->standardIcon(icon));
    b->setToolTip(ru(tip));
    return b;
  };
  btnStepBack = button("btnStepBack", QStyle::SP_MediaSeekBackward, "Шаг назад");
  btnPlay = button("btnPlay", QStyle::SP_MediaPlay, "Воспроизвести ход поиска шаг за шагом");
  btnPlay->setCheckable(true);
  btnStepForward = button("btnStepForward", QStyle::SP_MediaSeekForward, "Шаг вперёд");

  sldStep = named(new QSlider(Qt::Horizontal, this), "sldStep");
  sldStep->setToolTip(ru("Состояние после шага"));
  spinStep = named(new QSpinBox(this), "spinStep");
  spinStep->setToolTip(ru("Номер шага"));
  labStepCount = named(new QLabel(this), "labStepCount");

  cmbSpeed = named(new QComboBox(this), "cmbSpeed");
  for (const Speed& speed : Speeds) cmbSpeed->addItem(ru(speed.text), speed.stepsPerSecond);
  cmbSpeed->setCurrentIndex(DefaultSpeed);
  cmbSpeed->setToolTip(ru("Скорость воспроизведения"));

  actSaveTrace = named(new QAction(ru("Рисунок хода поиска..."), this), "actSaveTrace");
  actSaveCharact = named(new QAction(ru("Рисунок характеристик..."), this), "actSaveCharact");
  actSaveBest = named(new QAction(ru("Рисунок лучшего значения..."), this), "actSaveBest");
  actSaveSteps = named(new QAction(ru("Таблицу шагов (CSV)..."), this), "actSaveSteps");
  // A push button sizes itself for its menu's arrow; a tool button's text ran under it.
  btnSave = named(new QPushButton(ru("Сохранить"), this), "btnSave");
  auto* saveMenu = new QMenu(btnSave);
  saveMenu->addActions({actSaveTrace, actSaveCharact, actSaveBest, actSaveSteps});
  btnSave->setMenu(saveMenu);

  btnFirstOutside = named(new QPushButton(this), "btnFirstOutside");
  btnFirstOutside->setToolTip(ru("Перейти к первому шагу, точка которого вышла за интервал поиска"));
  btnFirstOutside->hide();

  labStep = named(new QLabel(this), "labStep");
  labStep->setWordWrap(true);
  labStep->setTextInteractionFlags(Qt::TextSelectableByMouse);

  labLegend = named(new QLabel(this), "labLegend");

  model_ = new StepTableModel(separator_, this);
  tblSteps = named(new QTableView(this), "tblSteps");
  tblSteps->setModel(model_);
  tblSteps->setSelectionBehavior(QAbstractItemView::SelectRows);
  tblSteps->setSelectionMode(QAbstractItemView::SingleSelection);
  tblSteps->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tblSteps->verticalHeader()->setVisible(false);
  // Every row the same height: the view then never measures 100000 of them.
  tblSteps->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  tblSteps->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
  // Each column as wide as its title or a ten-digit number, whichever is wider.
  QHeaderView* header = tblSteps->horizontalHeader();
  const int numberWidth = tblSteps->fontMetrics().horizontalAdvance(QStringLiteral("-0,24790581234567"));
  for (int c = 0; c < model_->columnCount(); ++c) {
    const int titleWidth = header->fontMetrics().horizontalAdvance(model_->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString());
    header->resizeSection(c, std::max(c < 2 ? 0 : numberWidth, titleWidth) + 18);
  }
  header->setStretchLastSection(true);
  tblSteps->setContextMenuPolicy(Qt::ActionsContextMenu);
  tblSteps->addAction(actSaveSteps);

  playTimer_ = new QTimer(this);
  playTimer_->setSingleShot(true);

  auto* controls = new QHBoxLayout;
  controls->addWidget(btnStepBack);
  controls->addWidget(btnPlay);
  controls->addWidget(btnStepForward);
  controls->addWidget(sldStep, 1);
  controls->addWidget(new QLabel(ru("Шаг:"), this));
  controls->addWidget(spinStep);
  controls->addWidget(labStepCount);
  controls->addSpacing(12);
  controls->addWidget(new QLabel(ru("Скорость:"), this));
  controls->addWidget(cmbSpeed);
  controls->addSpacing(12);
  controls->addWidget(btnFirstOutside);
  controls->addWidget(btnSave);

  chartTrace = named(new QCustomPlot(this), "chartTrace");
  chartCharact = named(new QCustomPlot(this), "chartCharact");
  chartBest = named(new QCustomPlot(this), "chartBest");

  auto* traceBox = new QWidget(this);
  auto* traceLayout = new QVBoxLayout(traceBox);
  traceLayout->setContentsMargins(0, 0, 0, 0);
  traceLayout->addWidget(chartTrace, 1);
  traceLayout->addWidget(labLegend);

  // The characteristics under the trials they belong to; the best value
  // beside both; the table below, across the whole window for its nine columns.
  auto* left = new QSplitter(Qt::Vertical, this);
  left->addWidget(traceBox);
  left->addWidget(chartCharact);
  left->setStretchFactor(0, 3);
  left->setStretchFactor(1, 2);
  left->setSizes({330, 220});
  auto* charts = new QSplitter(Qt::Horizontal, this);
  charts->addWidget(left);
  charts->addWidget(chartBest);
  charts->setStretchFactor(0, 3);
  charts->setStretchFactor(1, 1);
  charts->setSizes({700, 260});
  auto* rows = new QSplitter(Qt::Vertical, this);
  rows->addWidget(charts);
  rows->addWidget(tblSteps);
  rows->setStretchFactor(0, 3);
  rows->setStretchFactor(1, 1);
  rows->setSizes({550, 130});

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(controls);
  layout->addWidget(labStep);
  layout->addWidget(rows, 1);
}

void TFormTrace::connectControls() {
  connect(sldStep, &QSlider::valueChanged, this, [this] { sldStepChange(); });
  connect(spinStep, &QSpinBox::valueChanged, this, [this] { spinStepChange(); });
  connect(btnStepBack, &QPushButton::clicked, this, [this] { btnStepBackClick(); });
  connect(btnStepForward, &QPushButton::clicked, this, [this] { btnStepForwardClick(); });
  connect(btnPlay, &QPushButton::toggled, this, [this] { btnPlayClick(); });
  connect(playTimer_, &QTimer::timeout, this, [this] { playTimerTick(); });
  connect(tblSteps->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] { tblStepsRowChange(); });
  connect(btnFirstOutside, &QPushButton::clicked, this, [this] { btnFirstOutsideClick(); });
  connect(actSaveTrace, &QAction::triggered, this, [this] { actSaveTraceClick(); });
  connect(actSaveCharact, &QAction::triggered, this, [this] { actSaveCharactClick(); });
  connect(actSaveBest, &QAction::triggered, this, [this] { actSaveBestClick(); });
  connect(actSaveSteps, &QAction::triggered, this, [this] { actSaveStepsClick(); });
}

void TFormTrace::showRun(std::shared_ptr<const TraceRun> run) {
  stopPlaying();
  // The press kept no step records: the same run is made again with them.
  trace_ = std::make_shared<const Lab::SearchTrace>(*run->run.request.method, Lab::runAgainRecorded(run->run));
  run_ = std::move(run);
  const Lab::MethodInfo& method = Lab::methodInfo(trace_->method());
  QString name = QString::fromUtf8(method.windowName.data(), static_cast<qsizetype>(method.windowName.size()));
  name = name.simplified();
  if (name.endsWith(';')) name.chop(1);
  setWindowTitle(ru("Ход поиска — ") + name);
  const bool brokenLine = method.brokenLine;
  labLegend->setText(ru("<span style='color:#1f4fbf'>&#9473;</span> функция &nbsp; "
                        "<span style='color:#8b0000'>&#9670;</span> испытания до шага &nbsp; "
                        "<span style='color:#008000'>&#9679;</span> точка шага &nbsp; ") +
                     (brokenLine ? ru("<span style='color:#e07000'>&#9473;</span> ломаная &nbsp; ") : QString()) +
                     ru("<span style='background-color:#fff0b0'>&nbsp;&nbsp;&nbsp;</span> делимый интервал"));

  const int steps = trace_->stepCount();
  {
    const QSignalBlocker blockSlider(sldStep);
    const QSignalBlocker blockSpin(spinStep);
    sldStep->setRange(0, steps);
    sldStep->setPageStep(std::max(1, steps / 20));
    spinStep->setRange(0, steps);
  }
  labStepCount->setText(ru("из %1").arg(steps));
  const int firstOutside = trace_->outcome().firstStepOutside;
  btnFirstOutside->setText(ru("Выход за интервал: шаг %1").arg(firstOutside));
  btnFirstOutside->setVisible(firstOutside > 0);
  {
    const QSignalBlocker blockSelection(tblSteps->selectionModel());
    model_->setTrace(trace_);
  }
  drawRun();
  setStep(steps);
}

bool TFormTrace::playing() const { return btnPlay->isChecked(); }

void TFormTrace::setStep(int k) {
  const int steps = run_ ? trace_->stepCount() : 0;
  step_ = std::clamp(k, 0, steps);
  {
    const QSignalBlocker blockSlider(sldStep);
    const QSignalBlocker blockSpin(spinStep);
    const QSignalBlocker blockSelection(tblSteps->selectionModel());
    sldStep->setValue(step_);
    spinStep->setValue(step_);
    if (step_ == 0) {
      tblSteps->selectionModel()->clear();
      tblSteps->scrollToTop();
    } else {
      const QModelIndex row = model_->index(step_ - 1, 0);
      tblSteps->selectionModel()->setCurrentIndex(row, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
      tblSteps->scrollTo(row);
    }
  }
  btnStepBack->setEnabled(run_ && step_ > 0);
  btnStepForward->setEnabled(run_ && step_ < steps);
  if (run_) drawStep();
}

void TFormTrace::stopPlaying() {
  playTimer_->stop();
  const QSignalBlocker block(btnPlay);
  btnPlay->setChecked(false);
  btnPlay->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));
}

void TFormTrace::hideEvent(QHideEvent* event) {
  stopPlaying();
  QWidget::hideEvent(event);
}

void TFormTrace::sldStepChange() {
  guard_.run([this] { setStep(sldStep->value()); });
}

void TFormTrace::spinStepChange() {
  guard_.run([this] { setStep(spinStep->value()); });
}

void TFormTrace::btnStepBackClick() {
  guard_.run([this] { setStep(step_ - 1); });
}

void TFormTrace::btnStepForwardClick() {
  guard_.run([this] { setStep(step_ + 1); });
}

void TFormTrace::tblStepsRowChange() {
  guard_.run([this] {
    const QModelIndex current = tblSteps->selectionModel()->currentIndex();
    if (current.isValid()) setStep(current.row() + 1);
  });
}

void TFormTrace::btnFirstOutsideClick() {
  guard_.run([this] {
    stopPlaying();
    if (run_) setStep(trace_->outcome().firstStepOutside);
  });
}

void TFormTrace::btnPlayClick() {
  guard_.run([this] {
    if (!btnPlay->isChecked() || !run_) {
      stopPlaying();
      return;
    }
    btnPlay->setIcon(style()->standardIcon(QStyle::SP_MediaPause));
    // Play at the last step starts the replay over.
    if (step_ == trace_->stepCount()) setStep(0);
    playTimer_->start(FrameMs);
  });
}

void TFormTrace::playTimerTick() {
  bool more = false;
  guard_.run([&] {
    const int speed = cmbSpeed->currentData().toInt();
    const int interval = std::max(FrameMs, 1000 / speed);
    const int stride = std::max(1, speed * interval / 1000);
    setStep(step_ + stride);
    // The next frame is asked for only once this one is drawn: a slow frame
    // cannot pile up ticks, and a fault in drawing stops the replay.
    more = run_ && step_ < trace_->stepCount() && btnPlay->isChecked();
    if (more) playTimer_->start(interval);
  });
  if (!more) stopPlaying();
}

void TFormTrace::actSaveTraceClick() {
  guard_.run([this] {
    SaveFile::chart(dialogs_, ru("Сохранить рисунок хода поиска"), *chartTrace, {SaveFile::Kind::Png, SaveFile::Kind::Pdf});
  });
}

void TFormTrace::actSaveCharactClick() {
  guard_.run([this] {
    SaveFile::chart(dialogs_, ru("Сохранить рисунок характеристик"), *chartCharact,
                    {SaveFile::Kind::Png, SaveFile::Kind::Pdf});
  });
}

void TFormTrace::actSaveBestClick() {
  guard_.run([this] {
    SaveFile::chart(dialogs_, ru("Сохранить рисунок лучшего значения"), *chartBest,
                    {SaveFile::Kind::Png, SaveFile::Kind::Pdf});
  });
}

void TFormTrace::actSaveStepsClick() {
  guard_.run([this] {
    if (!run_) return;
    SaveFile::csv(dialogs_, ru("Сохранить таблицу шагов"), [this] {
      std::ostringstream out;
      Lab::writeStepsCsv(out, StepTableModel::titles().join(',').toStdString(), trace_->outcome().stepRecords);
      return out.str();
    });
  });
}

QString TFormTrace::number(double value) const {
  return QString::fromStdString(Lab::shortest(value, separator_.toStdString()));
}

}  // namespace Velmora
