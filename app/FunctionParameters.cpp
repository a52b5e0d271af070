#include "FunctionParameters.h"

#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <algorithm>
#include <charconv>

#include "Main.h"
#include "MessageText.h"
#include "Widgets.h"

namespace Velmora {

void FunctionParameters::createControls(QGroupBox* gbOptFunc) {
  Label1 = makeLabel(gbOptFunc, "Label1", "Параметры: ", 317, 20, 77, 13, true);
  bevSpacer = make<QFrame>(gbOptFunc, "bevSpacer", 311, 10, 17, 74);
  {
    // A bevel drawn as one vertical line at its left edge.
    auto* line = make<QFrame>(bevSpacer, "bevSpacerLine", 0, 0, 2, 74);
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    bevSpacer->setAttribute(Qt::WA_TransparentForMouseEvents);
  }

  bbtnUpdateFunc = make<QPushButton>(gbOptFunc, "bbtnUpdateFunc", 582, 16, 89, 67);
  bbtnUpdateFunc->setText(QStringLiteral("Update"));
  setFontStyle(bbtnUpdateFunc, true);
  bbtnUpdateFunc->setIcon(stripIcon(QStringLiteral(":/glyphs/update.png")));
  bbtnUpdateFunc->setIconSize(QSize(32, 40));
  bbtnUpdateFunc->setToolTip(ru("Принять изменеия функции"));
  bbtnUpdateFunc->setEnabled(false);

  spinParamCount = make<QSpinBox>(gbOptFunc, "spinParamCount", 318, 37, 68, 22);
  setFontStyle(spinParamCount, true);
  spinParamCount->setRange(0, 9);
  spinParamCount->setSingleStep(1);
  spinParamCount->setValue(0);
  spinParamCount->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
  spinParamCount->setToolTip(ru("Количество параметров функции"));

  strgParams = make<QTableWidget>(gbOptFunc, "strgParams", 391, 16, 187, 67);
  setFontStyle(strgParams, false);
  strgParams->setRowCount(1);
  strgParams->setColumnCount(3);
  strgParams->verticalHeader()->setVisible(false);
  strgParams->horizontalHeader()->setDefaultSectionSize(60);
  strgParams->horizontalHeader()->setMinimumSectionSize(10);
  strgParams->horizontalHeader()->setFixedHeight(21);
  strgParams->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  strgParams->horizontalHeader()->setHighlightSections(false);
  strgParams->verticalHeader()->setDefaultSectionSize(21);
  strgParams->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  strgParams->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  strgParams->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  strgParams->setShowGrid(true);
  strgParams->setSelectionMode(QAbstractItemView::ContiguousSelection);
  strgParams->setEditTriggers(QAbstractItemView::AllEditTriggers);
  strgParams->setToolTip(ru("Значения параметров функции"));
  // Random's widest text, "-0,9999688", must fit a 60-pixel column in the
  // substitute font: narrow cell margins, and no ellipsis in place of digits.
  strgParams->setStyleSheet(QStringLiteral("QTableView::item { padding: 0px 1px; }"));
  strgParams->setTextElideMode(Qt::ElideNone);
  for (int c = 0; c < strgParams->columnCount(); ++c) setParamColumn(c, QString(), QString());

  btnRandParam = make<QPushButton>(gbOptFunc, "btnRandParam", 318, 62, 69, 22);
  btnRandParam->setText(QStringLiteral("Random"));
  setFontStyle(btnRandParam, true);
  btnRandParam->setToolTip(ru("Случайные значения параметров из отрезка (-1, 1)"));
}

void FunctionParameters::connectControls(IntervalAndMethod& interval, FunctionGraph& graph) {
  interval_ = &interval;
  graph_ = &graph;
  // The spin box's own signal keeps quiet while its text is no number, and
  // its edit's signal while the value is set from outside; together they
  // follow every text, an empty one included.
  QObject::connect(spinParamCount, &QSpinBox::textChanged, spinParamCount, [this] { spinParamCountChange(); });
  QObject::connect(spinParamCount->findChild<QLineEdit*>(), &QLineEdit::textChanged, spinParamCount,
                   [this] { spinParamCountChange(); });
  QObject::connect(btnRandParam, &QPushButton::clicked, btnRandParam, [this] { btnRandParamClick(); });
  QObject::connect(bbtnUpdateFunc, &QPushButton::clicked, bbtnUpdateFunc, [this] { bbtnUpdateFuncClick(); });
}

void FunctionParameters::setParamColumn(int column, const QString& header, const QString& value) {
  auto* head = strgParams->horizontalHeaderItem(column);
  if (!head) {
    head = new QTableWidgetItem;
    strgParams->setHorizontalHeaderItem(column, head);
  }
  head->setText(header);
  auto* cell = strgParams->item(0, column);
  if (!cell) {
    cell = new QTableWidgetItem;
    strgParams->setItem(0, column, cell);
  }
  cell->setText(value);
}

void FunctionParameters::spinParamCountChange() {
  state_.guard().run([&] {
    const int oldCount = state_.paramCount;
    const std::string text = spinParamCount->text().trimmed().toStdString();
    int count = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
    const bool isInteger = error != std::errc::invalid_argument && end == text.data() + text.size() && !text.empty();
    if (!isInteger) {
      count = 0;
    } else if (error == std::errc::result_out_of_range) {
      count = text.front() == '-' ? 0 : 9;
    }
    state_.paramCount = std::clamp(count, 0, 9);

    strgParams->setColumnCount(std::max(state_.paramCount, 1));
    for (int c = oldCount; c < state_.paramCount; ++c) {
      setParamColumn(c, QStringLiteral("X[%1]").arg(c + 1), QStringLiteral("0"));
      state_.vars[c + 1] = 0.0;
    }
    if (state_.paramCount == 0) {
      setParamColumn(0, QString(), QString());
      strgParams->setEnabled(false);
    } else {
      strgParams->setEnabled(true);
    }
    if (!isInteger) spinParamCount->findChild<QLineEdit*>()->setText(QStringLiteral("0"));
  });
}

void FunctionParameters::btnRandParamClick() {
  state_.guard().run([&] {
    const Extended step = 0.00003125L;  // 1/32000
    for (int c = 0; c < state_.paramCount; ++c) {
      const std::uint32_t r = state_.randomGenerator() >> 1;  // 31 bits
      const int k = static_cast<int>(r % 64000);
      const double v = toDouble(mul(static_cast<Extended>(k - 32000), step));
      state_.vars[c + 1] = v;
      strgParams->item(0, c)->setText(state_.toFixed(v, 8, 7));
    }
  });
}

void FunctionParameters::bbtnUpdateFuncClick() {
  state_.guard().run([&] {
    if (!state_.funcCorrect) return;
    state_.dataCorrect = true;
    for (int c = 0; c < state_.paramCount; ++c) {
      const auto* cell = strgParams->item(0, c);
      if (const auto value = state_.toNumber(cell ? cell->text() : QString())) {
        state_.vars[c + 1] = *value;
      } else {
        state_.dataCorrect = false;
      }
    }
    if (!state_.dataCorrect) {
      state_.showInputMessage(Lab::InputMessage::FunctionParameter);
      return;
    }
    if (!interval_->readInterval()) {
      state_.dataCorrect = false;
      state_.showInputMessage(Lab::InputMessage::Interval);
      return;
    }
    graph_->DrawFunctionGraph();
  });
}

}  // namespace Velmora
