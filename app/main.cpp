#include <QApplication>
#include <exception>

#include "Aboutform.h"
#include "Main.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  Velmora::MessageBoxDialogs dialogs;
  Velmora::HandlerGuard guard(dialogs);
  std::unique_ptr<Velmora::TMainForm> mainForm;
  std::unique_ptr<Velmora::TFormAbout> formAbout;
  guard.run([&] {
    mainForm = std::make_unique<Velmora::TMainForm>();
    // Made once, hidden, and shown again by every press of the About button.
    formAbout = std::make_unique<Velmora::TFormAbout>();
    Velmora::FormAbout = formAbout.get();
    mainForm->show();
    app.exec();
  });
  return 0;
}
