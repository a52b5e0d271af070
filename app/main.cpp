#include <QApplication>
#include <exception>

#include "FreedMemory.h"
#include "Main.h"

int main(int argc, char** argv) {
  Velmora::keepFreedMemoryForReuse();
  QApplication app(argc, argv);
  Velmora::MessageBoxDialogs dialogs;
  Velmora::HandlerGuard guard(dialogs);
  std::unique_ptr<Velmora::TMainForm> mainForm;
  guard.run([&] {
    mainForm = std::make_unique<Velmora::TMainForm>();
    mainForm->show();
    app.exec();
  });
  return 0;
}
