#include "SpinEdit.h"

#include <QLineEdit>
#include <QRegularExpression>

#include <algorithm>

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

QValidator::State TSpinEdit::validate(QString& input, int& pos) const {
  // Every text may be typed; what it means is settled when it is used.
  return QSpinBox::validate(input, pos) == QValidator::Acceptable ? QValidator::Acceptable
                                                                  : QValidator::Intermediate;
}

void TSpinEdit::fixup(QString& input) const {
  static const QRegularExpression integer(QStringLiteral("^\\s*([+-]?)(\\d+)\\s*$"));
  const QRegularExpressionMatch match = integer.match(input);
  if (!match.hasMatch()) {
    input = QString::number(minimum());
    return;
  }
  bool fits = false;
  const qlonglong magnitude = match.captured(2).toLongLong(&fits);
  const bool negative = match.captured(1) == QStringLiteral("-") && (!fits || magnitude != 0);
  int result;
  if (!fits) {
    // Too many digits for any integer type: beyond either bound.
    result = negative ? minimum() : maximum();
  } else {
    const qlonglong signedValue = negative ? -magnitude : magnitude;
    result = static_cast<int>(std::clamp<qlonglong>(signedValue, minimum(), maximum()));
  }
  input = QString::number(result);
}
