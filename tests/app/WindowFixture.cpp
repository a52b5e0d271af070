#include "WindowFixture.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <qcustomplot.h>

#include "RadioGroup.h"

namespace Velmora::Testing {

namespace {

std::vector<std::pair<double, double>> pointsOf(const QCPGraph* series) {
  std::vector<std::pair<double, double>> points;
  for (auto it = series->data()->constBegin(); it != series->data()->constEnd(); ++it)
    points.emplace_back(it->key, it->value);
  return points;
}

// On the round indicator: the middle of a wide radio button may lie past the
// end of its text, where a click does nothing.
void clickRadio(QRadioButton* button) {
  QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

}  // namespace

void WindowTest::remakeWindow(const QString& decimalSeparator) {
  form.reset();
  form = std::make_unique<TMainForm>(&dialogs, decimalSeparator);
}

void WindowTest::typeFormula(const QString& text) { QTest::keyClicks(form->edFuncExpr, text); }

void WindowTest::setFormula(const QString& text) { form->edFuncExpr->setText(text); }

void WindowTest::enterFormula(const QString& formula) {
  form->edFuncExpr->setText(formula);
  ASSERT_EQ(form->edFuncErrors->text(), QStringLiteral("Expression is Entered correctly")) << formula.toStdString();
}

void WindowTest::setInterval(const QString& xmin, const QString& xmax) {
  form->edXmin->setText(xmin);
  form->edXmax->setText(xmax);
}

void WindowTest::chooseMethod(int index) { clickRadio(form->radgrSearchMet->item(index)); }
void WindowTest::chooseStepStop() { clickRadio(form->rbtnStepStop); }
void WindowTest::choosePrecisionStop() { clickRadio(form->rbtnPrecStop); }

void WindowTest::pressSearch() {
  ASSERT_TRUE(form->bbtnSearchMin->isEnabled());
  QTest::mouseClick(form->bbtnSearchMin, Qt::LeftButton);
}

QString WindowTest::cell(int column) const {
  const auto* item = form->strgParams->item(0, column);
  return item ? item->text() : QStringLiteral("<none>");
}

QString WindowTest::header(int column) const {
  const auto* item = form->strgParams->horizontalHeaderItem(column);
  return item ? item->text() : QStringLiteral("<none>");
}

std::vector<double> WindowTest::keys(const QCPGraph* graph) {
  std::vector<double> out;
  for (const auto& [key, value] : pointsOf(graph)) out.push_back(key);
  return out;
}

std::vector<double> WindowTest::values(const QCPGraph* graph) {
  std::vector<double> out;
  for (const auto& [key, value] : pointsOf(graph)) out.push_back(value);
  return out;
}

WindowTest::View WindowTest::view() const {
  return {form->edGlobMin->text(), form->edMadeParam->text(), pointsOf(form->Series1), pointsOf(form->Series2)};
}

Box message(const char* text) { return {Box::Kind::Message, QString::fromUtf8(text)}; }

}  // namespace Velmora::Testing
