// The schematic, checked on rendered pixels: the fills and edges sit where the drawing puts them
// at 66 sketch units per logical pixel, at any device-pixel ratio and any box size.

#include <QApplication>
#include <QColor>
#include <QImage>
#include <QPalette>
#include <QtTest>

#include <cmath>

#include "ui/calculator/sketch_view.h"

using loadcalc::ui::SketchView;

namespace {

constexpr double units_per_pixel = 66.0;
const QSize picture_box(561, 201);

QImage render(SketchView& view, QSize size, qreal dpr) {
  view.resize(size);
  QImage image(size * dpr, QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(dpr);
  image.fill(Qt::magenta);
  view.render(&image);
  return image;
}

// The device pixel under a point given in sketch units.
QPoint pixel_at(const SketchView& view, QPointF sketch_point, qreal dpr) {
  const QPointF logical = QPointF(view.contentsRect().topLeft()) + sketch_point / units_per_pixel;
  return {int(std::floor(logical.x() * dpr)), int(std::floor(logical.y() * dpr))};
}

bool near(QColor actual, QColor expected, int tolerance) {
  return std::abs(actual.red() - expected.red()) <= tolerance &&
         std::abs(actual.green() - expected.green()) <= tolerance &&
         std::abs(actual.blue() - expected.blue()) <= tolerance;
}

QString describe(QColor c) {
  return QStringLiteral("rgb(%1,%2,%3)").arg(c.red()).arg(c.green()).arg(c.blue());
}

int dark_pixels(const QImage& image, QRect area) {
  int count = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (qGray(image.pixel(x, y)) < 96) ++count;
  return count;
}

}  // namespace

class TestSketch : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QFont font;
    font.setFamilies({QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Zen Hei")});
    font.setPointSize(9);
    QApplication::setFont(font);
  }

  void colours_data() {
    QTest::addColumn<qreal>("dpr");
    QTest::addColumn<QPointF>("at");  // sketch units
    QTest::addColumn<QColor>("expected");

    const QColor cyan(0, 255, 255), green(0, 255, 0), white(Qt::white), black(Qt::black);
    struct Probe {
      const char* name;
      QPointF at;
      QColor colour;
    };
    const Probe probes[] = {
        {"beam band is cyan", {8000, 4442}, cyan},
        {"wall beside the opening is green", {6000, 7000}, green},
        {"wall under the sill is green", {8264, 8800}, green},
        {"opening below the transom is white", {7500, 7000}, white},
        {"opening above the transom is white", {7500, 5300}, white},
        {"stair slab under the second tread is green", {23400, 5600}, green},
        {"stair slab under the top tread is green", {27300, 3100}, green},
        {"background between the parts is white", {15000, 6000}, white},
        {"beam top edge is black", {8000, 4106}, black},
        {"wall bottom edge is black", {8000, 9483}, black},
        {"first riser is black", {22432, 5400}, black},
        {"under the stair is white", {25000, 9000}, white},
    };
    for (qreal dpr : {1.0, 2.0})
      for (const Probe& p : probes)
        QTest::addRow("%s at dpr %g", p.name, dpr) << dpr << p.at << p.colour;
  }

  void colours() {
    QFETCH(qreal, dpr);
    QFETCH(QPointF, at);
    QFETCH(QColor, expected);
    SketchView view;
    const QImage image = render(view, picture_box, dpr);
    const QColor actual = image.pixelColor(pixel_at(view, at, dpr));
    QVERIFY2(near(actual, expected, 24), qPrintable(describe(actual)));
  }

  void right_strip_is_box_background_data() {
    QTest::addColumn<qreal>("dpr");
    QTest::addColumn<QPointF>("at");
    QTest::newRow("just past the sketch") << 1.0 << QPointF(32472 + 2 * units_per_pixel, 3000);
    QTest::newRow("box's right end") << 1.0 << QPointF(36300, 6000);
    QTest::newRow("just past the sketch, dpr 2") << 2.0 << QPointF(32472 + units_per_pixel, 3000);
    QTest::newRow("box's right end, dpr 2") << 2.0 << QPointF(36300, 6000);
  }

  void right_strip_is_box_background() {
    QFETCH(qreal, dpr);
    QFETCH(QPointF, at);
    SketchView view;
    const QImage image = render(view, picture_box, dpr);
    const QColor actual = image.pixelColor(pixel_at(view, at, dpr));
    QCOMPARE(describe(actual), describe(view.palette().color(view.backgroundRole())));
    QVERIFY(actual != QColor(Qt::white));
  }

  // Each label and the note leave ink where the drawing places them.
  void lettering_data() {
    QTest::addColumn<QRectF>("area");  // sketch units
    QTest::newRow("窗宽 above the opening") << QRectF(6775, 300, 2978, 1450);
    QTest::newRow("开间尺寸 under the panel") << QRectF(5400, 9650, 5700, 1550);
    QTest::newRow("层高 left of its line") << QRectF(0, 5500, 1500, 2600);
    QTest::newRow("踏步宽 above the tread") << QRectF(21500, 300, 4000, 1450);
    QTest::newRow("踏步高 left of its line") << QRectF(18000, 4300, 1350, 2300);
    QTest::newRow("梯板厚度 along the slope's normal") << QRectF(25600, 6600, 1700, 2200);
    QTest::newRow("note on the leader") << QRectF(22000, 10500, 8000, 1300);
  }

  void lettering() {
    QFETCH(QRectF, area);
    SketchView view;
    const QImage image = render(view, picture_box, 2.0);
    const QRect pixels(pixel_at(view, area.topLeft(), 2.0),
                       pixel_at(view, area.bottomRight(), 2.0));
    QVERIFY2(dark_pixels(image, pixels) > pixels.width() * pixels.height() / 50,
             qPrintable(QString::number(dark_pixels(image, pixels))));
  }

  void size_of_box_does_not_scale_the_sketch_data() {
    QTest::addColumn<qreal>("dpr");
    QTest::addColumn<QSize>("larger");
    QTest::newRow("wider and taller") << 1.0 << QSize(900, 400);
    QTest::newRow("maximised") << 1.0 << QSize(1900, 1000);
    QTest::newRow("wider and taller, dpr 2") << 2.0 << QSize(900, 400);
  }

  void size_of_box_does_not_scale_the_sketch() {
    QFETCH(qreal, dpr);
    QFETCH(QSize, larger);
    SketchView view;
    const QImage as_laid_out = render(view, picture_box, dpr);
    // The sketch's own 492 pixels across, down to the row above the box's lower border.
    const QRect inside = view.contentsRect();
    const QRect sketch(inside.topLeft() * dpr, QSize(492, inside.height() - 1) * dpr);
    const QImage enlarged = render(view, larger, dpr);
    QCOMPARE(enlarged.copy(sketch), as_laid_out.copy(sketch));
  }
};

QTEST_MAIN(TestSketch)
#include "test_sketch.moc"
