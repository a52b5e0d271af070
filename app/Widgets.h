// The window's controls as its form makes them: each named, placed at its
// pixel rectangle, and given its own font style.
#pragma once

#include <QColor>
#include <QIcon>
#include <QString>
#include <QWidget>
#include <string_view>

class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;

namespace Velmora {

// A UTF-8 text (the window's Russian captions, the core's texts) as Qt shows it.
QString ru(std::string_view utf8);

// Each control states its own style, so a group box's bold underlined title
// does not pass on to its contents.
void setFontStyle(QWidget* w, bool bold, bool underline = false);
void setTextColour(QWidget* w, const QColor& colour);

template <class W>
W* make(QWidget* parent, const char* name, int left, int top, int width, int height) {
  auto* w = new W(parent);
  w->setObjectName(QString::fromLatin1(name));
  w->setGeometry(left, top, width, height);
  return w;
}

QGroupBox* makeGroup(QWidget* parent, const char* name, const char* caption, int left, int top, int width,
                     int height, bool underline);
// A label sizes itself to its caption from its top left corner, as the
// form's labels do, so a wider substitute font clips nothing.
QLabel* makeLabel(QWidget* parent, const char* name, const char* caption, int left, int top, int width, int height,
                  bool bold);
QLineEdit* makeEdit(QWidget* parent, const char* name, int left, int top, int width, int height, const QString& text);
// A strip of two images side by side: the button enabled, then disabled.
QIcon stripIcon(const QString& path);
// A 15-pixel square of one colour, the chart legend's sample.
QFrame* makeSquare(QWidget* parent, const char* name, int left, int top, const QColor& fill);

}  // namespace Velmora
