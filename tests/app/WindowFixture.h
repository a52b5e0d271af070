// A fresh window with recorded boxes and a comma as decimal separator, the
// regional setting the window's default texts are written for.
#pragma once

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <qcustomplot.h>

#include "Main.h"
#include "RecordingDialogs.h"

namespace Velmora::Testing {

class WindowTest : public ::testing::Test {
 protected:
  RecordingDialogs dialogs;
  std::unique_ptr<TMainForm> form = std::make_unique<TMainForm>(&dialogs, QStringLiteral(","));

  // Types text into the formula edit key by key, as a user would.
  void typeFormula(const QString& text) { QTest::keyClicks(form->edFuncExpr, text); }

  void setFormula(const QString& text) { form->edFuncExpr->setText(text); }

  void setInterval(const QString& xmin, const QString& xmax) {
    form->edXmin->setText(xmin);
    form->edXmax->setText(xmax);
  }

  QString cell(int column) const {
    const auto* item = form->strgParams->item(0, column);
    return item ? item->text() : QStringLiteral("<none>");
  }
  QString header(int column) const {
    const auto* item = form->strgParams->horizontalHeaderItem(column);
    return item ? item->text() : QStringLiteral("<none>");
  }

  std::vector<double> keys(QCPGraph* g) const {
    std::vector<double> out;
    for (auto it = g->data()->constBegin(); it != g->data()->constEnd(); ++it) out.push_back(it->key);
    return out;
  }
  std::vector<double> values(QCPGraph* g) const {
    std::vector<double> out;
    for (auto it = g->data()->constBegin(); it != g->data()->constEnd(); ++it) out.push_back(it->value);
    return out;
  }
};

}  // namespace Velmora::Testing
