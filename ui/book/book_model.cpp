#include "ui/book/book_model.h"

#include <QBrush>
#include <QColor>
#include <QGuiApplication>
#include <QPalette>
#include <utility>

#include "calc/calculations.h"
#include "ui/qt_text.h"
#include "ui/window_style.h"

namespace loadcalc::ui {

void BookModel::reset(Book book) {
  beginResetModel();
  book_ = std::move(book);
  results_.clear();
  results_.reserve(book_.entries.size());
  for (const Entry& e : book_.entries) results_.push_back(evaluate(e));
  endResetModel();
  for (std::size_t f = 0; f < project_fields.size(); ++f) emit project_changed(static_cast<int>(f));
}

void BookModel::set_project_field(std::size_t field, std::string text) {
  book_.project.*project_fields[field].member = std::move(text);
  emit project_changed(static_cast<int>(field));
}

void BookModel::insert_entry(int row, Entry entry) {
  beginInsertRows({}, row, row);
  results_.insert(results_.begin() + row, evaluate(entry));
  book_.entries.insert(book_.entries.begin() + row, std::move(entry));
  endInsertRows();
  // The numbers below it move on by one.
  if (row + 1 < size()) emit dataChanged(index(row + 1, 0), index(size() - 1, 0));
}

Entry BookModel::take_entry(int row) {
  beginRemoveRows({}, row, row);
  Entry taken = std::move(book_.entries[static_cast<std::size_t>(row)]);
  book_.entries.erase(book_.entries.begin() + row);
  results_.erase(results_.begin() + row);
  endRemoveRows();
  if (row < size()) emit dataChanged(index(row, 0), index(size() - 1, 0));
  return taken;
}

void BookModel::replace_entry(int row, Entry entry) {
  results_[static_cast<std::size_t>(row)] = evaluate(entry);
  book_.entries[static_cast<std::size_t>(row)] = std::move(entry);
  emit dataChanged(index(row, 0), index(row, column_count - 1));
}

void BookModel::move_entry(int from, int to) {
  if (from == to) return;
  // Qt counts the destination before the move: one further down when moving down.
  beginMoveRows({}, from, from, {}, to > from ? to + 1 : to);
  auto& entries = book_.entries;
  Entry moving = std::move(entries[static_cast<std::size_t>(from)]);
  EntryResult result = std::move(results_[static_cast<std::size_t>(from)]);
  entries.erase(entries.begin() + from);
  results_.erase(results_.begin() + from);
  entries.insert(entries.begin() + to, std::move(moving));
  results_.insert(results_.begin() + to, std::move(result));
  endMoveRows();
  emit dataChanged(index(std::min(from, to), 0), index(std::max(from, to), 0));
}

void BookModel::replace_entries(std::vector<Entry> entries) {
  beginResetModel();
  book_.entries = std::move(entries);
  results_.clear();
  results_.reserve(book_.entries.size());
  for (const Entry& e : book_.entries) results_.push_back(evaluate(e));
  endResetModel();
}

int BookModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : size();
}

int BookModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : column_count;
}

QVariant BookModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const Entry& e = entry(index.row());
  const EntryResult& r = result(index.row());
  if (role == Qt::ForegroundRole && !r.valid &&
      (index.column() == result_column || index.column() == flag_column))
    return QBrush(warning_text_color(QGuiApplication::palette()));
  if (role == Qt::TextAlignmentRole &&
      (index.column() == number_column || index.column() == result_column))
    return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
  // Every text in full on hover, a long check message wrapped; names and notes as typed.
  if (role == Qt::ToolTipRole) {
    const QString text = data(index, Qt::DisplayRole).toString();
    return text.isEmpty() ? QVariant() : QVariant(plain_tooltip(text));
  }
  if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
  switch (index.column()) {
    case number_column:
      return index.row() + 1;
    case member_column:
      return qstring(e.name);
    case kind_column:
      return qstring(calculation_info(e.kind).kind_name);
    case result_column:
      // A refused entry has no figure to show, not even a stale one.
      return r.valid ? qstring(r.caption) : QStringLiteral("—");
    case flag_column:
      return qstring(r.message);
    case note_column:
      return qstring(e.note);
    default:
      return {};
  }
}

QVariant BookModel::headerData(int section, Qt::Orientation o, int role) const {
  if (o != Qt::Horizontal || role != Qt::DisplayRole)
    return QAbstractTableModel::headerData(section, o, role);
  static const std::array<QString, column_count> titles{
      QStringLiteral("序号"), QStringLiteral("构件"), QStringLiteral("类型"),
      QStringLiteral("结果"), QStringLiteral("检查"), QStringLiteral("备注")};
  return titles[static_cast<std::size_t>(section)];
}

Qt::ItemFlags BookModel::flags(const QModelIndex& index) const {
  Qt::ItemFlags f = QAbstractTableModel::flags(index);
  if (index.column() == member_column || index.column() == note_column) f |= Qt::ItemIsEditable;
  return f;
}

bool BookModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::EditRole) return false;
  if (index.column() == member_column) emit rename_requested(index.row(), value.toString());
  if (index.column() == note_column) emit note_requested(index.row(), value.toString());
  return false;
}

}  // namespace loadcalc::ui
