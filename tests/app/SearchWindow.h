// A main window for the Search tests: a comma as decimal separator, boxes
// recorded instead of shown, and the few actions a user takes before Search.
#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "Main.h"
#include "RecordingDialogs.h"

namespace Velmora::Testing {

// Also lets a test look at the window while a box is "open".
class RecordingBoxes : public RecordingDialogs {
 public:
  void showMessage(const QString& text) override {
    RecordingDialogs::showMessage(text);
    shown();
  }
  void showError(const QString& text) override {
    RecordingDialogs::showError(text);
    shown();
  }
  void showMathReport(const QString& text) override {
    RecordingDialogs::showMathReport(text);
    shown();
  }

  std::function<void(const Box&)> onShow;

 private:
  void shown() {
    if (onShow) onShow(boxes.back());
  }
};

struct SearchWindow {
  explicit SearchWindow(const QString& decimalSeparator = QStringLiteral(","));
  ~SearchWindow();

  // Types a formula as the user would; it must compile.
  void enterFormula(const QString& formula);
  // Picks a method and a stop rule by clicking, as the user would.
  void chooseMethod(int index);
  void chooseStepStop();
  void choosePrecisionStop();
  void pressSearch();

  // What the user sees of the results and the chart.
  struct View {
    QString globMin;
    QString madeParam;
    std::vector<std::pair<double, double>> curve;
    std::vector<std::pair<double, double>> points;
    bool operator==(const View&) const = default;
  };
  View view() const;

  // Saves the window as a PNG among the build tree's screenshots.
  void saveScreenshot(const QString& name);

  RecordingBoxes dialogs;
  std::unique_ptr<Velmora::TMainForm> form;
};

Box message(const char* text);

}  // namespace Velmora::Testing
