#include "SpinEdit.h"

#include <QLineEdit>
#include <QRegularExpression>

#include <algorithm>

namespace Velmora {

TSpinEdit::TSpinEdit(QWidget* parent) : QSpinBox(parent) {
  setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
}

int TSpinEdit::Value() {
  QString input = lineEdit()->text();
  int pos = 0;
  if (validate(input, pos) != QValidator::Acceptable) fixup(input);
  const int result = valueFromText(input);
  setValue(result);
  // setValue leaves the text alone when the value has not changed.
  if (lineEdit()->text() != textFromValue(result)) lineEdit()->setText(textFromValue(result));
  return result;
}

namespace {

// Digits with an optional sign and blanks around them; nothing else counts as
// an integer (the locale's group separators included: "2,5" is no integer).
const QRegularExpression& integerPattern() {
  static const QRegularExpression pattern(QStringLiteral("^\\s*([+-]?)([0-9]+)\\s*$"));
  return pattern;
}

}  // namespace

QValidator::State TSpinEdit::validate(QString& input, int&) const {
  // Every text may be typed; what it means is settled when it is used.
  const QRegularExpressionMatch match = integerPattern().match(input);
  if (!match.hasMatch()) return QValidator::Intermediate;
  bool fits = false;
  const qlonglong number = input.trimmed().toLongLong(&fits);
  return fits && number >= minimum() && number <= maximum() ? QValidator::Acceptable : QValidator::Intermediate;
}

int TSpinEdit::valueFromText(const QString& text) const { return text.trimmed().toInt(); }

void TSpinEdit::fixup(QString& input) const {
  const QRegularExpressionMatch match = integerPattern().match(input);
  if (!match.hasMatch()) {
    input = QString::number(minimum());
    return;
  }
  bool fits = false;
  const qlonglong magnitude = match.captured(2).toLongLong(&fits);
  const bool negative = match.captured(1) == QStringLiteral("-");
  qlonglong number;
  if (!fits)
    // More digits than any integer type holds: beyond either bound.
    number = negative ? minimum() : maximum();
  else
    number = std::clamp<qlonglong>(negative ? -magnitude : magnitude, minimum(), maximum());
  input = QString::number(number);
}

}  // namespace Velmora
