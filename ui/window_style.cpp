#include "ui/window_style.h"

#include <qdrawutil.h>
#include <QPainter>
#include <QStyleOptionGroupBox>

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

}  // namespace

// Fusion's own frame image: its primitive would place the line a text line below the rectangle's
// top, under the caption, so the image is drawn here instead.
WindowStyle::WindowStyle(QStyle* base)
    : QProxyStyle(base),
      frame_image_(
          QStringLiteral(":/qt-project.org/styles/commonstyle/images/fusion_groupbox.png")) {}

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
    if (!frame_image_.isNull()) {
      qDrawBorderPixmap(painter, frame_rect(*box), QMargins(6, 6, 6, 6), frame_image_);
    } else {
      painter->setPen(box->palette.color(QPalette::Mid));
      painter->drawRect(frame_rect(*box).adjusted(1, 1, -2, -2));
    }
    painter->restore();
  }
  QStyleOptionGroupBox caption_only(*box);
  caption_only.subControls &= ~SC_GroupBoxFrame;
  QProxyStyle::drawComplexControl(control, &caption_only, painter, widget);
}

}  // namespace loadcalc::ui
