#include "Dialogs.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QMessageBox>

#include "MessageText.h"

namespace Velmora {

QString applicationTitle() {
  return QString::fromStdString(Lab::applicationTitle(QCoreApplication::applicationFilePath().toStdString()));
}

namespace {

void showBox(QMessageBox::Icon icon, const QString& text) {
  // Without a parent the box is centred on the screen rather than on the window.
  QMessageBox box(icon, applicationTitle(), text, QMessageBox::Ok);
  box.exec();
}

}  // namespace

void MessageBoxDialogs::showMessage(const QString& text) { showBox(QMessageBox::NoIcon, text); }
void MessageBoxDialogs::showError(const QString& text) { showBox(QMessageBox::Critical, text); }
void MessageBoxDialogs::showMathReport(const QString& text) { showBox(QMessageBox::Critical, text); }

QString MessageBoxDialogs::chooseSaveFile(const QString& caption, const QString& filters) {
  return QFileDialog::getSaveFileName(nullptr, caption, QString(), filters);
}

}  // namespace Velmora
