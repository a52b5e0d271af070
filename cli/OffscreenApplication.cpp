#include "OffscreenApplication.h"

#include <QApplication>
#include <cstdio>

namespace Velmora::Cli {

namespace {

// The offscreen platform reports harmless trivia (missing font aliases, size
// hints) that would read like errors among the program's own messages.
void quietMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) fprintf(stderr, "%s\n", qPrintable(message));
}

}  // namespace

OffscreenApplication::OffscreenApplication() {
  if (QApplication::instance()) return;
  // A picture for a file never needs a display, whatever platform the environment names.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  previous_ = qInstallMessageHandler(quietMessages);
  static int argc = 1;
  static char name[] = "velmora-run";
  static char* argv[] = {name, nullptr};
  app_ = std::make_unique<QApplication>(argc, argv);
}

OffscreenApplication::~OffscreenApplication() {
  if (!app_) return;
  app_.reset();
  qInstallMessageHandler(previous_);
}

}  // namespace Velmora::Cli
