// The entry of the Search and About tests: an offscreen application, and a
// watchdog that fails the test and closes any modal window that a test did not
// ask for, so a stray box cannot hang the run.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include "GuiTestMain.h"

namespace Velmora::Testing {

bool modalExpected = false;

}  // namespace Velmora::Testing

int main(int argc, char** argv) {
  // CTest's discovery passes no ENVIRONMENT to the tests it finds.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);

  QTimer watchdog;
  watchdog.setInterval(50);
  QObject::connect(&watchdog, &QTimer::timeout, [] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && !Velmora::Testing::modalExpected) {
      ADD_FAILURE() << "an unexpected modal window opened: " << modal->windowTitle().toStdString();
      modal->close();
    }
  });
  watchdog.start();
  return RUN_ALL_TESTS();
}
