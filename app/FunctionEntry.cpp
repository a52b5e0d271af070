#include "FunctionEntry.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <exception>

#include "Main.h"
#include "Widgets.h"

namespace Velmora {

namespace {

const char* const NotEntered = "Expression is not entered";
const char* const EnteredCorrectly = "Expression is Entered correctly";

// The parser reads bytes, so an unknown character beyond ASCII reaches its
// message as a lone UTF-8 byte; the message shows the character as typed.
QString errorLine(const Math_Parser::TError& error, const QString& formula) {
  QString message = QString::fromUtf8(error.Message.c_str());
  if (error.Position >= 0 && error.Position < formula.size() && formula[error.Position].unicode() > 0x7F) {
    const int next = error.Position + (formula[error.Position].isHighSurrogate() ? 2 : 1);
    message.replace(QChar::ReplacementCharacter, formula.mid(error.Position, next - error.Position));
  }
  return message + QStringLiteral(" at position ") + QString::number(error.Position);
}

}  // namespace

void FunctionEntry::createControls(QWidget* window) {
  gbOptFunc = makeGroup(window, "gbOptFunc", "Оптимизируемая Функция", 0, 1, 678, 90, true);
  labFunc = makeLabel(gbOptFunc, "labFunc", "F ( X[0] ) = ", 4, 18, 66, 13, true);
  labErrors = makeLabel(gbOptFunc, "labErrors", "Ошибки:", 18, 42, 51, 13, true);
  Label2 = makeLabel(gbOptFunc, "Label2", "Из списка:", 2, 65, 67, 13, true);

  edFuncExpr = makeEdit(gbOptFunc, "edFuncExpr", 70, 16, 235, 21, QString());
  setTextColour(edFuncExpr, Qt::blue);
  edFuncExpr->setToolTip(ru("Введите математическое выражение функции"));

  edFuncErrors = makeEdit(gbOptFunc, "edFuncErrors", 70, 39, 235, 21, QString::fromLatin1(NotEntered));
  edFuncErrors->setReadOnly(true);
  {
    QPalette p = edFuncErrors->palette();
    p.setColor(QPalette::Base, p.color(QPalette::ToolTipBase));
    p.setColor(QPalette::Text, Qt::red);
    edFuncErrors->setPalette(p);
  }
  edFuncErrors->setToolTip(ru("Ошибки ввода математического выражения"));

  combFuncList = make<QComboBox>(gbOptFunc, "combFuncList", 70, 62, 235, 21);
  setFontStyle(combFuncList, true);
  combFuncList->setEditable(true);
  combFuncList->setInsertPolicy(QComboBox::NoInsert);
  for (const char* formula : SampleFormulas) combFuncList->addItem(QString::fromLatin1(formula));
  combFuncList->setCurrentIndex(-1);
  combFuncList->setEditText(ru("Функция не выбрана"));
  combFuncList->setToolTip(ru("Выберите функцию из списка"));
}

void FunctionEntry::connectControls(std::vector<QWidget*> formulaButtons) {
  formulaButtons_ = std::move(formulaButtons);
  QObject::connect(edFuncExpr, &QLineEdit::textChanged, edFuncExpr, [this] { edFuncExprChange(); });
  QObject::connect(combFuncList, &QComboBox::editTextChanged, combFuncList, [this] { combFuncListChange(); });
}

void FunctionEntry::edFuncExprChange() {
  state_.guard().run([&] {
    state_.funcCorrect = true;
    std::exception_ptr trialFault;
    const QString formula = edFuncExpr->text();
    if (formula.isEmpty()) {
      // The tree compiled before stays, unused while the formula is not correct.
      edFuncErrors->setText(QString::fromLatin1(NotEntered));
      state_.funcCorrect = false;
    } else {
      try {
        const std::string text = formula.toStdString();
        state_.funcParser.Parse(text.c_str());
        state_.funcParser.Values = state_.vars.data();
        try {
          state_.funcParser.Evaluate();
        } catch (...) {
          // The formula compiled: it is correct even though its value at the
          // current x[0] faults, and the fault is reported once the window says so.
          trialFault = std::current_exception();
        }
      } catch (const Math_Parser::TError& error) {
        state_.funcCorrect = false;
        edFuncErrors->setText(errorLine(error, formula));
      }
    }
    if (state_.funcCorrect) edFuncErrors->setText(QString::fromLatin1(EnteredCorrectly));
    for (QWidget* button : formulaButtons_) button->setEnabled(state_.funcCorrect);
    if (trialFault) std::rethrow_exception(trialFault);
  });
}

void FunctionEntry::combFuncListChange() {
  state_.guard().run([&] {
    const QString text = combFuncList->currentText();
    if (text != edFuncExpr->text()) edFuncExpr->setText(text);
  });
}

}  // namespace Velmora
