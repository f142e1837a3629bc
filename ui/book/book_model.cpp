#include "ui/book/book_model.h"

#include <utility>

#include "ui/qt_text.h"

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
}

Entry BookModel::take_entry(int row) {
  beginRemoveRows({}, row, row);
  Entry taken = std::move(book_.entries[static_cast<std::size_t>(row)]);
  book_.entries.erase(book_.entries.begin() + row);
  results_.erase(results_.begin() + row);
  endRemoveRows();
  return taken;
}

void BookModel::replace_entry(int row, Entry entry) {
  results_[static_cast<std::size_t>(row)] = evaluate(entry);
  book_.entries[static_cast<std::size_t>(row)] = std::move(entry);
  emit dataChanged(index(row), index(row));
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

QVariant BookModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
  return qstring(entry(index.row()).name);
}

}  // namespace loadcalc::ui
