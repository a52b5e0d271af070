// An integer spin edit that lets the user type anything and corrects the text
// when it is used: a number outside the range becomes the nearer bound, and a
// text that is not an integer reads as the minimum.
#pragma once

#include <QSpinBox>

namespace Velmora {

class TSpinEdit : public QSpinBox {
  Q_OBJECT

 public:
  explicit TSpinEdit(QWidget* parent = nullptr);

  // The value of the text as it stands, corrected and shown corrected, even
  // while the edit still has the focus.
  int Value();

 protected:
  QValidator::State validate(QString& input, int& pos) const override;
  void fixup(QString& input) const override;
  int valueFromText(const QString& text) const override;
};

}  // namespace Velmora
