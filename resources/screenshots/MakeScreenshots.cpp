// Pictures of the window for people to look at: the README's, and whatever a
// change to the window should be judged by. Not a test: it asserts nothing,
// it draws.
//   scripts/screenshots.sh [FOLDER]
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QHash>
#include <QImage>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <limits>
#include <memory>
#include <vector>

#include "Aboutform.h"
#include "FunctionChart.h"
#include "Main.h"
#include "RadioGroup.h"
#include "SpinEdit.h"
#include "TraceForm.h"

namespace {

class SilentDialogs : public Velmora::Dialogs {
 public:
  void showMessage(const QString& text) override { report(text); }
  void showError(const QString& text) override { report(text); }
  void showMathReport(const QString& text) override { report(text); }
  QString chooseSaveFile(const QString&, const QString&) override { return {}; }

 private:
  static void report(const QString& text) { std::fprintf(stderr, "box: %s\n", qPrintable(text)); }
};

// The picture in 256 colours, which keeps the README's pictures at a third of
// their size. Each next colour of the palette is the one whose pixels lie
// farthest from the palette so far, counted by pixels: the background and the
// text's shades come first, and a few red diamonds still keep their red.
QImage withPalette(const QImage& picture) {
  const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
  QHash<QRgb, double> counts;
  for (int y = 0; y < rgb.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    for (int x = 0; x < rgb.width(); ++x) ++counts[line[x]];
  }
  const auto distance = [](QRgb a, QRgb b) {
    const double r = qRed(a) - qRed(b), g = qGreen(a) - qGreen(b), u = qBlue(a) - qBlue(b);
    return r * r + g * g + u * u;
  };
  std::vector<std::pair<QRgb, double>> colours;
  for (auto it = counts.cbegin(); it != counts.cend(); ++it) colours.emplace_back(it.key(), it.value());
  std::vector<double> nearest(colours.size(), std::numeric_limits<double>::infinity());
  QList<QRgb> palette;
  while (palette.size() < 256 && static_cast<std::size_t>(palette.size()) < colours.size()) {
    std::size_t next = 0;
    double worst = -1;
    for (std::size_t i = 0; i < colours.size(); ++i) {
      const double cost = palette.isEmpty() ? colours[i].second : colours[i].second * nearest[i];
      if (cost > worst) {
        worst = cost;
        next = i;
      }
    }
    palette.append(colours[next].first);
    for (std::size_t i = 0; i < colours.size(); ++i)
      nearest[i] = std::min(nearest[i], distance(colours[i].first, colours[next].first));
  }
  return rgb.convertToFormat(QImage::Format_Indexed8, palette, Qt::ThresholdDither | Qt::AvoidDither);
}

bool save(QWidget& widget, const QDir& folder, const QString& name, bool palette = false) {
  QApplication::processEvents();
  const QString path = folder.filePath(name + QStringLiteral(".png"));
  const QImage picture = widget.grab().toImage();
  const bool saved = (palette ? withPalette(picture) : picture).save(path, "PNG", 0);
  std::fprintf(saved ? stdout : stderr, "%s %s\n", saved ? "wrote" : "could not write", qPrintable(path));
  return saved;
}

bool mainWindowShots(const QDir& folder) {
  SilentDialogs dialogs;
  Velmora::TMainForm form(&dialogs, QStringLiteral(","));
  form.show();
  bool ok = save(form, folder, QStringLiteral("window-start"));
  for (int i = 0; i < 6; ++i) {
    form.combFuncList->setCurrentIndex(i);
    form.bbtnUpdateFuncClick();
    Velmora::FunctionChart::refresh(*form.chartFunc);
    ok &= save(form, folder, QStringLiteral("window-sample%1").arg(i + 1));
  }
  form.spinParamCount->setValue(3);
  form.btnRandParamClick();
  form.edFuncExpr->setText(QStringLiteral("x[1]*x[0]^2 + sin(x[2]*x[0]) + x[3] +"));
  ok &= save(form, folder, QStringLiteral("window-parameters-and-error"));

  // The second sample on its classic interval, where an estimate above the
  // largest slope lets broken lines find the global minimum.
  form.spinParamCount->setValue(0);
  form.combFuncList->setCurrentIndex(3);
  form.edXmin->setText(QStringLiteral("2,7"));
  form.edXmax->setText(QStringLiteral("7,5"));
  form.edMetParam->setText(QStringLiteral("5"));
  const char* const names[] = {"search-scanning", "search-piyavsky", "search-strongin"};
  for (int method = 0; method < 3; ++method) {
    form.radgrSearchMet->item(method)->setChecked(true);
    form.bbtnSearchMinClick();
    ok &= save(form, folder, QString::fromLatin1(names[method]));
  }
  return ok;
}

// The search's course for each method on the second sample, after a short
// run and after the longest, at its start, at step 5 and at its end.
bool traceShots(const QDir& folder) {
  SilentDialogs dialogs;
  Velmora::TMainForm form(&dialogs, QStringLiteral(","));
  form.show();
  form.combFuncList->setCurrentIndex(1);
  // Broken lines need an estimate above the sample's largest slope on
  // -10..10, 20 + 12 pi; Strongin's multiplier is the literature's 2.
  const char* const params[] = {"1,5", "60", "2"};
  const char* const names[] = {"scanning", "piyavsky", "strongin"};
  bool ok = true;
  for (int method = 0; method < 3; ++method) {
    form.radgrSearchMet->item(method)->setChecked(true);
    form.edMetParam->setText(QString::fromLatin1(params[method]));
    for (int steps : {30, 100000}) {
      form.spedSteps->setValue(steps);
      form.bbtnSearchMinClick();
      form.actSearchTrace->trigger();
      Velmora::TFormTrace& trace = *form.FormTrace;
      trace.resize(800, 560);
      for (int k : {0, 5, steps}) {
        trace.sldStep->setValue(k);
        ok &= save(trace, folder,
                   QStringLiteral("trace-%1-%2-step%3").arg(QString::fromLatin1(names[method])).arg(steps).arg(k), true);
      }
    }
  }
  return ok;
}

bool aboutShot(const QDir& folder) {
  Velmora::TFormAbout about;
  about.show();
  const bool ok = save(about, folder, QStringLiteral("about"));
  about.hide();
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QDir folder(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots"));
  if (!QDir().mkpath(folder.path())) {
    std::fprintf(stderr, "cannot make %s\n", qPrintable(folder.path()));
    return 1;
  }
  const bool ok = mainWindowShots(folder) && traceShots(folder) && aboutShot(folder);
  return ok ? 0 : 1;
}
