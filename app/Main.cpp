// Construction of the main window from its groups, the window state, and the
// creation and destruction handlers.
#include "Main.h"

#include <QLocale>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QTableWidget>
#include <algorithm>
#include <ctime>

#include "Aboutform.h"
#include "NumberText.h"
#include "RadioGroup.h"
#include "TraceForm.h"
#include "Widgets.h"

// The resources live in the application library, which a static link would
// otherwise leave unregistered.
static void initResources() { Q_INIT_RESOURCE(velmora); }

namespace Velmora {

namespace {

// The library's reports have one hook for the process; they go to the window
// made last, and stop when it goes.
TMainForm* reportingWindow = nullptr;

}  // namespace

WindowState::WindowState(Dialogs* dialogs, std::optional<QString> decimalSeparator)
    : ownDialogs_(dialogs ? nullptr : std::make_unique<MessageBoxDialogs>()),
      dialogs_(dialogs ? dialogs : ownDialogs_.get()),
      guard_(*dialogs_),
      separator_(decimalSeparator ? *decimalSeparator : QLocale::system().decimalPoint()) {}

double WindowState::FuncValue(double x) {
  vars[0] = x;
  funcParser.Values = vars.data();
  funcParser.Evaluate();
  return funcParser.LastValue;
}

std::optional<double> WindowState::toNumber(const QString& text) const {
  return Lab::textToNumber(text.toStdString(), separator_.toStdString());
}

QString WindowState::toFixed(double value, int precision, int decimals) const {
  return QString::fromStdString(Lab::formatFixed(value, precision, decimals, separator_.toStdString()));
}

void WindowState::showInputMessage(std::string_view text) { dialogs().showMessage(ru(text)); }

// Each group is built on the state, already made; the cast names the base, since no
// member of this class may be called before its bases are made.
TMainForm::TMainForm(Dialogs* dialogs, std::optional<QString> decimalSeparator)
    : WindowState(dialogs, std::move(decimalSeparator)),
      FunctionEntry(static_cast<WindowState&>(*this)),
      FunctionParameters(static_cast<WindowState&>(*this)),
      FunctionGraph(static_cast<WindowState&>(*this)),
      IntervalAndMethod(static_cast<WindowState&>(*this)),
      MethodParameters(static_cast<WindowState&>(*this)),
      SearchResults() {
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

  // The form's order of making, which is the order its controls overlap in.
  FunctionEntry::createControls(this);
  FunctionParameters::createControls(gbOptFunc);
  FunctionGraph::createControls(this);
  IntervalAndMethod::createControls(this);
  MethodParameters::createControls(this);
  SearchResults::createControls(this);
  createButtons();
  setTabOrder();

  FormCreate();
  FunctionEntry::connectControls({bbtnUpdateFunc, bbtnSearchMin});
  FunctionParameters::connectControls(*this, *this);
  IntervalAndMethod::connectControls(*this);
  MethodParameters::connectControls(*this);
  connect(bbtnSearchMin, &QPushButton::clicked, this, [this] { bbtnSearchMinClick(); });
  connect(bbtnProgramInfo, &QPushButton::clicked, this, [this] { bbtnProgramInfoClick(); });
  FunctionGraph::connectControls();
  FormAbout = std::make_unique<TFormAbout>();
}

TMainForm::~TMainForm() {
  // The trace window's handlers run in this window's guard, which goes before
  // the groups built on it.
  FormTrace.reset();
  FormDestroy();
  if (reportingWindow == this) reportingWindow = nullptr;
}

void TMainForm::createButtons() {
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

// In reading order: the groups from top to bottom, each down its columns
// from left to right.
void TMainForm::setTabOrder() {
  const QWidget* order[] = {edFuncExpr,   edFuncErrors, combFuncList,   spinParamCount, btnRandParam,
                            strgParams,   bbtnUpdateFunc, edXmin,       edXmax,         radgrSearchMet->item(0),
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

void TMainForm::FormCreate() {
  guard().run([&] {
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
  guard().run([&] { currentMethod.reset(); });
}

}  // namespace Velmora
