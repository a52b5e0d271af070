#include "Widgets.h"

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <algorithm>

namespace Velmora {

QString ru(std::string_view utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }

void setFontStyle(QWidget* w, bool bold, bool underline) {
  QFont f = w->font();
  f.setBold(bold);
  f.setUnderline(underline);
  w->setFont(f);
}

void setTextColour(QWidget* w, const QColor& colour) {
  QPalette p = w->palette();
  p.setColor(QPalette::Text, colour);
  p.setColor(QPalette::WindowText, colour);
  w->setPalette(p);
}

QGroupBox* makeGroup(QWidget* parent, const char* name, const char* caption, int left, int top, int width,
                     int height, bool underline) {
  auto* box = make<QGroupBox>(parent, name, left, top, width, height);
  box->setTitle(ru(caption));
  setFontStyle(box, true, underline);
  return box;
}

QLabel* makeLabel(QWidget* parent, const char* name, const char* caption, int left, int top,
                  int width, int height, bool bold) {
  auto* label = make<QLabel>(parent, name, left, top, width, height);
  label->setText(ru(caption));
  setFontStyle(label, bold);
  const QSize hint = label->sizeHint();
  label->resize(hint.width(), std::max(height, hint.height()));
  return label;
}

QLineEdit* makeEdit(QWidget* parent, const char* name, int left, int top, int width, int height, const QString& text) {
  auto* edit = make<QLineEdit>(parent, name, left, top, width, height);
  edit->setText(text);
  setFontStyle(edit, true);
  return edit;
}

QIcon stripIcon(const QString& path) {
  const QPixmap strip(path);
  const int half = strip.width() / 2;
  QIcon icon;
  icon.addPixmap(strip.copy(0, 0, half, strip.height()), QIcon::Normal);
  icon.addPixmap(strip.copy(half, 0, half, strip.height()), QIcon::Disabled);
  return icon;
}

QFrame* makeSquare(QWidget* parent, const char* name, int left, int top, const QColor& fill) {
  auto* square = make<QFrame>(parent, name, left, top, 15, 15);
  const QColor outline = parent->palette().color(QPalette::Light);
  square->setStyleSheet(QStringLiteral("QFrame { background-color: %1; border: 1px solid %2; }")
                            .arg(fill.name(), outline.name()));
  return square;
}

}  // namespace Velmora
