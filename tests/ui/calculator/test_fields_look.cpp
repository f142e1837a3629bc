// A field's text has room inside its border at every scale, and a field's border can be seen under
// a dark palette while the sketch keeps its white paper. ctest runs this at 1x, 1.5x and 2x
// (QT_SCALE_FACTOR).
#include <QLineEdit>
#include <QPalette>
#include <QtTest>

#include "gui_fixture.h"

using namespace loadcalc;
using namespace loadcalc::test;

namespace {

QImage picture(QWidget* w) {
  return rendered(w, QWidget::DrawWindowBackground);
}

// Bounds of the text's ink, in logical pixels, from the field's outer corner: pixels close to the
// text colour.
QRectF ink_bounds(const QImage& image, QColor text) {
  int left = image.width(), right = -1, top = image.height(), bottom = -1;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QColor c = image.pixelColor(x, y);
      if (std::abs(c.lightness() - text.lightness()) < 90) {
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
    }
  const qreal dpr = image.devicePixelRatio();
  return QRectF(left / dpr, top / dpr, (right + 1 - left) / dpr, (bottom + 1 - top) / dpr);
}

}  // namespace

class FieldsLookTest : public WindowTest {
  Q_OBJECT
 private slots:
  void text_has_room_inside_the_border_data() {
    QTest::addColumn<QString>("field");
    QTest::newRow("Text2") << "Text2";
    QTest::newRow("Text9") << "Text9";
    QTest::newRow("Text11") << "Text11";
  }
  void text_has_room_inside_the_border() {
    QFETCH(QString, field);
    QLineEdit* e = fx->form->edit(field.toStdString());
    const QImage image = picture(e);
    const QRectF ink = ink_bounds(image, e->palette().color(QPalette::Text));
    const qreal above = ink.top();
    const qreal below = e->height() - ink.bottom();
    const QString where = QStringLiteral("ink %1,%2 %3x%4 in %5x%6")
                              .arg(ink.left())
                              .arg(ink.top())
                              .arg(ink.width())
                              .arg(ink.height())
                              .arg(e->width())
                              .arg(e->height());
    // Clear of the 1-pixel border by more than Fusion's own 3 pixels on the left...
    QVERIFY2(ink.left() >= 5.5, qPrintable(where));
    // ...and the digits in the middle of the field, not on its bottom border.
    QVERIFY2(below >= 3.5 && std::abs(above - below) <= 1.5, qPrintable(where));
  }

  // A dark desktop palette as Adwaita's dark theme gives it.
  void under_a_dark_palette_borders_show_and_the_sketch_stays_white() {
    QPalette dark = fx->form->palette();
    dark.setColor(QPalette::Window, QColor(0x32, 0x32, 0x32));
    dark.setColor(QPalette::WindowText, QColor(0xf0, 0xf0, 0xf0));
    dark.setColor(QPalette::Base, QColor(0x24, 0x24, 0x24));
    dark.setColor(QPalette::Text, QColor(0xf0, 0xf0, 0xf0));
    fx->form->setPalette(dark);
    QLineEdit* e = fx->form->edit("Text2");
    const QImage image = picture(e);
    const qreal dpr = image.devicePixelRatio();
    // The left border, half way down.
    const QColor border = image.pixelColor(0, int(e->height() / 2 * dpr));
    QVERIFY2(border.lightness() - dark.color(QPalette::Base).lightness() >= 40 &&
                 border.lightness() - dark.color(QPalette::Window).lightness() >= 40,
             qPrintable(border.name()));
    const QImage sketch = picture(fx->form->picture());
    QCOMPARE(sketch.pixelColor(int(20 * dpr), int(20 * dpr)), QColor(Qt::white));
  }
};

LOADCALC_GUI_TEST_MAIN(FieldsLookTest)
#include "test_fields_look.moc"
