#pragma once
// The schematic's shapes drawn with Qt.

class QPainter;

namespace loadcalc::ui {

// Paints the whole sketch in sketch units at the painter's origin; the caller sets the scale.
void paint_sketch(QPainter& painter);

}  // namespace loadcalc::ui
