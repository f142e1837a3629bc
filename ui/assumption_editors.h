#pragma once
// Editors of what an entry states in place of a bare figure: a wall's layers, its openings, a
// stair's materials and extra loads. Each keeps the texts exactly as typed (the members of
// `Assumptions`) and shows beside them what they come to, computed as the sheet computes it, with
// the load code's row that each figure stands on. A material or type picked from the list fills
// the row's figure with the code's value (its upper value where the code gives a range); a figure
// may always be typed over.

#include <QWidget>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "calc/assumptions.h"
#include "calc/number.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QVBoxLayout;

namespace loadcalc::ui {

// A table of rows with 添加, 删除, 上移 and 下移 under it. The subclass keeps the rows' texts
// and makes each row's cells; this keeps the table in step with them.
class RowsEditor : public QWidget {
  Q_OBJECT

 public:
  QTableWidget* table() const { return table_; }
  // 添加: a new row after the current one, or at the end when none is current.
  void add_row();
  // 删除, 上移, 下移 on the current row.
  void remove_row();
  void move_row(int by);
  int row_count() const;

 signals:
  // After every edit of a text and every change of the list.
  void changed();

 protected:
  RowsEditor(const QStringList& headers, std::size_t max_rows, QWidget* parent);
  ~RowsEditor() override;

  virtual std::size_t size() const = 0;
  virtual void insert_blank(std::size_t at) = 0;
  virtual void erase(std::size_t at) = 0;
  virtual void swap_rows(std::size_t a, std::size_t b) = 0;
  // Makes the widgets of a row's editable cells.
  virtual void make_cells(int row) = 0;
  // Writes a row's texts into its widgets, without their edits being reported back.
  virtual void load_row(int row) = 0;
  // The computed cells of every row, and whatever the subclass shows below the table.
  virtual void refresh() = 0;

  // Makes every row's cells afresh from the texts; after the list changed.
  void rebuild();
  // After a text was stored: the computed cells again, then changed().
  void edited();
  // A field in a cell whose every edit is stored by `store`.
  QLineEdit* text_cell(int row, int column, const QString& placeholder,
                       std::function<void(std::string)> store);
  // A cell that only shows; `warning` in the warning's red.
  void show_cell(int row, int column, const QString& text, bool warning = false);
  template <class W>
  W* cell(int row, int column) const {
    return static_cast<W*>(cell_widget(row, column));
  }
  QVBoxLayout* column() const { return column_; }

 private:
  QWidget* cell_widget(int row, int column) const;
  void follow_focus(QWidget* now);
  void update_buttons();

  QTableWidget* table_;
  QVBoxLayout* column_;
  QPushButton* add_;
  QPushButton* remove_;
  QPushButton* up_;
  QPushButton* down_;
  std::size_t max_rows_;
  // The application's focus signal, let go before the subclass is gone: a widget being destroyed
  // hides, and its hiding moves the focus.
  QMetaObject::Connection focus_followed_;
};

// A wall's layers, in order: a material (picked from the load code's masonry, concretes, mortars
// and finishes, or typed), a thickness in mm and a unit weight in kN/m³, or an area weight in
// kN/m² for a finish; each layer's weight g_i, its source, and g_w, their sum.
class WallLayersEditor : public RowsEditor {
  Q_OBJECT

 public:
  explicit WallLayersEditor(QWidget* parent = nullptr);

  void set_layers(std::vector<WallLayerText> layers);
  const std::vector<WallLayerText>& layers() const { return rows_; }
  // g_w as the sheet computes it.
  double wall_weight() const;
  // The picked row's name, its way of weighing and its default figure, as the list does.
  void pick_material(int row, std::string_view name);

  enum Column {
    col_material,
    col_basis,
    col_thickness,
    col_weight,
    col_unit,
    col_layer_weight,
    col_source
  };

 protected:
  std::size_t size() const override { return rows_.size(); }
  void insert_blank(std::size_t at) override;
  void erase(std::size_t at) override;
  void swap_rows(std::size_t a, std::size_t b) override;
  void make_cells(int row) override;
  void load_row(int row) override;
  void refresh() override;

 private:
  std::vector<WallLayerText> rows_;
  QLabel* sum_;
};

// A wall's openings: width and height in m, a count, a weight in kN/m² (typed, or a door or
// window type picked from the load code's table); each opening's area and weight, and the totals.
class OpeningsEditor : public RowsEditor {
  Q_OBJECT

 public:
  explicit OpeningsEditor(QWidget* parent = nullptr);

  void set_openings(std::vector<OpeningText> openings);
  const std::vector<OpeningText>& openings() const { return rows_; }
  // Σ count × width × height, in m².
  double area() const;
  // The type's name and its default weight; an empty name drops the type, keeping the weight.
  void pick_type(int row, std::string_view name);

  enum Column {
    col_type,
    col_width,
    col_height,
    col_count,
    col_weight,
    col_area,
    col_total,
    col_source
  };

 protected:
  std::size_t size() const override { return rows_.size(); }
  void insert_blank(std::size_t at) override;
  void erase(std::size_t at) override;
  void swap_rows(std::size_t a, std::size_t b) override;
  void make_cells(int row) override;
  void load_row(int row) override;
  void refresh() override;

 private:
  std::vector<OpeningText> rows_;
  QLabel* sum_;
};

// A stair's extra loads per m² of plan: by name, a weight per m², or a weight per metre along the
// flight over the flight's width (栏杆自重).
class ExtraLoadsEditor : public RowsEditor {
  Q_OBJECT

 public:
  explicit ExtraLoadsEditor(QWidget* parent = nullptr);

  void set_loads(std::vector<ExtraLoadText> loads);
  const std::vector<ExtraLoadText>& loads() const { return rows_; }

  enum Column { col_name, col_basis, col_weight, col_unit, col_flight_width, col_per_area };

 protected:
  std::size_t size() const override { return rows_.size(); }
  void insert_blank(std::size_t at) override;
  void erase(std::size_t at) override;
  void swap_rows(std::size_t a, std::size_t b) override;
  void make_cells(int row) override;
  void load_row(int row) override;
  void refresh() override;

 private:
  std::vector<ExtraLoadText> rows_;
};

// A stair's materials: the concrete's unit weight and the finish under the slab, each either
// stated or left to the calculator's figure (25 kN/m³ and 石灰粗砂粉刷 0.34 kN/m², the table's
// defaults), and the extra loads.
class StairMaterialsEditor : public QWidget {
  Q_OBJECT

 public:
  explicit StairMaterialsEditor(QWidget* parent = nullptr);

  // The stair's members of `a`; the beam's are not looked at.
  void set_assumptions(const Assumptions& a);
  // Writes the stair's members into `a`, leaving the beam's as they are.
  void write_to(Assumptions& a) const;

  QCheckBox* concrete_stated() const { return concrete_stated_; }
  QLineEdit* concrete() const { return concrete_; }
  QCheckBox* soffit_stated() const { return soffit_stated_; }
  QComboBox* soffit_material() const { return soffit_material_; }
  QLineEdit* soffit_weight() const { return soffit_weight_; }
  ExtraLoadsEditor* extras() const { return extras_; }

 signals:
  void changed();

 private:
  void refresh();

  QCheckBox* concrete_stated_;
  QLineEdit* concrete_;
  QLabel* concrete_source_;
  QCheckBox* soffit_stated_;
  QComboBox* soffit_material_;
  QLineEdit* soffit_weight_;
  QLabel* soffit_source_;
  ExtraLoadsEditor* extras_;
};

}  // namespace loadcalc::ui
