#include "ui/calculator/sketch_painter.h"

#include "form/sketch.h"

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QList>
#include <QPainter>
#include <QPen>
#include <QPolygonF>
#include <QString>
#include <QtMath>

#include <algorithm>
#include <cmath>

namespace loadcalc::ui {

using namespace form::sketch;

namespace {

QPointF to_qt(Point p) {
  return {double(p.x), double(p.y)};
}

QColor to_qt(Rgb c) {
  return QColor(c.r, c.g, c.b);
}

QPointF unit(QPointF v) {
  return v / std::hypot(v.x(), v.y());
}

QPolygonF polygon(std::span<const Point> points) {
  QPolygonF result;
  result.reserve(qsizetype(points.size()));
  for (Point p : points) result << to_qt(p);
  return result;
}

QPen pen_for(Stroke stroke) {
  const Pen& p = pen(stroke);
  QPen result(to_qt(p.colour), p.width, Qt::SolidLine,
              p.cap == Cap::square ? Qt::SquareCap : Qt::FlatCap, Qt::MiterJoin);
  if (!p.dashes.empty()) result.setDashPattern(QList<qreal>(p.dashes.begin(), p.dashes.end()));
  return result;
}

// Labels are shaped, measured and drawn at their size on the device, not in sketch units: a
// 1,260-pixel font under the 1/66 scale would have each glyph loaded and rasterised at 1,260
// pixels just to be measured, and every other size of it would be another font to load.
class Lettering {
 public:
  explicit Lettering(QPainter& painter)
      : painter_(painter), scale_(std::sqrt(std::abs(painter.transform().determinant()))) {
    const QFont base = painter.font();
    QFont font = base;
    // The window's own family first; simplified-Chinese faces next, so that a family without the
    // characters does not hand them to a Japanese fallback.
    QStringList families = base.families();
    if (families.isEmpty()) families << base.family();
    families << QStringLiteral("Noto Sans CJK SC") << QStringLiteral("WenQuanYi Zen Hei");
    font.setFamilies(families);
    font.setPixelSize(std::max(1, qRound(lettering_size * scale_)));
    font.setStretch(qRound(lettering_width * 100));
    font.setHintingPreference(QFont::PreferNoHinting);
    painter.setFont(font);
    // Measured in the font as the painter resolves it for its device, which is the one drawn.
    const QFontMetricsF metrics(painter.font());
    descent_ = metrics.descent() / scale_;
  }

  // In sketch units.
  double width(const QString& text) const {
    return QFontMetricsF(painter_.font()).horizontalAdvance(text) / scale_;
  }
  double descent() const { return descent_; }

  // The baseline from `origin` along `angle` degrees, starting `x` along it and `y` across it,
  // all in sketch units; `size` against the labels' own.
  void draw(QPointF origin, double angle, double x, double y, const QString& text,
            double size = 1.0) {
    painter_.save();
    painter_.translate(origin);
    painter_.rotate(angle);
    painter_.translate(x, y);
    // Back to the device's own pixels: with no scale left, the glyphs come from Qt's cache.
    painter_.scale(size / scale_, size / scale_);
    painter_.drawText(QPointF(0, 0), text);
    painter_.restore();
  }

 private:
  QPainter& painter_;
  double scale_;  // device-independent pixels per sketch unit
  double descent_ = 0;
};

void paint_dimension(QPainter& painter, Lettering& lettering, const Dimension& d) {
  const QPointF from = to_qt(d.from);
  const QPointF to = to_qt(d.to);
  const QPointF along = unit(to - from);
  const QPointF above(along.y(), -along.x());
  const double angle = qRadiansToDegrees(std::atan2(along.y(), along.x()));
  const QString label = QString::fromUtf8(d.label.data(), qsizetype(d.label.size()));
  const double label_width = lettering.width(label);

  painter.setPen(pen_for(dimension_stroke));
  QPointF line_end = to;
  if (d.place == LabelPlace::past_end)
    line_end += along * (d.label_start + label_width + label_gap);
  painter.drawLine(from, line_end);

  for (auto [end, edge] : {std::pair{from, to_qt(d.from_edge)}, std::pair{to, to_qt(d.to_edge)}}) {
    if (edge == end) continue;
    const QPointF towards = unit(edge - end);
    painter.drawLine(end - towards * extension_overshoot, edge - towards * extension_gap);
  }

  const QPointF tick = unit(along + above) * tick_half;
  painter.setPen(pen_for(tick_stroke));
  painter.drawLine(from - tick, from + tick);
  painter.drawLine(to - tick, to + tick);

  painter.setPen(to_qt(ink));
  const double baseline = -(label_gap + lettering.descent());
  if (d.place == LabelPlace::centred)
    lettering.draw((from + to) / 2, angle, -label_width / 2, baseline, label);
  else
    lettering.draw(to, angle, d.label_start, baseline, label);
}

void paint_note(QPainter& painter, Lettering& lettering, const Note& note) {
  const QString text = QString::fromUtf8(note.text.data(), qsizetype(note.text.size()));
  const QString raised = QString::fromUtf8(note.raised.data(), qsizetype(note.raised.size()));
  const QPointF origin = to_qt(note.baseline);
  painter.setPen(to_qt(ink));
  lettering.draw(origin, 0, 0, 0, text);
  // Scaled rather than a smaller font: one font for all the lettering.
  lettering.draw(origin, 0, lettering.width(text), -lettering_size * raised_lift, raised,
                 raised_size);
}

}  // namespace

void paint_sketch(QPainter& painter) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);

  painter.setPen(Qt::NoPen);
  for (const Fill& fill : fills) {
    painter.setBrush(to_qt(fill.colour));
    painter.drawPolygon(polygon(fill.outline));
  }

  painter.setBrush(Qt::NoBrush);
  for (const Line& line : lines) {
    painter.setPen(pen_for(line.stroke));
    painter.drawPolyline(polygon(line.points));
  }

  for (const Circle& circle : circles) {
    painter.setPen(pen_for(circle.stroke));
    painter.drawEllipse(to_qt(circle.centre), circle.radius, circle.radius);
  }

  // A painter that flattens the sketch has no size to letter it at.
  if (painter.transform().isInvertible()) {
    Lettering lettering(painter);
    for (const Dimension& dimension : dimensions) paint_dimension(painter, lettering, dimension);
    paint_note(painter, lettering, note);
  }

  painter.restore();
}

}  // namespace loadcalc::ui
