// Draws the button glyphs and the program icon. The PNGs it writes are kept
// in resources/; run it again after changing a drawing:
//   cmake --build build --target velmora_glyphs && build/resources/velmora_glyphs resources
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <functional>

namespace {

using Drawing = std::function<void(QPainter&, const QRectF&)>;

QImage draw(QSize size, const Drawing& drawing) {
  QImage image(size, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  drawing(p, QRectF(QPointF(0, 0), size));
  return image;
}

// The disabled look: grey, light, a white shadow below right, as buttons of
// the framework draw a disabled glyph.
QImage disabled(const QImage& normal) {
  QImage grey(normal.size(), QImage::Format_ARGB32);
  grey.fill(Qt::transparent);
  QImage shadow = grey;
  for (int y = 0; y < normal.height(); ++y)
    for (int x = 0; x < normal.width(); ++x) {
      const QColor c = normal.pixelColor(x, y);
      if (c.alpha() == 0) continue;
      const int g = 128 + qGray(c.rgb()) / 4;
      grey.setPixelColor(x, y, QColor(g, g, g, c.alpha()));
      shadow.setPixelColor(x, y, QColor(255, 255, 255, c.alpha()));
    }
  QImage out(normal.size(), QImage::Format_ARGB32);
  out.fill(Qt::transparent);
  QPainter p(&out);
  p.drawImage(1, 1, shadow);
  p.drawImage(0, 0, grey);
  return out;
}

QImage strip(const QImage& normal) {
  QImage out(normal.width() * 2, normal.height(), QImage::Format_ARGB32);
  out.fill(Qt::transparent);
  QPainter p(&out);
  p.drawImage(0, 0, normal);
  p.drawImage(normal.width(), 0, disabled(normal));
  return out;
}

// A multi-modal curve across the rectangle, as the chart shows a function.
QPainterPath curve(const QRectF& r) {
  QPainterPath path;
  for (int i = 0; i <= 60; ++i) {
    const double t = i / 60.0;
    const double y = 0.5 + 0.28 * std::sin(t * 9.0) * (1.0 - 0.5 * t) + 0.12 * std::cos(t * 23.0);
    const QPointF p(r.left() + t * r.width(), r.top() + y * r.height());
    if (i == 0) path.moveTo(p); else path.lineTo(p);
  }
  return path;
}

void diamond(QPainter& p, QPointF c, double half) {
  QPolygonF d;
  d << QPointF(c.x(), c.y() - half) << QPointF(c.x() + half, c.y()) << QPointF(c.x(), c.y() + half)
    << QPointF(c.x() - half, c.y());
  p.setPen(QPen(QColor(128, 0, 64), 1));
  p.setBrush(Qt::red);
  p.drawPolygon(d);
}

// Update: a curve redrawn, with a green circular arrow.
void drawUpdate(QPainter& p, const QRectF&) {
  p.setPen(QPen(Qt::blue, 2));
  p.drawPath(curve(QRectF(1, 18, 30, 20)));
  p.setPen(QPen(QColor(0, 140, 0), 3, Qt::SolidLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(6, 2, 20, 20), 30 * 16, 280 * 16);
  QPolygonF head;
  head << QPointF(27, 3) << QPointF(28, 12) << QPointF(19, 10);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 140, 0));
  p.drawPolygon(head);
}

// Search: a curve with its lowest trial point and a magnifying glass over it.
void drawSearch(QPainter& p, const QRectF&) {
  p.setPen(QPen(Qt::blue, 2));
  p.drawPath(curve(QRectF(1, 4, 30, 24)));
  for (double x : {4.0, 11.0, 17.0, 27.0}) diamond(p, QPointF(x, 36), 2.5);
  p.setPen(QPen(QColor(60, 60, 60), 2));
  p.setBrush(QColor(200, 230, 255, 140));
  p.drawEllipse(QRectF(9, 12, 14, 14));
  p.setPen(QPen(QColor(90, 60, 20), 4, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(22, 25), QPointF(29, 32));
}

// About: the information sign.
void drawAbout(QPainter& p, const QRectF& r) {
  p.setPen(QPen(QColor(0, 60, 160), 1.5));
  p.setBrush(QColor(40, 110, 220));
  p.drawEllipse(r.adjusted(1.5, 1.5, -1.5, -1.5));
  QFont f(QStringLiteral("Liberation Serif"));
  f.setPixelSize(22);
  f.setBold(true);
  f.setItalic(true);
  p.setFont(f);
  p.setPen(Qt::white);
  p.drawText(r, Qt::AlignCenter, QStringLiteral("i"));
}

// The program icon: the chart in small, a curve and its trial points.
void drawIcon(QPainter& p, const QRectF& r) {
  p.setPen(QPen(QColor(90, 90, 90), 2));
  p.setBrush(Qt::white);
  p.drawRoundedRect(r.adjusted(2, 2, -2, -2), 8, 8);
  p.setPen(QPen(Qt::blue, 3));
  p.setBrush(Qt::NoBrush);
  p.drawPath(curve(r.adjusted(8, 10, -8, -14)));
  for (double x : {10.0, 22.0, 31.0, 38.0, 54.0}) diamond(p, QPointF(x, 54), 3.5);
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
  const bool ok = strip(draw({32, 40}, drawUpdate)).save(dir + QStringLiteral("/glyph-update.png")) &&
                  strip(draw({32, 40}, drawSearch)).save(dir + QStringLiteral("/glyph-search.png")) &&
                  draw({30, 30}, drawAbout).save(dir + QStringLiteral("/glyph-about.png")) &&
                  draw({64, 64}, drawIcon).save(dir + QStringLiteral("/velmora.png"));
  return ok ? 0 : 1;
}
