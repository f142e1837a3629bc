#pragma once

#include <QPixmap>
#include <QProxyStyle>

namespace loadcalc::ui {

// Fusion, with the change that the window's fixed layout needs for its frames.
//
// The control table places every control inside a frame from the frame's outer corner,
// the caption band included, on the assumption that the frame's line runs through the middle of
// its caption. Fusion draws the caption above a line that starts a whole text line further down,
// where it crosses the controls placed 16 pixels below the frame's top. Here the line runs through
// the caption and breaks around it; the line itself is Fusion's.
class WindowStyle : public QProxyStyle {
  Q_OBJECT

 public:
  // Takes ownership of `base`.
  explicit WindowStyle(QStyle* base);

  QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl sub,
                       const QWidget* widget) const override;
  void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                          QPainter* painter, const QWidget* widget) const override;

 private:
  QPixmap frame_image_;
};

}  // namespace loadcalc::ui
