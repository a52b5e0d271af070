#include "SearchWindow.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <qcustomplot.h>

#include <gtest/gtest.h>

#include "RadioGroup.h"

namespace Velmora::Testing {

namespace {

std::vector<std::pair<double, double>> pointsOf(const QCPGraph* series) {
  std::vector<std::pair<double, double>> points;
  for (auto it = series->data()->constBegin(); it != series->data()->constEnd(); ++it)
    points.emplace_back(it->key, it->value);
  return points;
}

}  // namespace

SearchWindow::SearchWindow(const QString& decimalSeparator)
    : form(std::make_unique<Velmora::TMainForm>(&dialogs, decimalSeparator)) {
  form->show();
}

SearchWindow::~SearchWindow() = default;

void SearchWindow::enterFormula(const QString& formula) {
  form->edFuncExpr->setText(formula);
  ASSERT_EQ(form->edFuncErrors->text(), QStringLiteral("Expression is Entered correctly")) << formula.toStdString();
}

namespace {

// On the round indicator: the middle of a wide radio button may lie past the
// end of its text, where a click does nothing.
void clickRadio(QRadioButton* button) {
  QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

}  // namespace

void SearchWindow::chooseMethod(int index) { clickRadio(form->radgrSearchMet->item(index)); }
void SearchWindow::chooseStepStop() { clickRadio(form->rbtnStepStop); }
void SearchWindow::choosePrecisionStop() { clickRadio(form->rbtnPrecStop); }

void SearchWindow::pressSearch() {
  ASSERT_TRUE(form->bbtnSearchMin->isEnabled());
  QTest::mouseClick(form->bbtnSearchMin, Qt::LeftButton);
}

SearchWindow::View SearchWindow::view() const {
  return {form->edGlobMin->text(), form->edMadeParam->text(), pointsOf(form->Series1), pointsOf(form->Series2)};
}

void SearchWindow::saveScreenshot(const QString& name) {
  QApplication::processEvents();
  QDir().mkpath(QStringLiteral(VELMORA_SCREENSHOT_DIR));
  const QString path = QStringLiteral(VELMORA_SCREENSHOT_DIR "/%1").arg(name);
  EXPECT_TRUE(form->grab().save(path)) << path.toStdString();
}

Box message(const char* text) { return {Box::Kind::Message, QString::fromUtf8(text)}; }

}  // namespace Velmora::Testing
