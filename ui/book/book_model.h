#pragma once
// The open book as the window shows it: the project and a table of entries (序号, 构件, 类型,
// 结果, 检查, 备注), each entry's result computed from its texts when the entry changes. Every
// change goes through the few calls below, which the undo commands (book_commands.h) make.

#include <QAbstractTableModel>
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "book/book.h"
#include "book/evaluate.h"

namespace loadcalc::ui {

class BookModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  enum Column {
    number_column,
    member_column,
    kind_column,
    result_column,
    flag_column,
    note_column
  };
  static constexpr int column_count = 6;

  explicit BookModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

  const Book& book() const { return book_; }
  const EntryResult& result(int row) const { return results_[static_cast<std::size_t>(row)]; }
  const Entry& entry(int row) const { return book_.entries[static_cast<std::size_t>(row)]; }
  int size() const { return static_cast<int>(book_.entries.size()); }

  void reset(Book book);
  void set_project_field(std::size_t field, std::string text);
  void insert_entry(int row, Entry entry);
  Entry take_entry(int row);
  void replace_entry(int row, Entry entry);
  void move_entry(int from, int to);
  // Every entry at once, for a paste or an import of any size.
  void replace_entries(std::vector<Entry> entries);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation o, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  // A member name or a note typed into the table is not applied here but handed on as
  // rename_requested or note_requested, so that it is an undoable edit like any other.
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;

 signals:
  void project_changed(int field);
  void rename_requested(int row, const QString& name);
  void note_requested(int row, const QString& note);

 private:
  Book book_;
  std::vector<EntryResult> results_;
};

}  // namespace loadcalc::ui
