// Paints the program's icon, a glossy round disc with a blue downward arrow on a transparent
// background, into PNG files. The build runs it once per size; the window and the installed
// package use the files it writes, so there is one icon.
//   loadcalc_make_icon <file.png> <size> [<file.png> <size> ...]

#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QString>

#include <charconv>
#include <cstdio>
#include <cstring>

namespace {

// The drawing is made on a 48-unit square and scaled to the requested size.
constexpr double design = 48.0;

QPainterPath arrow() {
  QPainterPath path;
  path.moveTo(19.5, 9.5);
  path.lineTo(28.5, 9.5);
  path.lineTo(28.5, 23.0);
  path.lineTo(36.0, 23.0);
  path.lineTo(24.0, 38.5);
  path.lineTo(12.0, 23.0);
  path.lineTo(19.5, 23.0);
  path.closeSubpath();
  return path;
}

QImage paint_app_icon(int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / design, size / design);

  const QRectF disc(2.0, 2.0, 44.0, 44.0);
  QRadialGradient body(QPointF(20.0, 16.0), 30.0);
  body.setColorAt(0.0, QColor(0xff, 0xff, 0xff));
  body.setColorAt(0.55, QColor(0xdd, 0xe4, 0xec));
  body.setColorAt(1.0, QColor(0x8c, 0x9a, 0xab));
  painter.setPen(QPen(QColor(0x4a, 0x55, 0x66), 1.2));
  painter.setBrush(body);
  painter.drawEllipse(disc);

  QLinearGradient blue(QPointF(0, 9.5), QPointF(0, 38.5));
  blue.setColorAt(0.0, QColor(0x5a, 0xa8, 0xff));
  blue.setColorAt(1.0, QColor(0x0b, 0x3d, 0xb8));
  painter.setPen(QPen(QColor(0x06, 0x25, 0x75), 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.setBrush(blue);
  painter.drawPath(arrow());

  // The gloss: a soft white lens over the upper half of the disc.
  QLinearGradient gloss(QPointF(0, 3.0), QPointF(0, 22.0));
  gloss.setColorAt(0.0, QColor(255, 255, 255, 200));
  gloss.setColorAt(1.0, QColor(255, 255, 255, 20));
  painter.setPen(Qt::NoPen);
  painter.setBrush(gloss);
  painter.drawEllipse(QRectF(8.0, 3.5, 32.0, 18.0));
  return image;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3 || argc % 2 == 0) {
    std::fprintf(stderr, "usage: %s <file.png> <size> [<file.png> <size> ...]\n", argv[0]);
    return 2;
  }
  for (int i = 1; i < argc; i += 2) {
    int size = 0;
    const char* end = argv[i + 1] + std::strlen(argv[i + 1]);
    const auto [last, error] = std::from_chars(argv[i + 1], end, size);
    if (error != std::errc() || last != end || size < 1 || size > 1024) {
      std::fprintf(stderr, "%s: bad size '%s'\n", argv[0], argv[i + 1]);
      return 2;
    }
    if (!paint_app_icon(size).save(QString::fromLocal8Bit(argv[i]), "PNG")) {
      std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[i]);
      return 1;
    }
  }
  return 0;
}
