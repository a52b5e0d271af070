// Construction of the main window: its controls as the form lays them out,
// the window state, and the creation and destruction handlers.
#include "Main.h"

#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QTableWidget>
#include <ctime>
#include <qcustomplot.h>

#include "Aboutform.h"
#include "FunctionChart.h"
#include "NumberText.h"
#include "MethodCatalogue.h"
#include "RadioGroup.h"
#include "TraceForm.h"
#include "Widgets.h"

// The resources live in the application library, which a static link would
// otherwise leave unregistered.
static void initResources() { Q_INIT_RESOURCE(velmora); }

namespace Velmora {

const char* const SampleFormulas[6] = {
    "x[0]^2 - 5",
    "x[0]^2 + 6 * sin( 2*pi *x[0] )",
    "cos(x[0]) + 2*cos(2*x[0]) * 2.27^(-x[0]/2)",
    "sin(x[0]) + sin( 10*x[0]/3 )",
    "(1.4 - 3*x[0]) * sin( 18*x[0] )",
    "2*( x[0]-3 )^2 + exp( x[0]^2 / 2 )",
};

namespace {

// The library's reports have one hook for the process; they go to the window
// made last, and stop when it goes.
TMainForm* reportingWindow = nullptr;

}  // namespace

TMainForm::TMainForm(Dialogs* dialogs, std::optional<QString> decimalSeparator)
    : ownDialogs_(dialogs ? nullptr : std::make_unique<MessageBoxDialogs>()),
      dialogs_(dialogs ? dialogs : ownDialogs_.get()),
      guard_(*dialogs_),
      separator_(decimalSeparator ? *decimalSeparator : QLocale::system().decimalPoint()) {
  initResources();
  reportingWindow = this;
  Math_Parser::SetMathErrorHandler([](const std::string& report) {
    if (reportingWindow) reportingWindow->guard().mathReport(report);
  });

  setObjectName(QStringLiteral("MainForm"));
  setWindowTitle(QStringLiteral("Velmora"));
  setWindowIcon(QIcon(QStringLiteral(":/icons/velmora.png")));
  setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  setFixedSize(679, 430);

  // The form's font is a Windows font; Debian's metric-compatible Liberation
  // Sans (fonts-liberation) stands in for it.
  QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
  QFont windowFont(QStringLiteral("MS Sans Serif"));
  windowFont.setPixelSize(11);
  setFont(windowFont);

  createControls();
  setTabOrder();
  FormCreate();
  connectFunctionEntry();
  connectSearchPanel();
  createChartMenu();
  FormAbout = std::make_unique<TFormAbout>();
}

TMainForm::~TMainForm() {
  // The trace window's handlers run in this window's guard, which goes before
  // the members declared ahead of it.
  FormTrace.reset();
  FormDestroy();
  if (reportingWindow == this) reportingWindow = nullptr;
}

void TMainForm::createControls() {
  // The upper group: formula, samples, parameters, Update.
  gbOptFunc = makeGroup(this, "gbOptFunc", "Оптимизируемая Функция", 0, 1, 678, 90, true);
  labFunc = makeLabel(gbOptFunc, "labFunc", "F ( X[0] ) = ", 4, 18, 66, 13, true);
  labErrors = makeLabel(gbOptFunc, "labErrors", "Ошибки:", 18, 42, 51, 13, true);
  Label1 = makeLabel(gbOptFunc, "Label1", "Параметры: ", 317, 20, 77, 13, true);
  bevSpacer = make<QFrame>(gbOptFunc, "bevSpacer", 311, 10, 17, 74);
  {
    // A bevel drawn as one vertical line at its left edge.
    auto* line = make<QFrame>(bevSpacer, "bevSpacerLine", 0, 0, 2, 74);
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    bevSpacer->setAttribute(Qt::WA_TransparentForMouseEvents);
  }
  Label2 = makeLabel(gbOptFunc, "Label2", "Из списка:", 2, 65, 67, 13, true);

  edFuncExpr = makeEdit(gbOptFunc, "edFuncExpr", 70, 16, 235, 21, QString());
  setTextColour(edFuncExpr, Qt::blue);
  edFuncExpr->setToolTip(ru("Введите математическое выражение функции"));

  edFuncErrors = makeEdit(gbOptFunc, "edFuncErrors", 70, 39, 235, 21, QStringLiteral("Expression is not entered"));
  edFuncErrors->setReadOnly(true);
  {
    QPalette p = edFuncErrors->palette();
    p.setColor(QPalette::Base, p.color(QPalette::ToolTipBase));
    p.setColor(QPalette::Text, Qt::red);
    edFuncErrors->setPalette(p);
  }
  edFuncErrors->setToolTip(ru("Ошибки ввода математического выражения"));

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

  combFuncList = make<QComboBox>(gbOptFunc, "combFuncList", 70, 62, 235, 21);
  setFontStyle(combFuncList, true);
  combFuncList->setEditable(true);
  combFuncList->setInsertPolicy(QComboBox::NoInsert);
  for (const char* formula : SampleFormulas) combFuncList->addItem(QString::fromLatin1(formula));
  combFuncList->setCurrentIndex(-1);
  combFuncList->setEditText(ru("Функция не выбрана"));
  combFuncList->setToolTip(ru("Выберите функцию из списка"));

  btnRandParam = make<QPushButton>(gbOptFunc, "btnRandParam", 318, 62, 69, 22);
  btnRandParam->setText(QStringLiteral("Random"));
  setFontStyle(btnRandParam, true);
  btnRandParam->setToolTip(ru("Случайные значения параметров из отрезка (-1, 1)"));

  // The chart with its hand-made legend.
  gbFuncView = makeGroup(this, "gbFuncView", "Построение Графика Функции:", 319, 93, 359, 334, true);
  chartFunc = make<QCustomPlot>(gbFuncView, "chartFunc", 5, 18, 349, 273);
  FunctionChart::setUp(*chartFunc);
  Series1 = chartFunc->graph(0);
  Series2 = chartFunc->graph(1);
  Shape1 = makeSquare(gbFuncView, "Shape1", 5, 296, Qt::blue);
  Label3 = makeLabel(gbFuncView, "Label3", " - График оптимизируемой функции;", 22, 296, 180, 13, false);
  Shape2 = makeSquare(gbFuncView, "Shape2", 5, 314, Qt::red);
  Label4 = makeLabel(gbFuncView, "Label4", " - Точки поисковых испытаний метода поиска глоб. минимума;", 22, 314, 300, 13,
                     false);

  // The interval.
  gbInterval = makeGroup(this, "gbInterval", "Интервал поиска:", 0, 93, 314, 44, true);
  labXmin = makeLabel(gbInterval, "labXmin", "X min:", 10, 20, 36, 13, true);
  labArrow = makeLabel(gbInterval, "labArrow", "|---------------->", 120, 20, 75, 13, true);
  labXmax = makeLabel(gbInterval, "labXmax", "X max:", 199, 20, 39, 13, true);
  edXmin = makeEdit(gbInterval, "edXmin", 49, 17, 65, 21, QStringLiteral("-10"));
  setTextColour(edXmin, Qt::blue);
  edXmin->setToolTip(ru("Введите начало отрезка поиска"));
  edXmax = makeEdit(gbInterval, "edXmax", 241, 17, 65, 21, QStringLiteral("+10"));
  setTextColour(edXmax, Qt::blue);
  edXmax->setToolTip(ru("Введите конец отрезка поиска"));

  // The method, its stop rule and parameter.
  QStringList methodNames;
  for (const Lab::MethodInfo& method : Lab::windowMethods())
    methodNames << ru(method.windowName);
  radgrSearchMet = new TRadioGroup(QStringLiteral("radgrSearchMet"), ru("Метод поиска глобального минимума:"),
                                   methodNames, this);
  radgrSearchMet->setGeometry(0, 144, 314, 81);
  setFontStyle(radgrSearchMet, true);
  radgrSearchMet->setItemIndex(0);

  grbMetParams = makeGroup(this, "grbMetParams", "Параметры метода поиска:", 0, 232, 314, 89, false);
  // 231 wide rather than 233, so the buttons end where the spin edit begins.
  rbtnStepStop = make<QRadioButton>(grbMetParams, "rbtnStepStop", 8, 18, 231, 17);
  rbtnStepStop->setText(ru("Остановка метода по числу шагов:"));
  setFontStyle(rbtnStepStop, true);
  rbtnStepStop->setChecked(true);
  rbtnPrecStop = make<QRadioButton>(grbMetParams, "rbtnPrecStop", 8, 40, 231, 17);
  rbtnPrecStop->setText(ru("Остановка метода по точности:---->"));
  setFontStyle(rbtnPrecStop, true);
  spedSteps = make<TSpinEdit>(grbMetParams, "spedSteps", 239, 14, 70, 22);
  setFontStyle(spedSteps, true);
  spedSteps->setRange(1, 100000);
  spedSteps->setSingleStep(1);
  spedSteps->setValue(100);
  spedSteps->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
  // The defaults are written with the regional separator, so they read back
  // whatever the locale.
  edPrecision = makeEdit(grbMetParams, "edPrecision", 239, 39, 69, 21, "0" + separator_ + "1");
  edPrecision->setEnabled(false);
  edMetParam = makeEdit(grbMetParams, "edMetParam", 239, 63, 69, 21, "1" + separator_ + "5");
  edMetParam->setEnabled(false);
  // At start the label names the broken lines' parameter, though scanning is
  // chosen. (The catalogue's texts are literals, so data() ends the text.)
  labMetParam = makeLabel(grbMetParams, "labMetParam", Lab::methodInfo(Lab::MethodId::Piyavsky).paramLabel.data(),
                          12, 65, 230, 13, true);
  labMetParam->setEnabled(false);

  // The results and the two buttons below.
  GroupBox1 = makeGroup(this, "GroupBox1", "Результаты Поиска:", 0, 325, 223, 64, false);
  labGlobMin = makeLabel(GroupBox1, "labGlobMin", "Глобальный Минимум:", 5, 19, 136, 13, true);
  labMade = makeLabel(GroupBox1, "labMade", "Достигнутая точность:", 5, 41, 138, 13, true);
  edGlobMin = makeEdit(GroupBox1, "edGlobMin", 142, 15, 76, 21, QString());
  edGlobMin->setReadOnly(true);
  setTextColour(edGlobMin, Qt::red);
  edMadeParam = makeEdit(GroupBox1, "edMadeParam", 142, 39, 76, 21, QString());
  edMadeParam->setReadOnly(true);
  setTextColour(edMadeParam, Qt::red);

  bbtnSearchMin = make<QPushButton>(this, "bbtnSearchMin", 225, 328, 89, 62);
  bbtnSearchMin->setText(QStringLiteral("Search"));
  setFontStyle(bbtnSearchMin, true);
  bbtnSearchMin->setIcon(stripIcon(QStringLiteral(":/glyphs/search.png")));
  bbtnSearchMin->setIconSize(QSize(32, 40));
  bbtnSearchMin->setEnabled(false);

  bbtnProgramInfo = make<QPushButton>(this, "bbtnProgramInfo", 1, 392, 161, 38);
  bbtnProgramInfo->setText(QStringLiteral("  About programm..."));
  setFontStyle(bbtnProgramInfo, true);
  bbtnProgramInfo->setIcon(QIcon(QStringLiteral(":/glyphs/about.png")));
  bbtnProgramInfo->setIconSize(QSize(30, 30));
}

void TMainForm::setTabOrder() {
  const QWidget* order[] = {edFuncExpr,   edFuncErrors, bbtnUpdateFunc, spinParamCount, strgParams,
                            combFuncList, btnRandParam, edXmin,         edXmax,         radgrSearchMet->item(0),
                            radgrSearchMet->item(1), radgrSearchMet->item(2), rbtnStepStop, rbtnPrecStop,
                            spedSteps,    edPrecision,  edMetParam,     edGlobMin,      edMadeParam,
                            bbtnSearchMin, bbtnProgramInfo};
  for (std::size_t i = 1; i < std::size(order); ++i)
    QWidget::setTabOrder(const_cast<QWidget*>(order[i - 1]), const_cast<QWidget*>(order[i]));
}

void TMainForm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (centred_) return;
  centred_ = true;
  if (const QScreen* s = screen()) {
    QRect frame = frameGeometry();
    frame.moveCenter(s->availableGeometry().center());
    move(frame.topLeft());
  }
}

void TMainForm::setParamColumn(int column, const QString& header, const QString& value) {
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

std::optional<double> TMainForm::toNumber(const QString& text) const {
  return textToNumber(text.toStdString(), separator_.toStdString());
}

bool TMainForm::readInterval() {
  const std::optional<double> low = toNumber(edXmin->text());
  if (!low) return false;
  Xmin = *low;
  const std::optional<double> high = toNumber(edXmax->text());
  if (!high) return false;
  Xmax = *high;
  return true;
}

void TMainForm::showInputMessage(std::string_view text) {
  dialogs().showMessage(ru(text));
}

QString TMainForm::toFixed(double value, int precision, int decimals) const {
  return QString::fromStdString(formatFixed(value, precision, decimals, separator_.toStdString()));
}

double TMainForm::FuncValue(double x) {
  vars[0] = x;
  funcParser.Values = vars.data();
  funcParser.Evaluate();
  return funcParser.LastValue;
}

void TMainForm::FormCreate() {
  guard_.run([&] {
    randomGenerator.seed(static_cast<std::mt19937::result_type>(std::time(nullptr)));
    funcCorrect = false;
    dataCorrect = false;
    paramCount = spinParamCount->value();
    strgParams->setEnabled(false);
    strgParams->setColumnCount(std::max(paramCount, 1));
    vars[0] = 0.0;
    for (int c = 0; c < paramCount; ++c) {
      setParamColumn(c, QStringLiteral("X[%1]").arg(c + 1), QStringLiteral("0"));
      vars[c + 1] = 0.0;
    }
    currentMethodId = Lab::windowMethods().front().id;
    currentMethod = Lab::methodInfo(currentMethodId).make(objective());
  });
}

void TMainForm::FormDestroy() {
  guard_.run([&] { currentMethod.reset(); });
}

}  // namespace Velmora
