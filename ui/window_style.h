#pragma once

#include <QColor>
#include <QProxyStyle>

namespace loadcalc::ui {

// Fusion, with the changes that the window's fixed layout needs for its frames and fields.
//
// Frames: the control table places every control inside a frame from the frame's outer corner,
// the caption band included, on the assumption that the frame's line runs through the middle of
// its caption. Fusion draws the caption above a line that starts a whole text line further down,
// where it crosses the controls placed 16 pixels below the frame's top. Here the line runs through
// the caption and breaks around it, in a grey that stands out from the window at 3 : 1.
//
// Fields: the table's fields are 18 pixels high, less than the line height of the CJK font. Fusion
// centres that whole line box, which puts the digits low, and leaves them close to the left
// border. Here a field's text has an inner margin at the sides and its digits stand in the middle
// of the field. Under a dark palette Fusion's field border, derived from the window colour, all
// but vanishes against the field; it is drawn in a colour that can be seen.
class WindowStyle : public QProxyStyle {
  Q_OBJECT

 public:
  // Takes ownership of `base`.
  explicit WindowStyle(QStyle* base);

  QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl sub,
                       const QWidget* widget) const override;
  void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                          QPainter* painter, const QWidget* widget) const override;
  QRect subElementRect(SubElement element, const QStyleOption* option,
                       const QWidget* widget) const override;
  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;
};

// The red of a warning written in a list (a refused entry's message): the usual dark red on a
// light field, lightened toward the text colour on a dark one until it reads at 4.5 : 1.
QColor warning_text_color(const QPalette& palette);

}  // namespace loadcalc::ui
