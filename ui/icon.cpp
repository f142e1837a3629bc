#include "ui/icon.h"

#include <QIconEngine>
#include <QLinearGradient>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QRadialGradient>

#include <algorithm>
#include <map>

namespace loadcalc::ui {
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

}  // namespace

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

namespace {

// Paints a size only when a platform or a widget asks for it: the large sizes cost more to paint
// than the rest of the window's start-up code, and most are never asked for.
class AppIconEngine final : public QIconEngine {
 public:
  AppIconEngine() = default;

  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    const int side = std::min(size.width(), size.height());
    if (side < 1) return {};
    QPixmap& painted = painted_[side];
    if (painted.isNull()) painted = QPixmap::fromImage(paint_app_icon(side));
    if (mode == QIcon::Normal || mode == QIcon::Active) return painted;
    // The disabled and selected looks are the style's.
    return QIcon(painted).pixmap(painted.size(), 1.0, mode, state);
  }

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    const qreal ratio = painter->device() ? painter->device()->devicePixelRatio() : 1.0;
    const QPixmap image = pixmap(rect.size() * ratio, mode, state);
    const int side = std::min(rect.width(), rect.height());
    painter->drawPixmap(QRect(rect.x() + (rect.width() - side) / 2,
                              rect.y() + (rect.height() - side) / 2, side, side),
                        image);
  }

  QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
    const int side = std::min(size.width(), size.height());
    return {side, side};
  }

  QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
    QList<QSize> sizes;
    for (int side : {16, 22, 24, 32, 48, 64, 128, 256}) sizes << QSize(side, side);
    return sizes;
  }

  QString key() const override { return QStringLiteral("loadcalc"); }
  QIconEngine* clone() const override { return new AppIconEngine(*this); }

 private:
  AppIconEngine(const AppIconEngine&) = default;

  std::map<int, QPixmap> painted_;  // by side in device pixels
};

}  // namespace

QIcon app_icon() {
  return QIcon(new AppIconEngine);
}

}  // namespace loadcalc::ui
