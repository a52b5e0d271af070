// The upper group: the formula compiled on every change, the samples, the
// parameter count and grid, Random and Update.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <algorithm>
#include <charconv>
#include <exception>

#include "Main.h"
#include "MessageText.h"

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

void TMainForm::connectFunctionEntry() {
  connect(edFuncExpr, &QLineEdit::textChanged, this, [this] { edFuncExprChange(); });
  connect(combFuncList, &QComboBox::editTextChanged, this, [this] { combFuncListChange(); });
  // The spin box's own signal keeps quiet while its text is no number, and
  // its edit's signal while the value is set from outside; together they
  // follow every text, an empty one included.
  connect(spinParamCount, &QSpinBox::textChanged, this, [this] { spinParamCountChange(); });
  connect(spinParamCount->findChild<QLineEdit*>(), &QLineEdit::textChanged, this, [this] { spinParamCountChange(); });
  connect(btnRandParam, &QPushButton::clicked, this, [this] { btnRandParamClick(); });
  connect(bbtnUpdateFunc, &QPushButton::clicked, this, [this] { bbtnUpdateFuncClick(); });
}

void TMainForm::edFuncExprChange() {
  guard_.run([&] {
    funcCorrect = true;
    std::exception_ptr trialFault;
    const QString formula = edFuncExpr->text();
    if (formula.isEmpty()) {
      // The tree compiled before stays, unused while the formula is not correct.
      edFuncErrors->setText(QString::fromLatin1(NotEntered));
      funcCorrect = false;
    } else {
      try {
        const std::string text = formula.toStdString();
        funcParser.Parse(text.c_str());
        funcParser.Values = vars.data();
        try {
          funcParser.Evaluate();
        } catch (...) {
          // The formula compiled: it is correct even though its value at the
          // current x[0] faults, and the fault is reported once the window says so.
          trialFault = std::current_exception();
        }
      } catch (const Math_Parser::TError& error) {
        funcCorrect = false;
        edFuncErrors->setText(errorLine(error, formula));
      }
    }
    if (funcCorrect) edFuncErrors->setText(QString::fromLatin1(EnteredCorrectly));
    bbtnUpdateFunc->setEnabled(funcCorrect);
    bbtnSearchMin->setEnabled(funcCorrect);
    if (trialFault) std::rethrow_exception(trialFault);
  });
}

void TMainForm::combFuncListChange() {
  guard_.run([&] {
    const QString text = combFuncList->currentText();
    if (text != edFuncExpr->text()) edFuncExpr->setText(text);
  });
}

void TMainForm::spinParamCountChange() {
  guard_.run([&] {
    const int oldCount = paramCount;
    const std::string text = spinParamCount->text().trimmed().toStdString();
    int count = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
    const bool isInteger = error != std::errc::invalid_argument && end == text.data() + text.size() && !text.empty();
    if (!isInteger) {
      count = 0;
    } else if (error == std::errc::result_out_of_range) {
      count = text.front() == '-' ? 0 : 9;
    }
    paramCount = std::clamp(count, 0, 9);

    strgParams->setColumnCount(std::max(paramCount, 1));
    for (int c = oldCount; c < paramCount; ++c) {
      setParamColumn(c, QStringLiteral("X[%1]").arg(c + 1), QStringLiteral("0"));
      vars[c + 1] = 0.0;
    }
    if (paramCount == 0) {
      setParamColumn(0, QString(), QString());
      strgParams->setEnabled(false);
    } else {
      strgParams->setEnabled(true);
    }
    if (!isInteger) spinParamCount->findChild<QLineEdit*>()->setText(QStringLiteral("0"));
  });
}

void TMainForm::btnRandParamClick() {
  guard_.run([&] {
    const Extended step = 0.00003125L;  // 1/32000
    for (int c = 0; c < paramCount; ++c) {
      const std::uint32_t r = randomGenerator() >> 1;  // 31 bits
      const int k = static_cast<int>(r % 64000);
      const double v = toDouble(mul(static_cast<Extended>(k - 32000), step));
      vars[c + 1] = v;
      strgParams->item(0, c)->setText(toFixed(v, 8, 7));
    }
  });
}

void TMainForm::bbtnUpdateFuncClick() {
  guard_.run([&] {
    if (!funcCorrect) return;
    dataCorrect = true;
    for (int c = 0; c < paramCount; ++c) {
      const auto* cell = strgParams->item(0, c);
      if (const auto value = toNumber(cell ? cell->text() : QString())) {
        vars[c + 1] = *value;
      } else {
        dataCorrect = false;
      }
    }
    if (!dataCorrect) {
      showInputMessage(InputMessage::FunctionParameter);
      return;
    }
    if (!readInterval()) {
      dataCorrect = false;
      showInputMessage(InputMessage::Interval);
      return;
    }
    DrawFunctionGraph();
  });
}

}  // namespace Velmora
