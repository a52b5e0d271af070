// Every box the window shows goes through this interface, so tests can record
// the boxes instead of opening them.
#pragma once

#include <QString>

namespace Velmora {

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // A failure of user input: the text, OK, no icon. Returns when closed.
  virtual void showMessage(const QString& text) = 0;
  // A fault that ended a handler: error icon, OK; the text already ends as the box shows it.
  virtual void showError(const QString& text) = 0;
  // A report of the mathematical library ("sqrt: DOMAIN error"); the evaluation goes on after it.
  virtual void showMathReport(const QString& text) = 0;
  // Where to save a file: filters as a file dialog takes them ("PNG (*.png);;PDF (*.pdf)").
  // Empty when the user cancelled.
  virtual QString chooseSaveFile(const QString& caption, const QString& filters) = 0;
};

// The real boxes: modal, centred on the screen, titled with the application title.
class MessageBoxDialogs : public Dialogs {
 public:
  void showMessage(const QString& text) override;
  void showError(const QString& text) override;
  void showMathReport(const QString& text) override;
  QString chooseSaveFile(const QString& caption, const QString& filters) override;
};

// The title every box carries, derived from the executable's name.
QString applicationTitle();

}  // namespace Velmora
