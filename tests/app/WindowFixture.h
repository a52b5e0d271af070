// The one fixture of the window's tests: a fresh window with a comma as
// decimal separator (the regional setting the window's texts are written
// for), every box recorded instead of shown, and the actions a user takes.
#pragma once

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QString>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "Main.h"
#include "RecordingDialogs.h"
#include "qcustomplot.h"

namespace Velmora::Testing {

class WindowTest : public ::testing::Test {
 protected:
  RecordingDialogs dialogs;
  std::unique_ptr<TMainForm> form = std::make_unique<TMainForm>(&dialogs, QStringLiteral(","));

  // A new window in place of the fixture's, reading numbers with this separator.
  void remakeWindow(const QString& decimalSeparator);

  // Types text into the formula edit key by key, as a user would.
  void typeFormula(const QString& text);
  void setFormula(const QString& text);
  // Sets a formula that must compile.
  void enterFormula(const QString& formula);
  void setInterval(const QString& xmin, const QString& xmax);
  // Picks a method and a stop rule by clicking, as the user would.
  void chooseMethod(int index);
  void chooseStepStop();
  void choosePrecisionStop();
  void pressSearch();

  QString cell(int column) const;
  QString header(int column) const;
  static std::vector<double> keys(const QCPGraph* graph);
  static std::vector<double> values(const QCPGraph* graph);

  // What the user sees of the results and the chart.
  struct View {
    QString globMin;
    QString madeParam;
    std::vector<std::pair<double, double>> curve;
    std::vector<std::pair<double, double>> points;
    bool operator==(const View&) const = default;
  };
  View view() const;
};

Box message(const char* text);

}  // namespace Velmora::Testing
