#include "BenchWindow.h"

#include <QApplication>
#include <memory>

#include "FreedMemory.h"

namespace VelmoraBench {

SilentDialogs* dialogs = nullptr;
Velmora::TMainForm* form = nullptr;

void failOnBox(benchmark::State& state) {
  if (!dialogs->first.isEmpty()) state.SkipWithError(("a box opened: " + dialogs->first.toStdString()).c_str());
}

}  // namespace VelmoraBench

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // As the window's program does.
  Velmora::keepFreedMemoryForReuse();
  QApplication app(argc, argv);
  VelmoraBench::SilentDialogs silent;
  VelmoraBench::dialogs = &silent;
  auto window = std::make_unique<Velmora::TMainForm>(&silent, QStringLiteral(","));
  VelmoraBench::form = window.get();
  window->show();
  QApplication::processEvents();

  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
