#pragma once
// What the calculator's field menus open to work a figure out rather than type it: the wall's
// weight from its layers, a door's or window's weight from the load code's table. A dialog yields
// one figure; the window writes it into its field as typed text.

#include <QDialog>
#include <string_view>

class QLabel;
class QTreeWidget;

namespace loadcalc::ui {

class WallLayersEditor;

class FigureDialog : public QDialog {
  Q_OBJECT

 public:
  // The figure to write on OK.
  virtual double figure() const = 0;

 protected:
  using QDialog::QDialog;
};

// 按墙体构造计算: the wall's layers; the figure is their sum g_w.
class WallBuildUpDialog : public FigureDialog {
  Q_OBJECT

 public:
  explicit WallBuildUpDialog(QWidget* parent = nullptr);
  double figure() const override;
  WallLayersEditor* editor() const { return editor_; }

 private:
  WallLayersEditor* editor_;
};

// 按门窗类型选取: the load code's doors and windows; the figure is the chosen one's default.
class OpeningTypeDialog : public FigureDialog {
  Q_OBJECT

 public:
  explicit OpeningTypeDialog(QWidget* parent = nullptr);
  double figure() const override;
  // Makes the type of that name the chosen one; false when the table has none.
  bool choose(std::string_view name);
  QTreeWidget* list() const { return list_; }

 private:
  QTreeWidget* list_;
};

}  // namespace loadcalc::ui
