#include "ui/calculator/sketch_view.h"

#include <QPainter>

#include "form/sketch.h"
#include "ui/calculator/sketch_painter.h"

namespace loadcalc::ui {

using namespace form;

SketchView::SketchView(QWidget* parent) : QFrame(parent) {
  setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  setAutoFillBackground(true);
}

QSize SketchView::sizeHint() const {
  const QMargins frame = contentsMargins();
  return QSize(sketch::width / sketch::units_per_pixel + frame.left() + frame.right(),
               sketch::height / sketch::units_per_pixel + frame.top() + frame.bottom());
}

void SketchView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.save();
  const QRect inside = contentsRect();
  painter.setClipRect(inside);
  painter.translate(inside.topLeft());
  painter.scale(1.0 / sketch::units_per_pixel, 1.0 / sketch::units_per_pixel);
  paint_sketch(painter);
  painter.restore();
  // The border goes on last: some styles draw it half a pixel into the contents at high DPI.
  drawFrame(&painter);
}

}  // namespace loadcalc::ui
