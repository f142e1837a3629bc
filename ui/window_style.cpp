#include "ui/window_style.h"

#include <QPainter>
#include <QStyleOptionGroupBox>
#include <algorithm>
#include <cmath>

namespace loadcalc::ui {

namespace {

// Where the caption starts, and the gap the line leaves on each side of it.
constexpr int caption_indent = 8;
constexpr int caption_gap = 2;

// Only a plain titled frame is drawn differently; a checkable one keeps Fusion's layout.
const QStyleOptionGroupBox* captioned_frame(QStyle::ComplexControl control,
                                            const QStyleOptionComplex* option) {
  if (control != QStyle::CC_GroupBox) return nullptr;
  const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
  if (!box || box->text.isEmpty() || (box->subControls & QStyle::SC_GroupBoxCheckBox))
    return nullptr;
  return box;
}

// The caption's ink starts one row below the frame's top: the font's line box has room above
// Chinese characters that would otherwise push the caption down onto the controls below.
QRect caption_rect(const QStyleOptionGroupBox& box) {
  const QFontMetrics& fm = box.fontMetrics;
  const int baseline = 1 - fm.tightBoundingRect(box.text).top();
  const QRect caption(caption_indent, baseline - fm.ascent(), fm.horizontalAdvance(box.text) + 1,
                      fm.height());
  return QStyle::visualRect(box.direction, box.rect, caption);
}

// The frame's line runs through the middle of the caption's ink; Fusion's frame image leaves its
// own top row clear, so the rectangle starts one row higher.
QRect frame_rect(const QStyleOptionGroupBox& box) {
  const int middle = 1 + box.fontMetrics.tightBoundingRect(box.text).height() / 2;
  QRect frame = box.rect;
  frame.setTop(middle - 1);
  return frame;
}

// Extra room between a field's border and its text, on each side.
constexpr int field_side_margin = 2;

// The rectangle a line edit centres its text line in (and clips to). A line edit places its line
// box at top + (height - line height + 1) / 2, truncated; the line box of the CJK font is taller
// than the field, so the rectangle is narrowed until that places the digits' ink in the middle
// of the field, and stays inside the border so that a selection never paints over it.
QRect field_text_rect(const QRect& inside, const QRect& field, const QFontMetrics& fm) {
  const QRect digits = fm.tightBoundingRect(QStringLiteral("0123456789"));
  const int baseline = field.top() + (field.height() - digits.top() - digits.bottom()) / 2;
  const int wanted = baseline - fm.ascent();
  const int line = fm.height();
  QRect r = inside;
  const auto placed = [&] { return r.top() + (r.height() - line + 1) / 2; };
  while (placed() > wanted && r.height() > 2) r.setBottom(r.bottom() - 2);
  while (placed() < wanted && r.height() > 2) r.setTop(r.top() + 1);
  // Nothing of the digits may be clipped: keep the plain rectangle rather than cut them.
  if (placed() != wanted || baseline + digits.top() < r.top() ||
      baseline + digits.bottom() > r.bottom())
    return inside;
  return r;
}

// WCAG's relative luminance of an sRGB colour.
double luminance(const QColor& c) {
  const auto linear = [](double v) {
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
}

double contrast(const QColor& a, const QColor& b) {
  const double la = luminance(a), lb = luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// `wanted` moved toward `toward` just far enough to stand out from `background` at `ratio`.
QColor mixed_until(const QColor& wanted, const QColor& toward, const QColor& background,
                   double ratio) {
  for (int step = 0; step <= 32; ++step) {
    const double t = step / 32.0;
    const QColor mixed =
        QColor::fromRgbF(float(wanted.redF() + (toward.redF() - wanted.redF()) * t),
                         float(wanted.greenF() + (toward.greenF() - wanted.greenF()) * t),
                         float(wanted.blueF() + (toward.blueF() - wanted.blueF()) * t));
    if (contrast(mixed, background) >= ratio) return mixed;
  }
  return toward;
}

// The frame's line: the window colour moved toward the text colour just far enough to stand out
// at 3 : 1 (WCAG's least for the outline of a control), so that it stays a quiet grey line in a
// light and in a dark palette alike. The margin keeps the edge pixels of a line drawn at a
// fractional scale above it too.
QColor frame_color(const QPalette& palette) {
  const QColor window = palette.color(QPalette::Window);
  return mixed_until(window, palette.color(QPalette::WindowText), window, 3.2);
}

bool is_dark(const QPalette& palette) {
  return palette.color(QPalette::Base).lightness() < palette.color(QPalette::Text).lightness();
}

}  // namespace

WindowStyle::WindowStyle(QStyle* base) : QProxyStyle(base) {}

QRect WindowStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                                  SubControl sub, const QWidget* widget) const {
  const QStyleOptionGroupBox* box = captioned_frame(control, option);
  if (!box) return QProxyStyle::subControlRect(control, option, sub, widget);
  switch (sub) {
    case SC_GroupBoxLabel:
      return caption_rect(*box);
    case SC_GroupBoxFrame:
      return frame_rect(*box);
    case SC_GroupBoxContents:
      return box->rect.adjusted(3, box->fontMetrics.height(), -3, -3);
    default:
      return QProxyStyle::subControlRect(control, option, sub, widget);
  }
}

void WindowStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                     QPainter* painter, const QWidget* widget) const {
  const QStyleOptionGroupBox* box = captioned_frame(control, option);
  if (!box) {
    QProxyStyle::drawComplexControl(control, option, painter, widget);
    return;
  }
  if (box->subControls & SC_GroupBoxFrame) {
    painter->save();
    QRegion outside_caption(box->rect);
    outside_caption -= caption_rect(*box).adjusted(-caption_gap, 0, caption_gap, 0);
    painter->setClipRegion(outside_caption, Qt::IntersectClip);
    // Fusion's frame image is too faint against the window (about 1.2 : 1); its shape is kept:
    // one line with rounded corners, its top row one below the rectangle's.
    painter->setRenderHint(QPainter::Antialiasing, true);
    painter->setPen(QPen(frame_color(box->palette), 1));
    painter->setBrush(Qt::NoBrush);
    painter->drawRoundedRect(QRectF(frame_rect(*box)).adjusted(0.5, 1.5, -0.5, -0.5), 2, 2);
    painter->restore();
  }
  QStyleOptionGroupBox caption_only(*box);
  caption_only.subControls &= ~SC_GroupBoxFrame;
  QProxyStyle::drawComplexControl(control, &caption_only, painter, widget);
}

QRect WindowStyle::subElementRect(SubElement element, const QStyleOption* option,
                                  const QWidget* widget) const {
  QRect r = QProxyStyle::subElementRect(element, option, widget);
  if (element != SE_LineEditContents || !option) return r;
  r.adjust(field_side_margin, 0, -field_side_margin, 0);
  return field_text_rect(r, option->rect, option->fontMetrics);
}

void WindowStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                QPainter* painter, const QWidget* widget) const {
  QProxyStyle::drawPrimitive(element, option, painter, widget);
  if (element != PE_FrameLineEdit || !is_dark(option->palette) || (option->state & State_HasFocus))
    return;
  // Over Fusion's outline, with its rounded corners: halfway between the field and its text.
  const QColor base = option->palette.color(QPalette::Base);
  const QColor text = option->palette.color(QPalette::Text);
  const QColor border((base.red() * 3 + text.red() * 2) / 5,
                      (base.green() * 3 + text.green() * 2) / 5,
                      (base.blue() * 3 + text.blue() * 2) / 5);
  painter->save();
  painter->setRenderHint(QPainter::Antialiasing, true);
  painter->setPen(border);
  painter->setBrush(Qt::NoBrush);
  painter->drawRoundedRect(QRectF(option->rect).adjusted(0.5, 0.5, -0.5, -0.5), 2, 2);
  painter->restore();
}

QColor warning_text_color(const QPalette& palette) {
  // A little above 4.5 : 1, WCAG's least for text, so that rounding to 8-bit channels keeps it.
  return mixed_until(QColor(0xb0, 0x00, 0x20), palette.color(QPalette::Text),
                     palette.color(QPalette::Base), 4.6);
}

}  // namespace loadcalc::ui
