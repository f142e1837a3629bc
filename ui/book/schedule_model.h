#pragma once
// One kind's entries as a schedule, a spreadsheet's view of the book: a row an entry in book
// order, the columns of schedule_columns(). The book model stays the one source of the entries;
// this follows its signals, mapping a book row to a row here, so that an edit repaints one row
// and only a change of rows rebuilds the map. A typed cell is an undo step like any other edit.

#include <QAbstractTableModel>
#include <string>
#include <vector>

#include "book/book.h"
#include "book/schedule.h"

class QUndoStack;

namespace loadcalc::ui {

class BookModel;

// The text a cell of `column` holds for an editable column (构件, an input, 备注).
std::string cell_text(const Entry& entry, const ScheduleColumnInfo& column);
// Puts `text` into the cell, as typed. False for a column that is not typed into.
bool set_cell_text(Entry& entry, const ScheduleColumnInfo& column, std::string text);
// A new entry of `kind` as the calculator starts: every input at its default text, named as
// 加入计算书 names one ("梁 3"), by the number after the kind's entries so far, the next free one.
Entry new_entry(const Book& book, Calculation kind);

class ScheduleModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  ScheduleModel(BookModel& book, QUndoStack& undo, Calculation kind, QObject* parent = nullptr);

  Calculation kind() const { return kind_; }
  const std::vector<ScheduleColumnInfo>& columns() const { return columns_; }
  // The column showing `cell` (and for an input, `field`); -1 when the kind has none.
  int column_of(ScheduleCell cell, Field field = Field::Text1) const;
  // The entry a row shows, by its row in the book; and back, -1 for an entry of another kind.
  int book_row(int row) const { return rows_[static_cast<std::size_t>(row)]; }
  int row_of(int book_row) const { return row_of_[static_cast<std::size_t>(book_row)]; }

  // The top cell of each selected column into the selected cells below it, one undo step. False
  // when it changed nothing.
  bool fill_down(const QModelIndexList& cells);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation o, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  // Pushes the edit on the undo stack; the book model's signal then repaints the row.
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  // The cells' bounding block as tab-separated text and as an HTML table, cells outside the
  // selection left empty, so that a spreadsheet pastes them as cells.
  QStringList mimeTypes() const override;
  QMimeData* mimeData(const QModelIndexList& cells) const override;

 private:
  void rebuild();
  void reset_all();
  void renumber_from(int book_row);
  void rows_inserted(int first, int last);
  void rows_about_to_be_removed(int first, int last);
  void rows_removed(int first);
  void row_moved(int from, int to);
  void entries_changed(int first, int last);
  // The first row here whose entry stands at `book_row` or after it in the book.
  int first_row_from(int book_row) const;

  BookModel& book_;
  QUndoStack& undo_;
  Calculation kind_;
  std::vector<ScheduleColumnInfo> columns_;
  int number_column_ = 0;
  std::vector<int> rows_;    // the book rows of this kind's entries, ascending
  std::vector<int> row_of_;  // for every book row, its row here or -1
  bool removing_ = false;
};

}  // namespace loadcalc::ui
