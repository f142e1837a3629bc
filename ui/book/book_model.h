#pragma once
// The open book as the window holds it: the project and the entries in book order, each entry's
// result computed from its texts when the entry changes. Every change goes through the few calls
// below, which the undo commands (book_commands.h) make; the schedule of each kind
// (schedule_model.h) follows the rows it signals.

#include <QAbstractListModel>
#include <string>
#include <vector>

#include "book/book.h"
#include "book/evaluate.h"

namespace loadcalc::ui {

class BookModel : public QAbstractListModel {
  Q_OBJECT

 public:
  explicit BookModel(QObject* parent = nullptr) : QAbstractListModel(parent) {}

  const Book& book() const { return book_; }
  const EntryResult& result(int row) const { return results_[static_cast<std::size_t>(row)]; }
  const Entry& entry(int row) const { return book_.entries[static_cast<std::size_t>(row)]; }
  int size() const { return static_cast<int>(book_.entries.size()); }

  void reset(Book book);
  void set_project_field(std::size_t field, std::string text);
  void insert_entry(int row, Entry entry);
  Entry take_entry(int row);
  // The entry's kind stays: a schedule holds an entry by its kind.
  void replace_entry(int row, Entry entry);
  void move_entry(int from, int to);
  // Every entry at once, for a paste or an import of any size.
  void replace_entries(std::vector<Entry> entries);

  // One row an entry, shown by its member name.
  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;

 signals:
  void project_changed(int field);

 private:
  Book book_;
  std::vector<EntryResult> results_;
};

}  // namespace loadcalc::ui
