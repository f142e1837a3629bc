#include "ui/assumption_editors.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <array>
#include <charconv>
#include <cmath>
#include <initializer_list>
#include <utility>

#include "calc/materials.h"
#include "calc/number.h"
#include "ui/qt_text.h"
#include "ui/window_style.h"

namespace loadcalc::ui {

namespace {

QString unit_text(WeightBasis b) {
  return qstring(unit_of(b));
}

// A row of the table as the drop-down shows it: the name, and as tooltip what the code says.
void add_material_item(QComboBox* combo, const Material& m) {
  combo->addItem(qstring(m.name), qstring(m.name));
  QString tip = qstring(citation_text(m)) + QStringLiteral("：") + qstring(range_text(m));
  if (!m.note.empty()) tip += QStringLiteral("（") + qstring(m.note) + QStringLiteral("）");
  combo->setItemData(combo->count() - 1, tip, Qt::ToolTipRole);
}

// The materials of these groups, a separator between groups, in the table's order.
void add_materials(QComboBox* combo, std::initializer_list<MaterialGroup> groups) {
  bool first = true;
  for (MaterialGroup g : groups) {
    if (!first) combo->insertSeparator(combo->count());
    first = false;
    for (const Material& m : materials)
      if (m.group == g) add_material_item(combo, m);
  }
}

// A drop-down in a table's cell. The wheel turning over it while the table is scrolled would
// pick another material for the row under the mouse; it picks only in the drop-down the user is
// in, and otherwise scrolls the table.
class CellCombo final : public QComboBox {
 protected:
  void wheelEvent(QWheelEvent* event) override {
    if (hasFocus())
      QComboBox::wheelEvent(event);
    else
      event->ignore();
  }
};

// Makes `combo` an editable drop-down: a name from the list, or any text typed.
QComboBox* material_combo(QComboBox* combo, std::initializer_list<MaterialGroup> groups) {
  combo->setEditable(true);
  // Enter keeps what was typed as the row's text; it does not grow the list.
  combo->setInsertPolicy(QComboBox::NoInsert);
  add_materials(combo, groups);
  return combo;
}

void set_combo_text(QComboBox* combo, const std::string& text) {
  const QSignalBlocker block(combo);
  combo->setCurrentIndex(combo->findData(qstring(text)));
  combo->setEditText(qstring(text));
}

void set_field_text(QLineEdit* field, const std::string& text) {
  const QSignalBlocker block(field);
  if (field->text() != qstring(text)) field->setText(qstring(text));
}

// A figure's source as the sheet prints it; outside the code's range in the warning's red.
void show_source(QLabel* label, const FigureSource& s) {
  label->setText(qstring(source_text(s)));
  QPalette p = label->palette();
  p.setColor(QPalette::WindowText, s.outside_range
                                       ? warning_text_color(QApplication::palette())
                                       : QApplication::palette().color(QPalette::WindowText));
  label->setPalette(p);
}

template <class T>
void swap_at(std::vector<T>& v, std::size_t a, std::size_t b) {
  std::swap(v[a], v[b]);
}

}  // namespace

// ---- RowsEditor ----

RowsEditor::RowsEditor(const QStringList& headers, std::size_t max_rows, QWidget* parent)
    : QWidget(parent),
      table_(new QTableWidget(0, static_cast<int>(headers.size()), this)),
      column_(new QVBoxLayout(this)),
      add_(new QPushButton(QStringLiteral("添加"), this)),
      remove_(new QPushButton(QStringLiteral("删除"), this)),
      up_(new QPushButton(QStringLiteral("上移"), this)),
      down_(new QPushButton(QStringLiteral("下移"), this)),
      max_rows_(max_rows) {
  table_->setHorizontalHeaderLabels(headers);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  table_->horizontalHeader()->setStretchLastSection(true);
  table_->setWordWrap(false);
  column_->setContentsMargins(0, 0, 0, 0);
  column_->addWidget(table_);
  auto* buttons = new QHBoxLayout;
  for (QPushButton* b : {add_, remove_, up_, down_}) {
    b->setAutoDefault(false);
    buttons->addWidget(b);
  }
  buttons->addStretch();
  column_->addLayout(buttons);
  connect(add_, &QPushButton::clicked, this, &RowsEditor::add_row);
  connect(remove_, &QPushButton::clicked, this, &RowsEditor::remove_row);
  connect(up_, &QPushButton::clicked, this, [this] { move_row(-1); });
  connect(down_, &QPushButton::clicked, this, [this] { move_row(1); });
  connect(table_, &QTableWidget::currentCellChanged, this, &RowsEditor::update_buttons);
  // Typing in a cell's field makes its row the current one, as clicking a shown cell does.
  focus_followed_ = connect(qApp, &QApplication::focusChanged, this,
                            [this](QWidget*, QWidget* now) { follow_focus(now); });
  // The buttons are set by the subclass's first rebuild(): its rows do not exist yet.
}

RowsEditor::~RowsEditor() {
  disconnect(focus_followed_);
}

int RowsEditor::row_count() const {
  return table_->rowCount();
}

void RowsEditor::add_row() {
  if (size() >= max_rows_) return;
  const int current = table_->currentRow();
  const std::size_t at = current < 0 ? size() : static_cast<std::size_t>(current) + 1;
  insert_blank(at);
  rebuild();
  table_->setCurrentCell(static_cast<int>(at), 0);
  if (QWidget* w = cell_widget(static_cast<int>(at), 0)) w->setFocus();
  emit changed();
}

void RowsEditor::remove_row() {
  const int current = table_->currentRow();
  if (current < 0 || static_cast<std::size_t>(current) >= size()) return;
  erase(static_cast<std::size_t>(current));
  rebuild();
  if (size() > 0) table_->setCurrentCell(std::min(current, static_cast<int>(size()) - 1), 0);
  emit changed();
}

void RowsEditor::move_row(int by) {
  const int current = table_->currentRow();
  const int to = current + by;
  if (current < 0 || to < 0 || static_cast<std::size_t>(to) >= size()) return;
  swap_rows(static_cast<std::size_t>(current), static_cast<std::size_t>(to));
  rebuild();
  table_->setCurrentCell(to, 0);
  emit changed();
}

void RowsEditor::rebuild() {
  table_->setRowCount(0);
  table_->setRowCount(static_cast<int>(size()));
  for (int row = 0; row < static_cast<int>(size()); ++row) {
    make_cells(row);
    load_row(row);
  }
  refresh();
  update_buttons();
}

void RowsEditor::edited() {
  refresh();
  emit changed();
}

QLineEdit* RowsEditor::text_cell(int row, int column, const QString& placeholder,
                                 std::function<void(std::string)> store) {
  auto* field = new QLineEdit;
  field->setFrame(false);
  field->setPlaceholderText(placeholder);
  connect(field, &QLineEdit::textEdited, this, [this, store = std::move(store)](const QString& t) {
    store(t.toStdString());
    edited();
  });
  table_->setCellWidget(row, column, field);
  return field;
}

void RowsEditor::show_cell(int row, int column, const QString& text, bool warning) {
  QTableWidgetItem* item = table_->item(row, column);
  if (!item) {
    item = new QTableWidgetItem;
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    table_->setItem(row, column, item);
  }
  item->setText(text);
  item->setToolTip(text);
  if (warning)
    item->setForeground(warning_text_color(table_->palette()));
  else
    item->setData(Qt::ForegroundRole, {});
}

QWidget* RowsEditor::cell_widget(int row, int column) const {
  return table_->cellWidget(row, column);
}

void RowsEditor::follow_focus(QWidget* now) {
  QWidget* viewport = table_->viewport();
  if (!now || !viewport->isAncestorOf(now)) return;
  const QModelIndex at = table_->indexAt(now->mapTo(viewport, now->rect().center()));
  if (at.isValid() && at.row() != table_->currentRow())
    table_->setCurrentCell(at.row(), at.column());
}

void RowsEditor::update_buttons() {
  const int current = table_->currentRow();
  const bool on_row = current >= 0 && static_cast<std::size_t>(current) < size();
  add_->setEnabled(size() < max_rows_);
  remove_->setEnabled(on_row);
  up_->setEnabled(on_row && current > 0);
  down_->setEnabled(on_row && static_cast<std::size_t>(current) + 1 < size());
}

// ---- WallLayersEditor ----

namespace {

constexpr std::array basis_names{"厚度 × 容重", "面荷载"};

WeightBasis weight_basis(LayerBasis b) {
  return b == LayerBasis::thickness ? WeightBasis::volume : WeightBasis::area;
}

}  // namespace

WallLayersEditor::WallLayersEditor(QWidget* parent)
    : RowsEditor({QStringLiteral("材料"), QStringLiteral("计法"), QStringLiteral("厚度（mm）"),
                  QStringLiteral("容重或面荷载"), QStringLiteral("单位"),
                  QStringLiteral("本层 g_i（kN/m²）"), QStringLiteral("依据")},
                 max_wall_layers, parent),
      sum_(new QLabel(this)) {
  sum_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  sum_->setWordWrap(true);
  column()->insertWidget(1, sum_);
  QHeaderView* header = table()->horizontalHeader();
  for (auto [c, w] : {std::pair{col_material, 190},
                      {col_basis, 110},
                      {col_thickness, 80},
                      {col_weight, 100},
                      {col_unit, 60},
                      {col_layer_weight, 120}})
    header->resizeSection(c, w);
  rebuild();
}

void WallLayersEditor::set_layers(std::vector<WallLayerText> layers) {
  rows_ = std::move(layers);
  rebuild();
}

double WallLayersEditor::wall_weight() const {
  return build_up(rows_).wall_weight;
}

void WallLayersEditor::insert_blank(std::size_t at) {
  rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(at), WallLayerText{});
}
void WallLayersEditor::erase(std::size_t at) {
  rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(at));
}
void WallLayersEditor::swap_rows(std::size_t a, std::size_t b) {
  swap_at(rows_, a, b);
}

void WallLayersEditor::pick_material(int row, std::string_view name) {
  WallLayerText& layer = rows_[static_cast<std::size_t>(row)];
  layer.material = std::string(name);
  if (const Material* m = find_material(name)) {
    layer.basis = basis_of(*m) == WeightBasis::area ? LayerBasis::area : LayerBasis::thickness;
    if (layer.basis == LayerBasis::area) layer.thickness.clear();
    layer.weight = shortest_figure(default_weight(*m));
  }
  load_row(row);
  edited();
}

void WallLayersEditor::make_cells(int row) {
  const auto i = static_cast<std::size_t>(row);
  auto* combo = material_combo(new CellCombo, {MaterialGroup::masonry, MaterialGroup::concrete,
                                               MaterialGroup::mortar, MaterialGroup::finish});
  combo->lineEdit()->setPlaceholderText(QStringLiteral("选取或输入材料"));
  connect(combo, &QComboBox::editTextChanged, this, [this, i](const QString& t) {
    rows_[i].material = t.toStdString();
    edited();
  });
  connect(combo, &QComboBox::activated, this, [this, row, combo](int index) {
    pick_material(row, combo->itemData(index).toString().toStdString());
  });
  table()->setCellWidget(row, col_material, combo);

  auto* how = new CellCombo;
  for (const char* name : basis_names) how->addItem(QString::fromUtf8(name));
  connect(how, &QComboBox::activated, this, [this, row, i](int index) {
    rows_[i].basis = index == 0 ? LayerBasis::thickness : LayerBasis::area;
    if (rows_[i].basis == LayerBasis::area) rows_[i].thickness.clear();
    load_row(row);
    edited();
  });
  table()->setCellWidget(row, col_basis, how);

  text_cell(row, col_thickness, {},
            [this, i](std::string t) { rows_[i].thickness = std::move(t); });
  text_cell(row, col_weight, {}, [this, i](std::string t) { rows_[i].weight = std::move(t); });
}

void WallLayersEditor::load_row(int row) {
  const WallLayerText& layer = rows_[static_cast<std::size_t>(row)];
  set_combo_text(cell<QComboBox>(row, col_material), layer.material);
  {
    auto* how = cell<QComboBox>(row, col_basis);
    const QSignalBlocker block(how);
    how->setCurrentIndex(layer.basis == LayerBasis::thickness ? 0 : 1);
  }
  auto* t = cell<QLineEdit>(row, col_thickness);
  set_field_text(t, layer.thickness);
  t->setEnabled(layer.basis == LayerBasis::thickness);
  set_field_text(cell<QLineEdit>(row, col_weight), layer.weight);
  show_cell(row, col_unit, unit_text(weight_basis(layer.basis)));
}

void WallLayersEditor::refresh() {
  const BuildUp b = build_up(rows_);
  QStringList terms;
  for (std::size_t i = 0; i < b.layers.size(); ++i) {
    const LayerLine& line = b.layers[i];
    const int row = static_cast<int>(i);
    show_cell(row, col_layer_weight, qstring(field_figure(line.weight)));
    show_cell(row, col_source, qstring(source_text(line.source)), line.source.outside_range);
    terms << qstring(field_figure(line.weight));
  }
  const QString total = qstring(field_figure(b.wall_weight));
  if (terms.isEmpty())
    sum_->setText(QStringLiteral("墙自重 g_w = 0 kN/m²（尚无构造层）"));
  else if (terms.size() == 1)
    sum_->setText(QStringLiteral("墙自重 g_w = %1 kN/m²").arg(total));
  else
    sum_->setText(
        QStringLiteral("墙自重 g_w = %1 = %2 kN/m²").arg(terms.join(QStringLiteral(" + ")), total));
}

// ---- OpeningsEditor ----

OpeningsEditor::OpeningsEditor(QWidget* parent)
    : RowsEditor({QStringLiteral("门窗类型"), QStringLiteral("宽（m）"), QStringLiteral("高（m）"),
                  QStringLiteral("樘数"), QStringLiteral("面荷载（kN/m²）"),
                  QStringLiteral("面积（m²）"), QStringLiteral("重（kN）"), QStringLiteral("依据")},
                 max_openings, parent),
      sum_(new QLabel(this)) {
  sum_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  sum_->setWordWrap(true);
  column()->insertWidget(1, sum_);
  QHeaderView* header = table()->horizontalHeader();
  for (auto [c, w] : {std::pair{col_type, 130},
                      {col_width, 70},
                      {col_height, 70},
                      {col_count, 55},
                      {col_weight, 115},
                      {col_area, 85},
                      {col_total, 75}})
    header->resizeSection(c, w);
  rebuild();
}

void OpeningsEditor::set_openings(std::vector<OpeningText> openings) {
  rows_ = std::move(openings);
  rebuild();
}

double OpeningsEditor::area() const {
  return openings_table(rows_).area;
}

void OpeningsEditor::insert_blank(std::size_t at) {
  // Built whole: GCC 12 under the sanitizers misreads an assignment of "1" into a fresh member.
  OpeningText blank{"", "", "1", "", ""};
  rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(at), std::move(blank));
}
void OpeningsEditor::erase(std::size_t at) {
  rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(at));
}
void OpeningsEditor::swap_rows(std::size_t a, std::size_t b) {
  swap_at(rows_, a, b);
}

void OpeningsEditor::pick_type(int row, std::string_view name) {
  OpeningText& o = rows_[static_cast<std::size_t>(row)];
  o.type = std::string(name);
  if (const Material* m = find_material(name); m && m->group == MaterialGroup::door_window)
    o.weight = shortest_figure(default_weight(*m));
  load_row(row);
  edited();
}

void OpeningsEditor::make_cells(int row) {
  const auto i = static_cast<std::size_t>(row);
  // Only the table's types: a typed figure needs no name, and the sheet cites the type's row.
  auto* combo = new CellCombo;
  combo->addItem(QStringLiteral("（不选）"), QString());
  combo->insertSeparator(1);
  add_materials(combo, {MaterialGroup::door_window});
  // A type another program wrote stays as written.
  const std::string& stated = rows_[i].type;
  if (!stated.empty() && combo->findData(qstring(stated)) < 0)
    combo->addItem(qstring(stated), qstring(stated));
  connect(combo, &QComboBox::activated, this, [this, row, combo](int index) {
    pick_type(row, combo->itemData(index).toString().toStdString());
  });
  table()->setCellWidget(row, col_type, combo);
  text_cell(row, col_width, {}, [this, i](std::string t) { rows_[i].width = std::move(t); });
  text_cell(row, col_height, {}, [this, i](std::string t) { rows_[i].height = std::move(t); });
  text_cell(row, col_count, {}, [this, i](std::string t) { rows_[i].count = std::move(t); });
  text_cell(row, col_weight, {}, [this, i](std::string t) { rows_[i].weight = std::move(t); });
}

void OpeningsEditor::load_row(int row) {
  const OpeningText& o = rows_[static_cast<std::size_t>(row)];
  {
    auto* combo = cell<QComboBox>(row, col_type);
    const QSignalBlocker block(combo);
    combo->setCurrentIndex(combo->findData(qstring(o.type)));
  }
  set_field_text(cell<QLineEdit>(row, col_width), o.width);
  set_field_text(cell<QLineEdit>(row, col_height), o.height);
  set_field_text(cell<QLineEdit>(row, col_count), o.count);
  set_field_text(cell<QLineEdit>(row, col_weight), o.weight);
}

void OpeningsEditor::refresh() {
  const OpeningsTable t = openings_table(rows_);
  for (std::size_t i = 0; i < t.rows.size(); ++i) {
    const OpeningLine& line = t.rows[i];
    const int row = static_cast<int>(i);
    show_cell(row, col_area, qstring(field_figure(line.area)));
    show_cell(row, col_total, qstring(field_figure(line.weight)));
    show_cell(row, col_source, qstring(source_text(line.source)), line.source.outside_range);
  }
  if (t.rows.empty())
    sum_->setText(QStringLiteral("无门窗洞口：墙按满墙计算。"));
  else
    sum_->setText(QStringLiteral("洞口总面积 A_o = Σ 樘数 × 宽 × 高 = %1 m²；门窗总重 G_o = %2 kN")
                      .arg(qstring(field_figure(t.area)), qstring(field_figure(t.weight))));
}

// ---- ExtraLoadsEditor ----

namespace {

constexpr std::array extra_basis_names{"面荷载", "线荷载 ÷ 梯段宽"};

}  // namespace

ExtraLoadsEditor::ExtraLoadsEditor(QWidget* parent)
    : RowsEditor(
          {QStringLiteral("名称"), QStringLiteral("计法"), QStringLiteral("荷载"),
           QStringLiteral("单位"), QStringLiteral("梯段宽（m）"), QStringLiteral("折算（kN/m²）")},
          max_extra_loads, parent) {
  QHeaderView* header = table()->horizontalHeader();
  for (auto [c, w] : {std::pair{col_name, 150},
                      {col_basis, 130},
                      {col_weight, 80},
                      {col_unit, 60},
                      {col_flight_width, 95}})
    header->resizeSection(c, w);
  rebuild();
}

void ExtraLoadsEditor::set_loads(std::vector<ExtraLoadText> loads) {
  rows_ = std::move(loads);
  rebuild();
}

void ExtraLoadsEditor::insert_blank(std::size_t at) {
  rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(at), ExtraLoadText{});
}
void ExtraLoadsEditor::erase(std::size_t at) {
  rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(at));
}
void ExtraLoadsEditor::swap_rows(std::size_t a, std::size_t b) {
  swap_at(rows_, a, b);
}

void ExtraLoadsEditor::make_cells(int row) {
  const auto i = static_cast<std::size_t>(row);
  text_cell(row, col_name, QStringLiteral("如 栏杆自重"),
            [this, i](std::string t) { rows_[i].name = std::move(t); });
  auto* how = new CellCombo;
  for (const char* n : extra_basis_names) how->addItem(QString::fromUtf8(n));
  connect(how, &QComboBox::activated, this, [this, row, i](int index) {
    rows_[i].basis = index == 0 ? ExtraBasis::area : ExtraBasis::line;
    if (rows_[i].basis == ExtraBasis::area) rows_[i].flight_width.clear();
    load_row(row);
    edited();
  });
  table()->setCellWidget(row, col_basis, how);
  text_cell(row, col_weight, {}, [this, i](std::string t) { rows_[i].weight = std::move(t); });
  text_cell(row, col_flight_width, {},
            [this, i](std::string t) { rows_[i].flight_width = std::move(t); });
}

void ExtraLoadsEditor::load_row(int row) {
  const ExtraLoadText& e = rows_[static_cast<std::size_t>(row)];
  set_field_text(cell<QLineEdit>(row, col_name), e.name);
  {
    auto* how = cell<QComboBox>(row, col_basis);
    const QSignalBlocker block(how);
    how->setCurrentIndex(e.basis == ExtraBasis::area ? 0 : 1);
  }
  set_field_text(cell<QLineEdit>(row, col_weight), e.weight);
  show_cell(row, col_unit,
            e.basis == ExtraBasis::area ? QStringLiteral("kN/m²") : QStringLiteral("kN/m"));
  auto* w = cell<QLineEdit>(row, col_flight_width);
  set_field_text(w, e.flight_width);
  w->setEnabled(e.basis == ExtraBasis::line);
}

void ExtraLoadsEditor::refresh() {
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    const ExtraLoad v = extra_load_value(rows_[i]);
    QString shown;
    if (v.basis == ExtraBasis::area)
      shown = qstring(field_figure(v.weight));
    else if (v.flight_width == 0)
      shown = QStringLiteral("梯段宽为零，无法折算");
    else
      shown = qstring(field_figure(v.weight / v.flight_width));
    show_cell(static_cast<int>(i), col_per_area, shown,
              v.basis == ExtraBasis::line && v.flight_width == 0);
  }
}

// ---- StairMaterialsEditor ----

StairMaterialsEditor::StairMaterialsEditor(QWidget* parent)
    : QWidget(parent),
      concrete_stated_(new QCheckBox(QStringLiteral("梯板混凝土容重另行取值"), this)),
      concrete_(new QLineEdit(this)),
      concrete_source_(new QLabel(this)),
      soffit_stated_(new QCheckBox(QStringLiteral("板底粉刷另行取值"), this)),
      soffit_material_(material_combo(new QComboBox(this), {MaterialGroup::finish})),
      soffit_weight_(new QLineEdit(this)),
      soffit_source_(new QLabel(this)),
      extras_(new ExtraLoadsEditor(this)) {
  auto* grid = new QGridLayout;
  grid->addWidget(concrete_stated_, 0, 0);
  grid->addWidget(new QLabel(qstring(stair_concrete.name), this), 0, 1);
  grid->addWidget(concrete_, 0, 2);
  grid->addWidget(new QLabel(QStringLiteral("kN/m³"), this), 0, 3);
  grid->addWidget(concrete_source_, 0, 4);
  grid->addWidget(soffit_stated_, 1, 0);
  grid->addWidget(soffit_material_, 1, 1);
  grid->addWidget(soffit_weight_, 1, 2);
  grid->addWidget(new QLabel(QStringLiteral("kN/m²"), this), 1, 3);
  grid->addWidget(soffit_source_, 1, 4);
  grid->setColumnStretch(4, 1);
  concrete_->setMaximumWidth(90);
  soffit_weight_->setMaximumWidth(90);
  soffit_material_->setMinimumWidth(150);
  for (QLabel* l : {concrete_source_, soffit_source_})
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);

  auto* extras_box =
      new QGroupBox(QStringLiteral("附加荷载（按水平投影每平方米，依次加在楼梯恒荷载之后）"), this);
  auto* extras_layout = new QVBoxLayout(extras_box);
  extras_layout->addWidget(extras_);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addLayout(grid);
  layout->addWidget(extras_box, 1);

  const auto edited = [this] {
    refresh();
    emit changed();
  };
  connect(concrete_stated_, &QCheckBox::toggled, this, edited);
  connect(soffit_stated_, &QCheckBox::toggled, this, edited);
  connect(concrete_, &QLineEdit::textEdited, this, edited);
  connect(soffit_weight_, &QLineEdit::textEdited, this, edited);
  connect(soffit_material_, &QComboBox::editTextChanged, this, edited);
  connect(soffit_material_, &QComboBox::activated, this, [this, edited](int index) {
    if (const Material* m =
            find_material(soffit_material_->itemData(index).toString().toStdString()))
      soffit_weight_->setText(qstring(shortest_figure(default_weight(*m))));
    edited();
  });
  connect(extras_, &ExtraLoadsEditor::changed, this, &StairMaterialsEditor::changed);

  set_assumptions({});
}

void StairMaterialsEditor::set_assumptions(const Assumptions& a) {
  const QSignalBlocker b1(concrete_stated_), b2(soffit_stated_);
  concrete_stated_->setChecked(a.concrete_unit_weight.has_value());
  set_field_text(concrete_,
                 a.concrete_unit_weight.value_or(shortest_figure(default_weight(stair_concrete))));
  soffit_stated_->setChecked(a.soffit_finish.has_value());
  const FinishText soffit = a.soffit_finish.value_or(FinishText{
      std::string(stair_soffit_finish.name), shortest_figure(default_weight(stair_soffit_finish))});
  set_combo_text(soffit_material_, soffit.material);
  set_field_text(soffit_weight_, soffit.area_weight);
  extras_->set_loads(a.extra_loads);
  refresh();
}

void StairMaterialsEditor::write_to(Assumptions& a) const {
  a.concrete_unit_weight.reset();
  if (concrete_stated_->isChecked()) a.concrete_unit_weight = concrete_->text().toStdString();
  a.soffit_finish.reset();
  if (soffit_stated_->isChecked())
    a.soffit_finish = FinishText{soffit_material_->currentText().toStdString(),
                                 soffit_weight_->text().toStdString()};
  a.extra_loads = extras_->loads();
}

void StairMaterialsEditor::refresh() {
  // Left unstated, the fields show the figures taken, greyed.
  concrete_->setEnabled(concrete_stated_->isChecked());
  soffit_material_->setEnabled(soffit_stated_->isChecked());
  soffit_weight_->setEnabled(soffit_stated_->isChecked());
  Assumptions a;
  write_to(a);
  const StairMaterials m = stair_materials(a);
  show_source(concrete_source_,
              source_of(stair_concrete.name, WeightBasis::volume, m.concrete_unit_weight));
  const std::string soffit =
      a.soffit_finish ? a.soffit_finish->material : std::string(stair_soffit_finish.name);
  show_source(soffit_source_, source_of(soffit, WeightBasis::area, m.soffit_weight));
}

}  // namespace loadcalc::ui
