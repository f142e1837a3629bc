#include "ui/book/schedule_model.h"

#include <QBrush>
#include <QFont>
#include <QGuiApplication>
#include <QMimeData>
#include <QPalette>
#include <QStringList>
#include <QUndoStack>
#include <algorithm>
#include <map>
#include <unordered_set>
#include <utility>

#include "book/evaluate.h"
#include "calc/assumptions.h"
#include "calc/calculations.h"
#include "calc/fields.h"
#include "calc/number.h"
#include "ui/book/book_commands.h"
#include "ui/book/book_model.h"
#include "ui/clipboard_cells.h"
#include "ui/qt_text.h"
#include "ui/window_style.h"

namespace loadcalc::ui {

namespace {

bool typed_into(const ScheduleColumnInfo& c) {
  return c.cell == ScheduleCell::name || c.cell == ScheduleCell::input ||
         c.cell == ScheduleCell::note;
}

}  // namespace

std::string cell_text(const Entry& entry, const ScheduleColumnInfo& column) {
  switch (column.cell) {
    case ScheduleCell::name:
      return entry.name;
    case ScheduleCell::note:
      return entry.note;
    case ScheduleCell::input: {
      const auto it = entry.texts.find(column.field);
      return it == entry.texts.end() ? std::string() : it->second;
    }
    default:
      return {};
  }
}

bool set_cell_text(Entry& entry, const ScheduleColumnInfo& column, std::string text) {
  switch (column.cell) {
    case ScheduleCell::name:
      entry.name = std::move(text);
      return true;
    case ScheduleCell::note:
      entry.note = std::move(text);
      return true;
    case ScheduleCell::input:
      // What the entry's layers or openings replace is edited with them (计算假定…).
      if (replaces(entry.assumptions, column.field)) return false;
      entry.texts[column.field] = std::move(text);
      return true;
    default:
      return false;
  }
}

namespace {

// A field the entry's assumptions replace shows what stands in its place: the layers' sum, or
// the openings' count; its tooltip says where it comes from.
bool stated_in_place(const Entry& e, const ScheduleColumnInfo& c) {
  return c.cell == ScheduleCell::input && replaces(e.assumptions, c.field);
}

QString stated_text(const Entry& e, Field f) {
  if (f == Field::Text6 && e.assumptions.wall_layers)
    return qstring(field_figure(build_up(*e.assumptions.wall_layers).wall_weight));
  return QStringLiteral("洞口 %1 项")
      .arg(e.assumptions.openings ? e.assumptions.openings->size() : 0);
}

QString stated_tooltip(const Entry& e, Field f) {
  if (f == Field::Text6) {
    QStringList layers;
    for (const LayerLine& l : build_up(*e.assumptions.wall_layers).layers)
      layers << QStringLiteral("%1 %2 kN/m²")
                    .arg(qstring(l.material), qstring(field_figure(l.weight)));
    return QStringLiteral("按墙体构造计算（计算假定…）：") + layers.join(QStringLiteral("，"));
  }
  const OpeningsTable t = openings_table(*e.assumptions.openings);
  return QStringLiteral("按洞口表计算（计算假定…）：洞口总面积 %1 m²，总重 %2 kN")
      .arg(qstring(field_figure(t.area)), qstring(field_figure(t.weight)));
}

}  // namespace

Entry new_entry(const Book& book, Calculation kind) {
  const CalculationInfo& info = calculation_info(kind);
  std::unordered_set<std::string> names;
  std::size_t same_kind = 0;
  for (const Entry& e : book.entries) {
    names.insert(e.name);
    same_kind += e.kind == kind;
  }
  Entry e;
  e.kind = kind;
  for (std::size_t n = same_kind + 1;; ++n) {
    e.name = std::string(info.member_word) + ' ' + std::to_string(n);
    if (!names.contains(e.name)) break;
  }
  for (Field f : info.reads) e.texts[f] = std::string(field_info(f).default_text);
  return e;
}

ScheduleModel::ScheduleModel(BookModel& book, QUndoStack& undo, Calculation kind, QObject* parent)
    : QAbstractTableModel(parent),
      book_(book),
      undo_(undo),
      kind_(kind),
      columns_(schedule_columns(kind)),
      number_column_(column_of(ScheduleCell::number)) {
  rebuild();
  connect(&book_, &QAbstractItemModel::modelAboutToBeReset, this, &ScheduleModel::beginResetModel);
  connect(&book_, &QAbstractItemModel::modelReset, this, [this] {
    rebuild();
    endResetModel();
  });
  connect(&book_, &QAbstractItemModel::rowsInserted, this,
          [this](const QModelIndex&, int first, int last) { rows_inserted(first, last); });
  connect(
      &book_, &QAbstractItemModel::rowsAboutToBeRemoved, this,
      [this](const QModelIndex&, int first, int last) { rows_about_to_be_removed(first, last); });
  connect(&book_, &QAbstractItemModel::rowsRemoved, this,
          [this](const QModelIndex&, int first, int) { rows_removed(first); });
  connect(&book_, &QAbstractItemModel::rowsMoved, this,
          [this](const QModelIndex&, int start, int end, const QModelIndex&, int destination) {
            // The book moves one entry at a time; anything else is taken as a new book.
            if (start != end) return reset_all();
            row_moved(start, destination > start ? destination - 1 : destination);
          });
  connect(&book_, &QAbstractItemModel::dataChanged, this,
          [this](const QModelIndex& top_left, const QModelIndex& bottom_right) {
            entries_changed(top_left.row(), bottom_right.row());
          });
}

int ScheduleModel::column_of(ScheduleCell cell, Field field) const {
  for (std::size_t i = 0; i < columns_.size(); ++i)
    if (columns_[i].cell == cell && (cell != ScheduleCell::input || columns_[i].field == field))
      return static_cast<int>(i);
  return -1;
}

void ScheduleModel::rebuild() {
  const int n = book_.size();
  rows_.clear();
  row_of_.assign(static_cast<std::size_t>(n), -1);
  for (int r = 0; r < n; ++r) {
    if (book_.entry(r).kind != kind_) continue;
    row_of_[static_cast<std::size_t>(r)] = static_cast<int>(rows_.size());
    rows_.push_back(r);
  }
}

void ScheduleModel::reset_all() {
  beginResetModel();
  rebuild();
  endResetModel();
}

int ScheduleModel::first_row_from(int book_row) const {
  return static_cast<int>(std::lower_bound(rows_.begin(), rows_.end(), book_row) - rows_.begin());
}

// 序号 is the place in the book: every entry after a change of rows has a new one.
void ScheduleModel::renumber_from(int book_row) {
  const int first = first_row_from(book_row);
  if (first < rowCount())
    emit dataChanged(index(first, number_column_), index(rowCount() - 1, number_column_));
}

void ScheduleModel::rows_inserted(int first, int last) {
  // The entries of this kind among the new ones stand together here, where the first goes.
  const int at = first_row_from(first);
  int added = 0;
  for (int r = first; r <= last; ++r) added += book_.entry(r).kind == kind_;
  if (added > 0) beginInsertRows({}, at, at + added - 1);
  rebuild();
  if (added > 0) endInsertRows();
  renumber_from(last + 1);
}

void ScheduleModel::rows_about_to_be_removed(int first, int last) {
  const int from = first_row_from(first);
  const int to = first_row_from(last + 1) - 1;
  removing_ = from <= to;
  if (removing_) beginRemoveRows({}, from, to);
}

void ScheduleModel::rows_removed(int first) {
  rebuild();
  if (std::exchange(removing_, false)) endRemoveRows();
  renumber_from(first);
}

void ScheduleModel::row_moved(int from, int to) {
  const int was = row_of_[static_cast<std::size_t>(from)];
  std::vector<int> old_rows = rows_, old_row_of = row_of_;
  rebuild();
  const int now = row_of_[static_cast<std::size_t>(to)];
  if (was >= 0 && was != now) {
    std::swap(rows_, old_rows);
    std::swap(row_of_, old_row_of);
    beginMoveRows({}, was, was, {}, now > was ? now + 1 : now);
    std::swap(rows_, old_rows);
    std::swap(row_of_, old_row_of);
    endMoveRows();
  }
  const int top = first_row_from(std::min(from, to));
  const int bottom = first_row_from(std::max(from, to) + 1) - 1;
  if (top <= bottom) emit dataChanged(index(top, number_column_), index(bottom, number_column_));
}

void ScheduleModel::entries_changed(int first, int last) {
  for (int r = first; r <= last; ++r)
    if ((book_.entry(r).kind == kind_) != (row_of_[static_cast<std::size_t>(r)] >= 0))
      return reset_all();
  const int top = first_row_from(first);
  const int bottom = first_row_from(last + 1) - 1;
  if (top <= bottom) emit dataChanged(index(top, 0), index(bottom, columnCount() - 1));
}

int ScheduleModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ScheduleModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant ScheduleModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const int row = book_row(index.row());
  const Entry& e = book_.entry(row);
  const EntryResult& r = book_.result(row);
  const ScheduleColumnInfo& c = columns_[static_cast<std::size_t>(index.column())];
  // The cell the check's message is about.
  const bool flagged = c.cell == ScheduleCell::input && r.field == c.field;
  switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
      switch (c.cell) {
        case ScheduleCell::number:
          return QString::number(row + 1);
        case ScheduleCell::result:
          // A refused entry has no figure to show, not even a stale one.
          return r.valid ? qstring(caption_number(r, kind_)) : QStringLiteral("—");
        case ScheduleCell::check:
          return qstring(r.message);
        default:
          if (stated_in_place(e, c)) return stated_text(e, c.field);
          return qstring(cell_text(e, c));
      }
    case Qt::FontRole:
      if (stated_in_place(e, c)) {
        QFont italic;
        italic.setItalic(true);
        return italic;
      }
      return {};
    case Qt::ToolTipRole: {
      if (stated_in_place(e, c) && !flagged) return plain_tooltip(stated_tooltip(e, c.field));
      // The flagged cell says why; any other shows its text in full, as typed, a long one wrapped.
      const QString text = flagged ? qstring(r.message) : data(index, Qt::DisplayRole).toString();
      return text.isEmpty() ? QVariant() : QVariant(plain_tooltip(text));
    }
    case Qt::AccessibleDescriptionRole:
      return flagged ? QVariant(qstring(r.message)) : QVariant();
    case Qt::BackgroundRole: {
      if (!flagged) return {};
      QColor tint = warning_text_color(QGuiApplication::palette());
      tint.setAlphaF(0.25f);
      return QBrush(tint);
    }
    case Qt::ForegroundRole:
      if (!r.valid && (c.cell == ScheduleCell::result || c.cell == ScheduleCell::check))
        return QBrush(warning_text_color(QGuiApplication::palette()));
      return {};
    case Qt::TextAlignmentRole:
      if (c.cell == ScheduleCell::number || c.cell == ScheduleCell::input ||
          c.cell == ScheduleCell::result)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
      return {};
    default:
      return {};
  }
}

QVariant ScheduleModel::headerData(int section, Qt::Orientation o, int role) const {
  if (o != Qt::Horizontal || section < 0 || section >= columnCount())
    return QAbstractTableModel::headerData(section, o, role);
  const ScheduleColumnInfo& c = columns_[static_cast<std::size_t>(section)];
  if (role == Qt::DisplayRole) return qstring(schedule_column_heading(c));
  // The calculator's caption of the field, or the unit the result is in.
  if (role == Qt::ToolTipRole && c.cell == ScheduleCell::input)
    return qstring(field_info(c.field).caption);
  if (role == Qt::ToolTipRole && c.cell == ScheduleCell::result)
    return QStringLiteral("单位：") + qstring(result_unit(kind_));
  return {};
}

Qt::ItemFlags ScheduleModel::flags(const QModelIndex& index) const {
  Qt::ItemFlags f = QAbstractTableModel::flags(index);
  if (!index.isValid()) return f;
  const ScheduleColumnInfo& c = columns_[static_cast<std::size_t>(index.column())];
  if (typed_into(c) && !stated_in_place(book_.entry(book_row(index.row())), c))
    f |= Qt::ItemIsEditable;
  return f;
}

bool ScheduleModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::EditRole || !index.isValid()) return false;
  const ScheduleColumnInfo& c = columns_[static_cast<std::size_t>(index.column())];
  const int row = book_row(index.row());
  Entry edited = book_.entry(row);
  if (!set_cell_text(edited, c, value.toString().toStdString())) return false;
  if (edited == book_.entry(row)) return true;
  undo_.push(
      new EditCellsCommand(book_, {{row, std::move(edited)}},
                           QStringLiteral("编辑“%1”").arg(qstring(schedule_column_heading(c)))));
  return true;
}

bool ScheduleModel::fill_down(const QModelIndexList& cells) {
  std::map<int, std::vector<int>> by_column;
  for (const QModelIndex& i : cells)
    if (i.isValid() && i.model() == this) by_column[i.column()].push_back(i.row());
  std::map<int, Entry> edited;  // by book row
  for (auto& [column, rows] : by_column) {
    const ScheduleColumnInfo& c = columns_[static_cast<std::size_t>(column)];
    if (!typed_into(c) || rows.size() < 2) continue;
    std::sort(rows.begin(), rows.end());
    const std::string top = cell_text(book_.entry(book_row(rows.front())), c);
    for (auto it = rows.begin() + 1; it != rows.end(); ++it) {
      const int row = book_row(*it);
      auto [at, fresh] = edited.try_emplace(row);
      if (fresh) at->second = book_.entry(row);
      set_cell_text(at->second, c, top);
    }
  }
  std::vector<std::pair<int, Entry>> changed;
  for (auto& [row, entry] : edited)
    if (entry != book_.entry(row)) changed.emplace_back(row, std::move(entry));
  if (changed.empty()) return false;
  undo_.push(new EditCellsCommand(book_, std::move(changed), QStringLiteral("向下填充")));
  return true;
}

QStringList ScheduleModel::mimeTypes() const {
  return {QStringLiteral("text/plain"), QStringLiteral("text/html")};
}

QMimeData* ScheduleModel::mimeData(const QModelIndexList& cells) const {
  int top = rowCount(), bottom = -1, left = columnCount(), right = -1;
  for (const QModelIndex& i : cells) {
    if (!i.isValid() || i.model() != this) continue;
    top = std::min(top, i.row());
    bottom = std::max(bottom, i.row());
    left = std::min(left, i.column());
    right = std::max(right, i.column());
  }
  if (bottom < 0) return mime_from_cells({});
  Cells block(static_cast<std::size_t>(bottom - top + 1),
              std::vector<std::string>(static_cast<std::size_t>(right - left + 1)));
  for (const QModelIndex& i : cells)
    if (i.isValid() && i.model() == this)
      block[static_cast<std::size_t>(i.row() - top)][static_cast<std::size_t>(i.column() - left)] =
          data(i, Qt::DisplayRole).toString().toStdString();
  return mime_from_cells(block);
}

}  // namespace loadcalc::ui
