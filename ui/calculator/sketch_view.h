#pragma once

#include <QFrame>

namespace loadcalc::ui {

// Picture1: the schematic at its natural size, pinned to the top-left inside a sunken border.
// A larger box leaves empty background to the right; a smaller one cuts the sketch off.
class SketchView : public QFrame {
  Q_OBJECT

 public:
  explicit SketchView(QWidget* parent = nullptr);

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace loadcalc::ui
