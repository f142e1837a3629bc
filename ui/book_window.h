#pragma once
// The calculation book's window: a second top-level window beside the calculator, owned by it,
// holding one book (project fields and an ordered list of entries) with undo, files, recovery
// copies, exports and print. The calculator stays exactly as it is; it only gains the way in
// (加入计算书… on each result's menu) and asks the book about unsaved changes when it closes.

#include <QLockFile>
#include <QMainWindow>
#include <QString>
#include <array>
#include <memory>

#include "book/book.h"
#include "calc/sheet.h"

class QLineEdit;
class QMenu;
class QTableView;
class QUndoStack;

namespace loadcalc::ui {

class Form1;
class BookModel;

class BookWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit BookWindow(Form1& calculator);
  ~BookWindow() override;

  BookModel& model() const { return *model_; }
  QUndoStack& undo_stack() const { return *undo_; }
  QTableView* table() const { return table_; }
  QLineEdit* project_edit(std::size_t field) const { return project_edits_[field]; }
  const QString& file_path() const { return path_; }

  // The book at `path`, after asking about unsaved changes; the message shown when it cannot be
  // read (the book open before stays), else empty. Empty also when the user cancelled.
  QString open_file(const QString& path);
  // A recovered book: unsaved, belonging to `path` (empty when it never was saved).
  void adopt(Book book, const QString& path);
  bool save();
  bool save_as();
  bool save_to(const QString& path);
  // 保存 / 不保存 / 取消 when there are unsaved changes; true when the book may go.
  bool settle();

  void append(Entry entry);
  // The entry's texts into the calculator, field by field through its checks.
  void load_into_calculator(int row);
  // 更新条目: the calculator's current texts into the entry.
  void update_entry(int row);
  int current_row() const;

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void build_menus();
  void build_central();
  void set_book(Book book, const QString& path);
  void set_path(const QString& path);
  void book_changed();
  void remember_recent(const QString& path);
  void fill_recent_menu();
  void export_as(const QString& suffix, const QString& filter);
  void print();
  void select_row(int row);

  Form1& calculator_;
  BookModel* model_ = nullptr;
  QUndoStack* undo_ = nullptr;
  QTableView* table_ = nullptr;
  QMenu* recent_menu_ = nullptr;
  std::array<QLineEdit*, project_field_count> project_edits_{};
  QString path_;
  // Held while this program keeps a recovery copy, so that a second copy of the program running
  // at the same time neither offers nor overwrites it.
  std::unique_ptr<QLockFile> recovery_lock_;
};

// The calculator's book window, built on first use; none is built by asking with create=false.
BookWindow* book_window(Form1& calculator, bool create = true);

// Shows the book window with the book at `path` (an empty path: the book as it is, or a new
// one). Returns the message shown to the user when the file could not be opened, else empty.
QString open_book_window(Form1& calculator, const QString& path);

// At start-up: when an earlier run ended without saving its book, asks 恢复 / 放弃 and reopens
// the recovered book in the book window, or removes the copy.
void offer_recovery(Form1& calculator);

// 加入计算书…: asks for a member name and appends the calculator's current beam or stair.
void add_to_book(Form1& calculator, Calculation c);

// Whether the calculator may close: the book window asks 保存 / 不保存 / 取消 when it has
// unsaved changes; false when the user cancels.
bool book_allows_close(Form1& calculator);

}  // namespace loadcalc::ui
