// The About window: the program's title, how it was made, and a picture.
// Created hidden once at start-up and shown modally again on every request;
// nothing in it changes at run time.
#pragma once

#include <QDialog>
#include <QImage>

class QFrame;
class QLabel;
class QPushButton;

namespace Velmora {

class TFormAbout : public QDialog {
  Q_OBJECT

 public:
  explicit TFormAbout(QWidget* parent = nullptr);

  // The picture as the JPEG decoder delivered it; null when decoding failed.
  const QImage& Picture() const { return picture; }

  QFrame* Bevel1;
  QLabel* Label1;
  QFrame* Bevel2;
  QLabel* Label2;
  QLabel* Label3;
  QLabel* Label5;
  QLabel* Label4;
  QLabel* Label6;
  QLabel* Label7;
  QLabel* Label10;
  QLabel* Label11;
  QLabel* Label8;
  QLabel* Label9;
  QFrame* Bevel3;
  QLabel* Image1;
  QPushButton* BitBtn1;

 private:
  QImage picture;
};

}  // namespace Velmora
