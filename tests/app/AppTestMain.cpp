// The GUI tests' main: the offscreen platform unless a display is asked for,
// and a watchdog that fails the running test when a real modal box opens
// (every box a test expects goes through RecordingDialogs instead).
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <cstdlib>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);

  QTimer watchdog;
  QObject::connect(&watchdog, &QTimer::timeout, [] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      ADD_FAILURE() << "unexpected modal window: " << modal->metaObject()->className() << " \""
                    << modal->windowTitle().toStdString() << "\"";
      modal->close();
    }
  });
  watchdog.start(50);
  return RUN_ALL_TESTS();
}
