// Each frame as drawn: its line runs through its caption and above every control inside it, and no
// control covers the caption. ctest runs this at 1x, 1.5x and 2x (QT_SCALE_FACTOR).
#include <QGroupBox>
#include <QImage>
#include <QPainter>
#include <QtTest>

#include "gui_fixture.h"

using namespace loadcalc;
using namespace loadcalc::test;

namespace {

// The frame drawn alone, without its background or children, in device pixels.
QImage frame_alone(QGroupBox* frame) {
  return rendered(frame, QWidget::RenderFlags());
}

// Rows of `image` (device pixels) with ink of at least `alpha` between columns x0 and x1.
QList<int> inked_rows(const QImage& image, int x0, int x1, int alpha) {
  QList<int> rows;
  for (int y = 0; y < image.height(); ++y)
    for (int x = std::max(x0, 0); x <= std::min(x1, image.width() - 1); ++x)
      if (qAlpha(image.pixel(x, y)) >= alpha) {
        rows << y;
        break;
      }
  return rows;
}

// WCAG 2's contrast ratio of two opaque colours.
double contrast(QRgb a, QRgb b) {
  const auto lum = [](QRgb c) {
    const auto lin = [](double v) {
      return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * lin(qRed(c) / 255.0) + 0.7152 * lin(qGreen(c) / 255.0) +
           0.0722 * lin(qBlue(c) / 255.0);
  };
  return (std::max(lum(a), lum(b)) + 0.05) / (std::min(lum(a), lum(b)) + 0.05);
}

}  // namespace

class FramesTest : public WindowTest {
  Q_OBJECT
 private slots:
  void line_runs_through_the_caption_above_the_controls_data() {
    QTest::addColumn<QString>("frame");
    QTest::addColumn<QString>("caption");
    QTest::newRow("Frame1") << "Frame1"
                            << "梁上填充墙基本信息";
    QTest::newRow("Frame2") << "Frame2"
                            << "楼梯恒荷载计算基本信息";
    QTest::newRow("Frame3") << "Frame3"
                            << "框架梁上均布线荷载";
    QTest::newRow("Frame4") << "Frame4"
                            << "楼梯的折算恒荷载";
    QTest::newRow("Frame5") << "Frame5"
                            << "示意简图";
  }
  void line_runs_through_the_caption_above_the_controls() {
    QFETCH(QString, frame);
    QFETCH(QString, caption);
    auto* box = fx->form->findChild<QGroupBox*>(frame);
    QVERIFY(box);
    QCOMPARE(box->title(), caption);
    const QImage image = frame_alone(box);
    const qreal dpr = image.devicePixelRatio();
    const int w = image.width();

    // The top line, read in a column right of every caption: its first strongly inked row.
    const QList<int> right_column = inked_rows(image, w - int(20 * dpr), w - int(20 * dpr), 0x20);
    QVERIFY(!right_column.isEmpty());
    const qreal line = right_column.first() / dpr;

    // The caption's ink, read in the columns it covers (clear of the frame's side lines).
    const int caption_left = int(10 * dpr);
    const int caption_right =
        caption_left + int((box->fontMetrics().horizontalAdvance(caption) - 4) * dpr);
    // Read above the bottom line, which crosses the same columns.
    const QList<int> caption_rows =
        inked_rows(image.copy(0, 0, w, int(box->fontMetrics().height() * dpr)), caption_left,
                   caption_right, 0x40);
    QVERIFY(!caption_rows.isEmpty());
    const qreal ink_top = caption_rows.first() / dpr;
    const qreal ink_bottom = (caption_rows.last() + 1) / dpr;
    QVERIFY2(ink_top >= 0 && ink_top < line && line < ink_bottom,
             qPrintable(QStringLiteral("caption ink %1..%2, line at %3")
                            .arg(ink_top)
                            .arg(ink_bottom)
                            .arg(line)));
    const QList<QWidget*> inside = box->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    QVERIFY(!inside.isEmpty());
    const QRectF caption_ink(caption_left / dpr, ink_top, (caption_right - caption_left) / dpr,
                             ink_bottom - ink_top);
    for (QWidget* control : inside) {
      const QRect g = control->geometry();
      const QString what = control->objectName() + QStringLiteral(" at ") +
                           QString::number(g.top()) + QStringLiteral(", line at ") +
                           QString::number(line);
      QVERIFY2(g.top() > line, qPrintable(what));
      QVERIFY2(!QRectF(g).intersects(caption_ink),
               qPrintable(control->objectName() + QStringLiteral(" covers the caption")));
      // Clear of the side and bottom lines too.
      QVERIFY2(g.left() >= 2 && g.right() <= box->width() - 3 && g.bottom() <= box->height() - 3,
               qPrintable(control->objectName()));
    }
  }

  // The line as painted over the window, where it runs alone: right of every caption, and down
  // the left side.
  void line_stands_out_from_the_window_data() {
    QTest::addColumn<QColor>("window");
    QTest::addColumn<QColor>("text");
    QTest::newRow("light") << QColor(0xef, 0xef, 0xef) << QColor(Qt::black);
    QTest::newRow("dark") << QColor(0x32, 0x32, 0x32) << QColor(0xf0, 0xf0, 0xf0);
  }
  void line_stands_out_from_the_window() {
    QFETCH(QColor, window);
    QFETCH(QColor, text);
    QPalette palette = fx->form->palette();
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::WindowText, text);
    fx->form->setPalette(palette);
    for (auto* box : fx->form->findChildren<QGroupBox*>()) {
      const QImage image = rendered(box, QWidget::DrawWindowBackground);
      const qreal dpr = image.devicePixelRatio();
      double top = 0, side = 0;
      for (int i = 0; i < int(12 * dpr); ++i) {
        top = std::max(top, contrast(image.pixel(image.width() - int(20 * dpr), i), window.rgb()));
        side = std::max(side, contrast(image.pixel(i / 3, image.height() / 2), window.rgb()));
      }
      QVERIFY2(top >= 3 && side >= 3, qPrintable(box->objectName()));
    }
  }
};

LOADCALC_GUI_TEST_MAIN(FramesTest)
#include "test_frames.moc"
