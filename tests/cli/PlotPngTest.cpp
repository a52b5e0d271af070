#include <gtest/gtest.h>

#include <QImage>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "Cli.h"
#include "OperationalPng.h"
#include "PlotPng.h"

using namespace Velmora::Cli;

namespace {

struct Outcome {
  int status;
  std::string err;
};

Outcome plotRun(const std::string& file, const std::string& formula = "x[0]^2-5") {
  Environment env;
  env.plot = writePlotPng;
  std::ostringstream out, err;
  const int status =
      runCli({formula, "--interval", "-10", "10", "--method", "strongin", "--steps", "12", "--plot", file}, out, err, env);
  return {status, err.str()};
}

template <typename Test>
int countPixels(const QImage& image, Test test) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) n += test(QColor(image.pixel(x, y)));
  return n;
}

// Antialiasing blends the small diamonds and the thin line into their neighbours.
bool bluish(const QColor& c) { return c.blue() > 200 && c.red() < 100 && c.green() < 100; }
bool reddish(const QColor& c) { return c.red() > 100 && c.green() < 60 && c.blue() < 100; }

// A file of this test's own: other test runs on the machine write pictures too.
std::string ownPng(const char* stem) {
  return ::testing::TempDir() + stem + "_" +
         std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) + ".png";
}

}  // namespace

TEST(PlotPng, writesTheWindowsChartOfCurveAndTrials) {
  const std::string file = ownPng("velmora_plot");
  std::remove(file.c_str());
  const Outcome r = plotRun(file);
  ASSERT_EQ(r.status, ExitOk) << r.err;
  EXPECT_TRUE(r.err.empty()) << r.err;
  const QImage image(QString::fromStdString(file));
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.width(), PlotWidth);
  EXPECT_EQ(image.height(), PlotHeight);
  EXPECT_GT(countPixels(image, bluish), 300);  // the curve and the title
  EXPECT_GT(countPixels(image, reddish), 14);  // the diamonds of 14 trials
  std::remove(file.c_str());

  // A second picture in the same process makes its own application again.
  const Outcome again = plotRun(file, "sin(x[0])");
  EXPECT_EQ(again.status, ExitOk) << again.err;
  std::remove(file.c_str());
}

TEST(PlotPng, anUnwritableFileIsAFailureWithItsName) {
  const Outcome r = plotRun("/nonexistent-dir/velmora.png");
  EXPECT_EQ(r.status, ExitFailed);
  EXPECT_NE(r.err.find("velmora-run: plot: cannot write /nonexistent-dir/velmora.png"), std::string::npos) << r.err;
}

TEST(OperationalPng, drawsEachMethodsCurveInItsOwnColourOnEitherScale) {
  const std::string file = ownPng("velmora_operational");
  for (bool logK : {false, true}) {
    SCOPED_TRACE(logK ? "log k" : "linear k");
    std::remove(file.c_str());
    OperationalRequest request;
    request.file = file;
    request.title = "two methods";
    request.lastK = 200;
    request.logK = logK;
    request.curves = {{"first", {1, 20, 200}, {0, 0.5, 1}, {}, {}}, {"second", {1, 100, 200}, {0, 0.25, 0.25}, {}, {}}};
    ASSERT_EQ(writeOperationalPng(request), std::nullopt);
    const QImage image(QString::fromStdString(file));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.width(), OperationalWidth);
    EXPECT_EQ(image.height(), OperationalHeight);
    // The first two colours of the palette: blue, then red; the legend shows a short line of each.
    const auto blue = [](const QColor& c) { return c.blue() > 150 && c.red() < 80 && c.green() > 90 && c.green() < 150; };
    EXPECT_GT(countPixels(image, blue), 300);
    EXPECT_GT(countPixels(image, reddish), 300);
  }
  std::remove(file.c_str());
  OperationalRequest unwritable;
  unwritable.file = "/nonexistent-dir/oc.png";
  EXPECT_EQ(writeOperationalPng(unwritable), "cannot write /nonexistent-dir/oc.png");
}

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
