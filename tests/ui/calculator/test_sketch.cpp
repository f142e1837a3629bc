// The schematic and the program icon, checked on rendered pixels: the fills and edges sit where the
// drawing puts them at 66 sketch units per logical pixel, at any device-pixel ratio and any box
// size.

#include <QApplication>
#include <QColor>
#include <QIcon>
#include <QImage>
#include <QPalette>
#include <QtTest>

#include <cmath>

#include "ui/calculator/sketch_view.h"
#include "ui/icon.h"

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

enum class IconPixel { transparent, arrow, disc };

}  // namespace

Q_DECLARE_METATYPE(IconPixel)

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

  void icon_pixels_data() {
    QTest::addColumn<int>("size");
    QTest::addColumn<QPointF>("at");  // fraction of the size
    QTest::addColumn<IconPixel>("expected");
    for (int size : {16, 48, 256}) {
      QTest::addRow("%d: centre on the arrow", size)
          << size << QPointF(0.5, 0.5) << IconPixel::arrow;
      QTest::addRow("%d: arrow shaft", size) << size << QPointF(0.5, 0.3) << IconPixel::arrow;
      QTest::addRow("%d: top-left corner", size) << size << QPointF(0, 0) << IconPixel::transparent;
      QTest::addRow("%d: top-right corner", size)
          << size << QPointF(0.99, 0) << IconPixel::transparent;
      QTest::addRow("%d: bottom-left corner", size)
          << size << QPointF(0, 0.99) << IconPixel::transparent;
      QTest::addRow("%d: bottom-right corner", size)
          << size << QPointF(0.99, 0.99) << IconPixel::transparent;
      QTest::addRow("%d: disc left of the arrow", size)
          << size << QPointF(0.15, 0.5) << IconPixel::disc;
      QTest::addRow("%d: disc below the tip", size)
          << size << QPointF(0.5, 0.88) << IconPixel::disc;
    }
  }

  void icon_pixels() {
    QFETCH(int, size);
    QFETCH(QPointF, at);
    QFETCH(IconPixel, expected);
    const QImage icon = loadcalc::ui::app_icon().pixmap(QSize(size, size)).toImage();
    QCOMPARE(icon.size(), QSize(size, size));
    const QColor c = icon.pixelColor(int(at.x() * size), int(at.y() * size));
    switch (expected) {
      case IconPixel::transparent:
        QCOMPARE(c.alpha(), 0);
        break;
      case IconPixel::arrow:
        QCOMPARE(c.alpha(), 255);
        QVERIFY2(c.blue() > c.red() + 80 && c.blue() > c.green() + 20, qPrintable(describe(c)));
        break;
      case IconPixel::disc:
        QCOMPARE(c.alpha(), 255);
        QVERIFY2(qGray(c.rgb()) > 150 && std::abs(c.blue() - c.red()) < 60,
                 qPrintable(describe(c)));
        break;
    }
  }

  void window_icon_offers_desktop_sizes_data() {
    QTest::addColumn<int>("size");
    for (int size : {16, 24, 32, 48, 64, 128, 256}) QTest::addRow("%d", size) << size;
  }

  void window_icon_offers_desktop_sizes() {
    QFETCH(int, size);
    const QIcon icon = loadcalc::ui::app_icon();
    QVERIFY(icon.availableSizes().contains(QSize(size, size)));
    // Painted at its own size, not a neighbour scaled.
    QCOMPARE(QImage(QStringLiteral(":/icons/loadcalc-%1.png").arg(size)).size(), QSize(size, size));
    const QImage image = icon.pixmap(QSize(size, size)).toImage();
    QCOMPARE(image.size(), QSize(size, size));
    const QColor centre = image.pixelColor(size / 2, size / 2);
    QVERIFY2(centre.blue() > centre.red() + 80, qPrintable(describe(centre)));
  }

  // Sizes between the painted ones and high-density screens get a pixmap of the size asked for;
  // where a painted file has that many pixels, it is that file.
  void window_icon_gives_the_size_asked_for_data() {
    QTest::addColumn<int>("size");
    QTest::addColumn<qreal>("dpr");
    QTest::addColumn<int>("painted");  // 0: none of the files has the size
    QTest::newRow("20") << 20 << 1.0 << 0;
    QTest::newRow("100") << 100 << 1.0 << 0;
    QTest::newRow("24 at dpr 2") << 24 << 2.0 << 48;
    QTest::newRow("20 at dpr 1.5") << 20 << 1.5 << 0;
  }

  void window_icon_gives_the_size_asked_for() {
    QFETCH(int, size);
    QFETCH(qreal, dpr);
    QFETCH(int, painted);
    const QPixmap pixmap = loadcalc::ui::app_icon().pixmap(QSize(size, size), dpr);
    const int side = qRound(size * dpr);
    QCOMPARE(pixmap.size(), QSize(side, side));
    QCOMPARE(pixmap.devicePixelRatio(), dpr);
    QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QColor centre = image.pixelColor(side / 2, side / 2);
    QVERIFY2(centre.blue() > centre.red() + 80, qPrintable(describe(centre)));
    if (painted == 0) return;
    image.setDevicePixelRatio(1.0);
    const QImage file(QStringLiteral(":/icons/loadcalc-%1.png").arg(painted));
    QVERIFY(image == file.convertToFormat(QImage::Format_ARGB32_Premultiplied));
  }

  void disabled_window_icon_loses_its_colour() {
    const QIcon icon = loadcalc::ui::app_icon();
    const QImage image = icon.pixmap(QSize(32, 32), 1.0, QIcon::Disabled).toImage();
    QCOMPARE(image.size(), QSize(32, 32));
    const QColor centre = image.pixelColor(16, 16);
    QVERIFY2(std::abs(centre.blue() - centre.red()) < 40, qPrintable(describe(centre)));
  }
};

QTEST_MAIN(TestSketch)
#include "test_sketch.moc"
