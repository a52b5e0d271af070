// Draws the About window's picture and its OK check mark. The files are kept
// in the repository; run this to redraw them:
//   cmake --build build --target velmora_about_picture
//   build/resources/velmora_about_picture resources
// The picture is a progressive JPEG because the window decodes exactly that.
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <cstdio>

namespace {

// The fourth sample formula, the one with a deep minimum among shallow ones.
double sample(double x) { return std::sin(x) + std::sin(10.0 * x / 3.0); }

QImage picture() {
  constexpr int size = 100;
  QImage image(size, size, QImage::Format_RGB32);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sky(0, 0, 0, size);
  sky.setColorAt(0, QColor(236, 244, 255));
  sky.setColorAt(1, QColor(200, 218, 240));
  p.fillRect(0, 0, size, size, sky);
  p.setPen(QPen(QColor(170, 190, 215), 1));
  for (int i = 10; i < size; i += 20) {
    p.drawLine(i, 0, i, size);
    p.drawLine(0, i, size, i);
  }

  const double a = 2.7, b = 7.5, low = -2.0, high = 2.0;
  const auto px = [&](double x) { return 6 + (x - a) / (b - a) * 88.0; };
  const auto py = [&](double y) { return 14 + (high - y) / (high - low) * 72.0; };
  QPainterPath curve;
  for (int i = 0; i <= 200; ++i) {
    const double x = a + (b - a) * i / 200.0;
    const QPointF point(px(x), py(sample(x)));
    if (i == 0)
      curve.moveTo(point);
    else
      curve.lineTo(point);
  }
  p.setPen(QPen(QColor(0, 0, 180), 2));
  p.drawPath(curve);

  // Trial points, thickening towards the global minimum as a search's do.
  const double trials[] = {2.7, 3.3, 3.9, 4.4, 4.8, 5.0, 5.1, 5.14, 5.2, 5.3, 5.6, 6.1, 6.7, 7.5};
  for (const double x : trials) {
    const QPointF c(px(x), py(sample(x)));
    const QPolygonF diamond{c + QPointF(0, -3.2), c + QPointF(3.2, 0), c + QPointF(0, 3.2), c + QPointF(-3.2, 0)};
    p.setPen(QPen(QColor(120, 0, 0), 1));
    p.setBrush(QColor(230, 20, 20));
    p.drawPolygon(diamond);
    p.setPen(QPen(QColor(230, 20, 20, 120), 1));
    p.drawLine(QPointF(px(x), 96), QPointF(px(x), 99));
  }

  const QPointF best(px(5.1457), py(sample(5.1457)));
  p.setPen(QPen(QColor(0, 130, 0), 2));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(best, 6, 6);
  p.drawLine(QPointF(best.x(), best.y() + 6), QPointF(best.x(), 97));
  return image;
}

QImage checkMark() {
  QImage image(16, 16, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  QPainterPath tick;
  tick.moveTo(2.5, 8.5);
  tick.lineTo(6.5, 12.5);
  tick.lineTo(13.5, 3.5);
  p.setPen(QPen(QColor(0, 110, 0), 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPath(tick);
  return image;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s RESOURCES_FOLDER\n", argv[0]);
    return 2;
  }
  const QString folder = QString::fromLocal8Bit(argv[1]);
  QImageWriter jpeg(folder + QStringLiteral("/about.jpg"), "jpeg");
  jpeg.setQuality(92);
  jpeg.setProgressiveScanWrite(true);
  jpeg.setOptimizedWrite(true);
  if (!jpeg.write(picture())) {
    std::fprintf(stderr, "about.jpg: %s\n", qPrintable(jpeg.errorString()));
    return 1;
  }
  if (!checkMark().save(folder + QStringLiteral("/about-ok.png"))) {
    std::fprintf(stderr, "about-ok.png could not be written\n");
    return 1;
  }
  return 0;
}
