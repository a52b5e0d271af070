// Thousands of random user actions on the real window, through its widgets:
// keys in every edit, samples, the parameter count and grid, Random, Update,
// methods, stop rules, Search and About, the chart's menu, wheel and double
// click, and the search's course: its slider, spin box, step buttons, table,
// play, saving and closing, with new Searches while it is open. After every
// action the window must still tell the truth: the buttons, the error line and
// the results agree with what was typed and done, the menu offers the course
// exactly while the chart shows a finished run, every view of the course shows
// one step of the last run, every box is one of the program's own, and no
// modal window or menu is left open.
//
//   VELMORA_MONKEY_SEED=N       replay the run with seed N ("random" for a new one)
//   VELMORA_MONKEY_ACTIONS=N    number of actions (default 3000)
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QMenu>
#include <QSlider>
#include <QTableView>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <bit>
#include <chrono>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <qcustomplot.h>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "Aboutform.h"
#include "Main.h"
#include "Math_Parser.h"
#include "RadioGroup.h"
#include "RecordingDialogs.h"
#include "SpinEdit.h"
#include "TraceForm.h"

namespace Velmora::Testing {
namespace {

// Whole formulas a user might paste: the samples' kin, formulas that fault or
// make the library report at ordinary points, and broken ones.
const char* const Formulas[] = {
    "x[0]^2 - 5",
    "1/x[0]",
    "ln(x[0])",
    "sqrt(x[0])",
    "0/0 + x[0]",
    "10^200*10^200 + x[0]",
    "x[0] % 0.5",
    "x[12] + x[0]",
    "th(1000*x[0])",
    "exp(x[0]*x[0]*100)",
    "x[1]*x[0]^2 + x[2]*x[0] + x[3]",
    "arcsin(x[0]) + arccos(x[0]/20)",
    "(-8)^(1/3) * x[0]",
    "ctg(x[0]) + cth(x[0])",
    "1/(x[0] - 0.3125)",
    "lg(x[0]^2) * sin(x[0]*x[9])",
    "sin(x[0]",
    "x[0]^2 -",
    "1,5*x[0]",
    "%1",
    "ж + x[0]",
    "",
};

const QString LongFormulas[] = {
    QStringLiteral("1+").repeated(16383) + QStringLiteral("x[0]"),
    QStringLiteral("(").repeated(999) + QStringLiteral("x[0]") + QStringLiteral(")").repeated(999),
    QStringLiteral("(").repeated(5000) + QStringLiteral("x[0]") + QStringLiteral(")").repeated(5000),
    QStringLiteral("sin(").repeated(8000) + QStringLiteral("x[0]") + QStringLiteral(")").repeated(8000),
    QStringLiteral("x[0]^").repeated(6000) + QStringLiteral("1"),
};

// What a user's fingers produce in the formula edit.
const QString FormulaKeys = QStringLiteral("x[0]x[1]123.+-*/%^()  sincoexplnqrtgh,ж");
// ... and in the number edits and grid cells.
const QString NumberKeys = QStringLiteral("0123456789,,.-+eE ");
const char* const Numbers[] = {"-10", "+10", "0,1", "1,5", "1", "1,0000001", "0", "-3", "1e1",
                               " 10 ", "0.1", "abc", "", "1e400", "-0,5", "2", "1e-300", ","};

std::set<QString> ownMessages() {
  return {
      QStringLiteral("Неверно введён интервал поиска значения"),
      QStringLiteral("Неверно задан параметр метода Пиявского или Стронгина"),
      QStringLiteral(" Множитель константы Липшица в методе Стронгина должен быть > 1"),
      QStringLiteral("Неверно задана точность поиска минимума"),
      QStringLiteral("Неверно введён один из параметров функции"),
  };
}

// The messages that end a press before it changes anything.
bool isInputMessage(const QString& text) { return ownMessages().count(text) > 0; }

bool isOwnError(const QString& text) {
  static const std::set<QString> faults = {
      QStringLiteral("Floating point division by zero."), QStringLiteral("Invalid floating point operation."),
      QStringLiteral("Floating point overflow."),         QStringLiteral("Division by zero."),
      QStringLiteral("Integer overflow."),
  };
  return faults.count(text) > 0 ||
         (text.startsWith(QStringLiteral("x[")) && text.endsWith(QStringLiteral(" is outside the variables x[0] to x[9].")));
}

bool isLibraryReport(const QString& text) {
  static const QStringList names = {"sqrt", "log", "log10", "asin", "acos", "exp", "pow"};
  static const QStringList kinds = {"DOMAIN", "SING", "OVERFLOW"};
  const auto parts = text.split(QStringLiteral(": "));
  if (parts.size() != 2 || !names.contains(parts[0])) return false;
  for (const QString& kind : kinds)
    if (parts[1] == kind + QStringLiteral(" error")) return true;
  return false;
}

// What the window shows the user, compared before and after each action.
struct Snapshot {
  QString globMin, madeParam;
  std::vector<std::pair<std::uint64_t, std::uint64_t>> series1, series2;  // bit patterns: gaps are NaN
  bool operator==(const Snapshot&) const = default;
};

std::vector<std::pair<std::uint64_t, std::uint64_t>> points(QCPGraph* graph) {
  std::vector<std::pair<std::uint64_t, std::uint64_t>> out;
  for (auto it = graph->data()->constBegin(); it != graph->data()->constEnd(); ++it)
    out.emplace_back(std::bit_cast<std::uint64_t>(it->key), std::bit_cast<std::uint64_t>(it->value));
  return out;
}

std::uint64_t seedFromEnvironment() {
  const char* text = std::getenv("VELMORA_MONKEY_SEED");
  if (!text || !*text) return 20261208;
  if (std::string(text) == "random")
    return static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
  return std::strtoull(text, nullptr, 10);
}

int actionsFromEnvironment() {
  const char* text = std::getenv("VELMORA_MONKEY_ACTIONS");
  return text && *text ? std::atoi(text) : 3000;
}

class Monkey {
 public:
  explicit Monkey(std::uint64_t seed) : rng_(seed) {
    form_ = std::make_unique<TMainForm>(&dialogs_, QStringLiteral(","));
    form_->show();
  }

  // One random action; returns its description for the log.
  QString act() {
    boxesBefore_ = dialogs_.boxes.size();
    before_ = snapshot();
    kind_ = Kind::Other;
    runKeptBefore_ = form_->lastRun != nullptr;
    switch (weighted({14, 6, 4, 3, 10, 3, 3, 3, 4, 3, 3, 2, 12, 4, 1, 2, 2, 6, 1, 0.2, 0.5})) {
      case 0: return typeInto(form_->edFuncExpr, FormulaKeys);
      case 1: return erase(form_->edFuncExpr);
      case 2: {
        if (chance(0.05)) {
          // As long and as deep as the edit takes: the window must stay quick and whole.
          const QString text = pick(LongFormulas);
          form_->edFuncExpr->setText(text);
          return QStringLiteral("paste a formula of %1 characters").arg(form_->edFuncExpr->text().size());
        }
        const QString text = QString::fromUtf8(pick(Formulas));
        form_->edFuncExpr->setText(text);
        return "paste formula \"" + text + "\"";
      }
      case 3: {
        const int index = integer(0, form_->combFuncList->count() - 1);
        form_->combFuncList->setCurrentIndex(index);
        return QStringLiteral("pick sample %1").arg(index + 1);
      }
      case 4: {
        QLineEdit* edits[] = {form_->edXmin, form_->edXmax, form_->edMetParam, form_->edPrecision};
        QLineEdit* edit = pick(edits);
        switch (integer(0, 2)) {
          case 0: return typeInto(edit, NumberKeys);
          case 1: return erase(edit);
          default:
            edit->setText(QString::fromUtf8(pick(Numbers)));
            return edit->objectName() + " = \"" + edit->text() + "\"";
        }
      }
      case 5: {
        if (chance(0.3)) {
          // Typed into the spin edit's own text: anything, corrected by the window.
          QLineEdit* text = form_->spinParamCount->findChild<QLineEdit*>();
          text->setCursorPosition(integer(0, text->text().size()));
          if (chance(0.3)) {
            QTest::keyClick(text, Qt::Key_Backspace);
          } else {
            QTest::keyClicks(text, QString(QStringLiteral("0123456789-a")[integer(0, 11)]));
          }
          return "parameter count text \"" + text->text() + "\"";
        }
        if (chance(0.5)) {
          QTest::keyClick(form_->spinParamCount, chance(0.5) ? Qt::Key_Up : Qt::Key_Down);
        } else {
          form_->spinParamCount->setValue(integer(0, 9));
        }
        return QStringLiteral("parameter count %1").arg(form_->spinParamCount->value());
      }
      case 6: {
        const int column = integer(0, form_->strgParams->columnCount() - 1);
        QTableWidgetItem* item = form_->strgParams->item(0, column);
        if (!item || !form_->strgParams->isEnabled()) return QStringLiteral("grid disabled");
        item->setText(chance(0.3) ? QString::fromUtf8(pick(Numbers)) : item->text() + NumberKeys[integer(0, NumberKeys.size() - 1)]);
        return QStringLiteral("cell %1 = \"%2\"").arg(column).arg(item->text());
      }
      case 7:
        click(form_->btnRandParam);
        return QStringLiteral("Random");
      case 8:
        kind_ = Kind::Update;
        click(form_->bbtnUpdateFunc);
        return QStringLiteral("Update");
      case 9: {
        const int index = integer(0, form_->radgrSearchMet->count() - 1);
        click(form_->radgrSearchMet->item(index));
        return QStringLiteral("method %1").arg(index);
      }
      case 10: {
        QRadioButton* rule = chance(0.5) ? form_->rbtnStepStop : form_->rbtnPrecStop;
        click(rule);
        return rule->objectName();
      }
      case 11: {
        // Small runs keep thousands of actions within seconds; the step
        // bound has tests of its own.
        QLineEdit* text = form_->spedSteps->findChild<QLineEdit*>();
        if (chance(0.4) && text->text().size() < 3) {
          text->setCursorPosition(integer(0, text->text().size()));
          QTest::keyClicks(text, QString(QStringLiteral("0123456789-a ")[integer(0, 12)]));
          return "steps text \"" + text->text() + "\"";
        }
        form_->spedSteps->setValue(chance(0.1) ? integer(300, 2000) : integer(1, 120));
        return QStringLiteral("steps %1").arg(form_->spedSteps->value());
      }
      case 12:
        kind_ = Kind::Search;
        click(form_->bbtnSearchMin);
        return QStringLiteral("Search");
      case 13: {
        // The user puts things right, so that runs happen between the mistakes.
        static const char* const lows[] = {"-10", "-3", "0", "1,5"};
        static const char* const highs[] = {"+10", "3", "2", "-1"};
        static const char* const params[] = {"1,5", "2", "10", "0,5"};
        static const char* const precisions[] = {"0,1", "0,01", "0,5", "1"};
        form_->edXmin->setText(QString::fromUtf8(pick(lows)));
        form_->edXmax->setText(QString::fromUtf8(pick(highs)));
        form_->edMetParam->setText(QString::fromUtf8(pick(params)));
        form_->edPrecision->setText(QString::fromUtf8(pick(precisions)));
        if (chance(0.5)) form_->combFuncList->setCurrentIndex(integer(0, form_->combFuncList->count() - 1));
        return "inputs set right: [" + form_->edXmin->text() + ", " + form_->edXmax->text() + "], parameter " +
               form_->edMetParam->text() + ", precision " + form_->edPrecision->text();
      }
      case 15: return chartMenu();
      case 16: return mouseOnChart();
      case 17: return traceStep();
      case 18: {
        if (!traceOpen()) return QStringLiteral("no course to play");
        click(form_->FormTrace->btnPlay);
        QTest::qWait(integer(0, 60));
        return QStringLiteral("play/stop, then a pause");
      }
      case 19:
        if (!traceOpen()) return QStringLiteral("no course to close");
        form_->FormTrace->close();
        return QStringLiteral("close the course");
      case 20: {
        if (!traceOpen()) return QStringLiteral("no course to save");
        TFormTrace& trace = *form_->FormTrace;
        QAction* saves[] = {trace.actSaveTrace, trace.actSaveCharact, trace.actSaveBest, trace.actSaveSteps};
        QAction* save = pick(saves);
        answerSaveFile();
        save->trigger();
        return save->objectName() + " to \"" + dialogs_.saveFileAnswer + "\"";
      }
      default: {
        // The About window is modal: close it from the event loop it runs.
        QTimer::singleShot(0, [this] {
          if (QWidget* modal = QApplication::activeModalWidget()) {
            ++aboutShown_;
            QTest::keyClick(modal, Qt::Key_Return);
          }
        });
        click(form_->bbtnProgramInfo);
        return QStringLiteral("About");
      }
    }
  }

  // The invariants a user relies on; returns the first one broken, or "".
  QString check() {
    const QString formula = form_->edFuncExpr->text();
    bool compiles = false;
    QString errorLine;
    if (formula.isEmpty()) {
      errorLine = QStringLiteral("Expression is not entered");
    } else {
      Math_Parser::TParser parser;
      const std::string text = formula.toStdString();
      try {
        parser.Parse(text.c_str());
        compiles = true;
        errorLine = QStringLiteral("Expression is Entered correctly");
      } catch (const Math_Parser::TError& error) {
        QString message = QString::fromUtf8(error.Message.c_str());
        message.replace(QChar::ReplacementCharacter, formula.mid(error.Position, 1));
        errorLine = message + QStringLiteral(" at position ") + QString::number(error.Position);
      }
    }
    if (form_->bbtnUpdateFunc->isEnabled() != compiles || form_->bbtnSearchMin->isEnabled() != compiles)
      return QStringLiteral("Update/Search enabled %1/%2 for a formula that %3")
          .arg(form_->bbtnUpdateFunc->isEnabled())
          .arg(form_->bbtnSearchMin->isEnabled())
          .arg(compiles ? "compiles" : "does not compile");
    if (form_->edFuncErrors->text() != errorLine)
      return "error line \"" + form_->edFuncErrors->text() + "\", expected \"" + errorLine + "\"";

    if (QWidget* modal = QApplication::activeModalWidget())
      return QStringLiteral("a modal window is left open: ") + modal->metaObject()->className();
    if (QWidget* popup = QApplication::activePopupWidget())
      return QStringLiteral("a menu is left open: ") + popup->metaObject()->className();

    const int count = form_->spinParamCount->value();
    if (form_->paramCount != count) return QStringLiteral("paramCount %1, spin %2").arg(form_->paramCount).arg(count);
    if (form_->strgParams->columnCount() != std::max(count, 1))
      return QStringLiteral("%1 grid columns for %2 parameters").arg(form_->strgParams->columnCount()).arg(count);
    if (form_->strgParams->isEnabled() != (count > 0)) return QStringLiteral("grid enabled with no parameters");

    bool inputMessage = false, fault = false;
    std::set<QString> reports;
    for (std::size_t i = boxesBefore_; i < dialogs_.boxes.size(); ++i) {
      const Box& box = dialogs_.boxes[i];
      switch (box.kind) {
        case Box::Kind::Message:
          if (!isInputMessage(box.text) && !isBoundMessage(box.text)) return "a message of no known text: " + box.text;
          inputMessage = inputMessage || isInputMessage(box.text);
          break;
        case Box::Kind::Error:
          if (!isOwnError(box.text)) return "an error box of no known text: " + box.text;
          fault = true;
          break;
        case Box::Kind::MathReport:
          if (!isLibraryReport(box.text)) return "a report of no known text: " + box.text;
          if (!reports.insert(box.text).second) return "the same report twice in one action: " + box.text;
          break;
        case Box::Kind::SaveFile:
          break;
      }
    }

    if (const QString broken = checkRunKept(inputMessage, fault); !broken.isEmpty()) return broken;
    if (const QString broken = checkTrace(); !broken.isEmpty()) return broken;

    const Snapshot after = snapshot();
    const bool resultsKept = after.globMin == before_.globMin && after.madeParam == before_.madeParam;
    const bool seriesKept = after.series1 == before_.series1 && after.series2 == before_.series2;
    switch (kind_) {
      case Kind::Other:
        if (!resultsKept || !seriesKept) return QStringLiteral("results or chart changed without Update or Search");
        break;
      case Kind::Update:
        if (!resultsKept) return QStringLiteral("Update changed the result fields");
        if (inputMessage && !seriesKept) return QStringLiteral("a refused Update changed the chart");
        if (!inputMessage && !fault && form_->bbtnUpdateFunc->isEnabled() &&
            (after.series1.size() != 500 || !after.series2.empty()))
          return QStringLiteral("Update drew %1 samples and kept %2 trial points")
              .arg(after.series1.size())
              .arg(after.series2.size());
        break;
      case Kind::Search:
        if (inputMessage && (!resultsKept || !seriesKept)) return QStringLiteral("a refused Search changed the results");
        if (!inputMessage && !fault && form_->bbtnSearchMin->isEnabled()) {
          // A run that went through shows every trial: the steps and both ends.
          // A step run makes its steps unless its new point fell on an end.
          const bool stepRule = form_->rbtnStepStop->isChecked();
          const bool unsplittable =
              form_->lastRun && form_->lastRun->run.outcome.stop == Velmora::Lab::StopReason::IntervalUnsplittable;
          const int steps = stepRule && !unsplittable ? form_->spedSteps->value()
                            : stepRule                ? form_->lastRun->run.outcome.stepCount
                                                      : after.madeParam.toInt();
          if (static_cast<int>(after.series2.size()) != steps + 2)
            return QStringLiteral("%1 trial points after %2 steps").arg(after.series2.size()).arg(steps);
          if (after.globMin.isEmpty()) return QStringLiteral("no result after a run");
          if (after.series1.size() != 500) return QStringLiteral("the graph has %1 samples").arg(after.series1.size());
          ++searches_;
          if (traceOpen()) ++searchesWithTrace_;
        }
        break;
    }
    return {};
  }

  int searches() const { return searches_; }
  int aboutShown() const { return aboutShown_; }
  int traceSteps() const { return traceSteps_; }
  int searchesWithTrace() const { return searchesWithTrace_; }
  const RecordingDialogs& dialogs() const { return dialogs_; }
  void close() {
    form_.reset();
  }

 private:
  enum class Kind { Other, Update, Search };

  bool traceOpen() const { return form_->FormTrace && form_->FormTrace->isVisible(); }

  // The chart's menu, opened by the right button; one of its items chosen
  // from the menu's own event loop, or the menu left with Escape.
  QString chartMenu() {
    // The course most often, as it is the item a user comes for.
    const int choice = static_cast<int>(weighted({5, 1.5, 1.5, 2}));
    if (choice < 3) answerSaveFile();
    QString chosen = QStringLiteral("nothing");
    QTimer::singleShot(0, [&] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      if (!menu) return;
      QAction* action = choice < 3 ? menu->actions().value(choice) : nullptr;
      if (action && action->isEnabled()) {
        chosen = action->objectName();
        menu->setActiveAction(action);
        QTest::keyClick(menu, Qt::Key_Return);
      } else {
        QTest::keyClick(menu, Qt::Key_Escape);
      }
    });
    const QPoint at = form_->chartFunc->rect().center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, form_->chartFunc->mapToGlobal(at));
    QApplication::sendEvent(form_->chartFunc, &event);
    return "chart menu: " + chosen;
  }

  QString mouseOnChart() {
    QCustomPlot* chart = form_->chartFunc;
    const QPoint at(integer(0, chart->width() - 1), integer(0, chart->height() - 1));
    if (chance(0.7)) {
      const int delta = chance(0.5) ? 120 : -120;
      QWheelEvent wheel(at, chart->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                        Qt::NoScrollPhase, false);
      QApplication::sendEvent(chart, &wheel);
      return QStringLiteral("wheel %1 on the chart").arg(delta);
    }
    QTest::mouseDClick(chart, Qt::LeftButton, {}, at);
    QTest::mouseRelease(chart, Qt::LeftButton, {}, at);
    return QStringLiteral("double click on the chart");
  }

  QString traceStep() {
    if (!traceOpen()) return QStringLiteral("no course to step through");
    TFormTrace& trace = *form_->FormTrace;
    ++traceSteps_;
    const int steps = trace.sldStep->maximum();
    switch (integer(0, 5)) {
      case 0: trace.sldStep->setValue(integer(0, steps)); return QStringLiteral("slider to %1").arg(trace.sldStep->value());
      case 1: QTest::keyClick(trace.sldStep, chance(0.5) ? Qt::Key_Right : Qt::Key_PageDown); return QStringLiteral("slider by key");
      case 2: trace.spinStep->setValue(integer(0, steps)); return QStringLiteral("spin to %1").arg(trace.spinStep->value());
      case 3: click(trace.btnStepBack); return QStringLiteral("step back");
      case 4: click(trace.btnStepForward); return QStringLiteral("step forward");
      default:
        if (steps == 0) return QStringLiteral("no rows");
        trace.tblSteps->selectRow(integer(0, steps - 1));
        return QStringLiteral("table row %1").arg(trace.tblSteps->currentIndex().row());
    }
  }

  // Cancelled now and then; otherwise a file in the run's own folder.
  void answerSaveFile() {
    static const char* const names[] = {"saved.png", "saved.pdf", "saved.jpg", "saved", "saved.csv"};
    dialogs_.saveFileAnswer = chance(0.3) ? QString() : files_.filePath(QString::fromLatin1(pick(names)));
  }

  // The menu offers the course and the trials exactly while the chart shows a
  // finished run: a Search that ran makes one, Update and a fault take it away.
  QString checkRunKept(bool inputMessage, bool fault) const {
    const bool kept = form_->lastRun != nullptr;
    if (form_->actSearchTrace->isEnabled() != kept || form_->actSaveTrials->isEnabled() != kept)
      return QStringLiteral("the menu's items do not follow the kept run");
    bool expected = runKeptBefore_;
    if (kind_ == Kind::Update && !inputMessage && form_->bbtnUpdateFunc->isEnabled()) expected = false;
    if (kind_ == Kind::Search && !inputMessage && form_->bbtnSearchMin->isEnabled()) expected = !fault;
    if (kept != expected) return QStringLiteral("a run is%1 kept after %2").arg(kept ? "" : " not").arg(int(kind_));
    return {};
  }

  // Every view of an open course shows one step of the last run.
  QString checkTrace() const {
    if (!traceOpen()) return {};
    const TFormTrace& trace = *form_->FormTrace;
    if (form_->lastRun && trace.run() != form_->lastRun) return QStringLiteral("the course is not the last run's");
    const int steps = trace.trace().stepCount();
    const int k = trace.step();
    if (trace.sldStep->maximum() != steps || trace.spinStep->maximum() != steps)
      return QStringLiteral("slider and spin box end at %1 and %2, the run has %3 steps")
          .arg(trace.sldStep->maximum())
          .arg(trace.spinStep->maximum())
          .arg(steps);
    if (trace.sldStep->value() != k || trace.spinStep->value() != k)
      return QStringLiteral("step %1, slider %2, spin box %3").arg(k).arg(trace.sldStep->value()).arg(trace.spinStep->value());
    if (k > 0 && trace.tblSteps->currentIndex().row() != k - 1)
      return QStringLiteral("step %1 with table row %2").arg(k).arg(trace.tblSteps->currentIndex().row());
    if (trace.btnStepBack->isEnabled() != (k > 0) || trace.btnStepForward->isEnabled() != (k < steps))
      return QStringLiteral("step buttons at step %1 of %2").arg(k).arg(steps);
    int trials = 0, current = 0;
    for (int i = 0; i < trace.chartTrace->graphCount(); ++i) {
      const QCPGraph* graph = trace.chartTrace->graph(i);
      if (graph->name() == QLatin1String("trials")) trials = graph->dataCount();
      if (graph->name() == QLatin1String("current")) current = graph->dataCount();
    }
    if (trials != std::max(k - 1, 0) + 2 || current != (k > 0 ? 1 : 0))
      return QStringLiteral("step %1 draws %2 trials and %3 new points").arg(k).arg(trials).arg(current);
    return {};
  }

  static bool isBoundMessage(const QString& text) {
    return text == QStringLiteral("Заданная точность поиска не достигнута за 100000 шагов");
  }

  Snapshot snapshot() const {
    return {form_->edGlobMin->text(), form_->edMadeParam->text(), points(form_->Series1), points(form_->Series2)};
  }

  QString typeInto(QLineEdit* edit, const QString& keys) {
    if (!edit->isEnabled()) return edit->objectName() + " disabled";
    edit->setCursorPosition(integer(0, edit->text().size()));
    const QChar key = keys[integer(0, keys.size() - 1)];
    // A key event with its text, as a keyboard layout with Cyrillic letters sends it.
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(key));
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(key));
    QApplication::sendEvent(edit, &press);
    QApplication::sendEvent(edit, &release);
    return edit->objectName() + " + '" + key + "'";
  }

  QString erase(QLineEdit* edit) {
    if (!edit->isEnabled()) return edit->objectName() + " disabled";
    edit->setCursorPosition(integer(0, edit->text().size()));
    const bool backspace = chance(0.5);
    QTest::keyClick(edit, backspace ? Qt::Key_Backspace : Qt::Key_Delete);
    return edit->objectName() + (backspace ? " backspace" : " delete");
  }

  static void click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

  int integer(int a, int b) { return std::uniform_int_distribution<int>(a, b)(rng_); }
  bool chance(double p) { return std::uniform_real_distribution<double>(0, 1)(rng_) < p; }
  template <typename T, std::size_t N>
  T& pick(T (&items)[N]) {
    return items[integer(0, N - 1)];
  }
  int weighted(std::initializer_list<double> weights) {
    return std::discrete_distribution<int>(weights.begin(), weights.end())(rng_);
  }

  std::mt19937_64 rng_;
  RecordingDialogs dialogs_;
  std::unique_ptr<TMainForm> form_;
  std::size_t boxesBefore_ = 0;
  Snapshot before_;
  Kind kind_ = Kind::Other;
  int searches_ = 0;
  int aboutShown_ = 0;
  int traceSteps_ = 0;
  int searchesWithTrace_ = 0;
  bool runKeptBefore_ = false;
  QTemporaryDir files_;
};

TEST(Monkey, thousandsOfRandomActionsKeepTheWindowTruthful) {
  const std::uint64_t seed = seedFromEnvironment();
  const int actions = actionsFromEnvironment();
  RecordProperty("seed", std::to_string(seed));
  Monkey monkey(seed);
  std::deque<QString> recent;
  for (int i = 0; i < actions; ++i) {
    recent.push_back(monkey.act());
    if (recent.size() > 25) recent.pop_front();
    const QString broken = monkey.check();
    if (!broken.isEmpty()) {
      QString log;
      for (const QString& action : recent) log += "\n  " + action;
      FAIL() << "seed " << seed << ", action " << i << ": " << broken.toStdString() << "\nlast actions:"
             << log.toStdString();
    }
  }
  std::printf(
      "seed %llu: %d actions, %d searches ran (%d with the course open), About shown %d times, %d moves through the "
      "course, %zu messages, %zu error boxes, %zu library reports\n",
      static_cast<unsigned long long>(seed), actions, monkey.searches(), monkey.searchesWithTrace(),
      monkey.aboutShown(), monkey.traceSteps(),
      monkey.dialogs().messages().size(), monkey.dialogs().errors().size(), monkey.dialogs().mathReports().size());
  // The run must reach what it is about.
  EXPECT_GT(monkey.searches(), actions / 100) << "seed " << seed;
  EXPECT_GT(monkey.aboutShown(), 0) << "seed " << seed;
  EXPECT_GT(monkey.traceSteps(), actions / 100) << "seed " << seed;
  EXPECT_GT(monkey.searchesWithTrace(), 0) << "seed " << seed;
  EXPECT_FALSE(monkey.dialogs().errors().empty()) << "seed " << seed;
  EXPECT_FALSE(monkey.dialogs().mathReports().empty()) << "seed " << seed;
  monkey.close();
}

}  // namespace
}  // namespace Velmora::Testing

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
