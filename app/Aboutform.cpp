#include "Aboutform.h"

#include <QFrame>
#include <QGuiApplication>
#include <QIcon>
#include <QImageReader>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>

#include <algorithm>

// The resources live in a static library, so nothing would pull them into the
// program unless they are registered by name.
static void registerAboutResources() { Q_INIT_RESOURCE(about); }

namespace Velmora {

namespace {

// The captions' right edges line up here, a little before the values at 170.
constexpr int captionRight = 166;

QFont formFont() {
  QFont font;
  // The layout was measured in an 11-pixel sans serif; Liberation Sans is the
  // one that comes with the program's dependencies.
  font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans")});
  font.setPixelSize(11);
  return font;
}

QFrame* sunkenFrame(QWidget* parent, int left, int top, int width, int height) {
  auto* frame = new QFrame(parent);
  frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  frame->setGeometry(left, top, width, height);
  return frame;
}

QLabel* caption(QWidget* parent, const QString& text, int left, int top) {
  auto* label = new QLabel(text, parent);
  QFont font = label->font();
  font.setBold(true);
  label->setFont(font);
  label->adjustSize();
  // A caption wider than its place grows to the left rather than into its value.
  const int width = std::max(label->width(), captionRight - left);
  label->setGeometry(captionRight - width, top, width, label->height());
  label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return label;
}

QLabel* value(QWidget* parent, const QString& text, int top) {
  auto* label = new QLabel(text, parent);
  label->move(170, top);
  label->adjustSize();
  return label;
}

}  // namespace

TFormAbout::TFormAbout(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
  registerAboutResources();
  setWindowTitle(QStringLiteral("О программе..."));
  setFont(formFont());
  setFixedSize(422, 135);
  setWindowOpacity(220.0 / 255.0);

  Bevel1 = sunkenFrame(this, 2, 3, 311, 130);

  Label1 = new QLabel(QStringLiteral("Velmora"), this);
  QFont title;
  title.setFamilies({QStringLiteral("Arial Black"), QStringLiteral("Liberation Sans")});
  title.setWeight(QFont::Black);
  title.setPixelSize(16);
  title.setUnderline(true);
  Label1->setFont(title);
  Label1->setAlignment(Qt::AlignCenter);
  Label1->setGeometry(40, 8, 229, 23);

  // Only the top edge of this bevel is drawn: a line under the title.
  Bevel2 = new QFrame(this);
  Bevel2->setFrameStyle(QFrame::HLine | QFrame::Sunken);
  Bevel2->setGeometry(5, 34, 305, 2);

  Label2 = caption(this, QStringLiteral("Разработчик программы:"), 6, 48);
  Label3 = value(this, QStringLiteral("Velmora developers"), 48);
  Label5 = caption(this, QStringLiteral("Среда разработки:"), 45, 64);
  Label4 = value(this, QStringLiteral("C++20, Qt 6, CMake"), 64);
  Label6 = caption(this, QStringLiteral("Использовался код: "), 36, 80);
  Label7 = value(this, QStringLiteral("свой движок формул"), 80);
  Label10 = caption(this, QStringLiteral("Дата реализации: "), 50, 96);
  Label11 = value(this, QStringLiteral("2 апреля 2004г."), 96);
  Label8 = caption(this, QStringLiteral("Web - сайт: "), 89, 112);
  // The program has no web site; an underlined address would promise a link.
  Label9 = value(this, QStringLiteral("нет"), 112);

  Bevel3 = sunkenFrame(this, 318, 3, 102, 102);

  QImageReader reader(QStringLiteral(":/about/picture.jpg"), "jpeg");
  picture = reader.read();
  Image1 = new QLabel(this);
  Image1->setGeometry(319, 4, 100, 100);
  Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  Image1->setPixmap(QPixmap::fromImage(picture));

  BitBtn1 = new QPushButton(QIcon(QStringLiteral(":/about/ok.png")), QStringLiteral("OK"), this);
  BitBtn1->setGeometry(318, 108, 102, 25);
  BitBtn1->setDefault(true);
  connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);

  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
}

}  // namespace Velmora
