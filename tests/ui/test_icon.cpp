// The program icon, painted at each size at build time: an arrow on a disc, the corners clear, and
// a pixmap of any size asked for.

#include <QApplication>
#include <QColor>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QtTest>

#include <cstdlib>

#include "ui/icon.h"

namespace {

QString describe(QColor c) {
  return QStringLiteral("rgb(%1,%2,%3)").arg(c.red()).arg(c.green()).arg(c.blue());
}

enum class IconPixel { transparent, arrow, disc };

}  // namespace

Q_DECLARE_METATYPE(IconPixel)

class TestIcon : public QObject {
  Q_OBJECT

 private slots:
  void pixels_data() {
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

  void pixels() {
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

  void offers_desktop_sizes_data() {
    QTest::addColumn<int>("size");
    for (int size : {16, 24, 32, 48, 64, 128, 256}) QTest::addRow("%d", size) << size;
  }

  void offers_desktop_sizes() {
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
  void gives_the_size_asked_for_data() {
    QTest::addColumn<int>("size");
    QTest::addColumn<qreal>("dpr");
    QTest::addColumn<int>("painted");  // 0: none of the files has the size
    QTest::newRow("20") << 20 << 1.0 << 0;
    QTest::newRow("100") << 100 << 1.0 << 0;
    QTest::newRow("24 at dpr 2") << 24 << 2.0 << 48;
    QTest::newRow("20 at dpr 1.5") << 20 << 1.5 << 0;
  }

  void gives_the_size_asked_for() {
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

  void disabled_icon_loses_its_colour() {
    const QIcon icon = loadcalc::ui::app_icon();
    const QImage image = icon.pixmap(QSize(32, 32), 1.0, QIcon::Disabled).toImage();
    QCOMPARE(image.size(), QSize(32, 32));
    const QColor centre = image.pixelColor(16, 16);
    QVERIFY2(std::abs(centre.blue() - centre.red()) < 40, qPrintable(describe(centre)));
  }
};

QTEST_MAIN(TestIcon)
#include "test_icon.moc"
