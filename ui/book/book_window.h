#pragma once
// The calculation book's window: a second top-level window beside the calculator, owned by it,
// holding one book (project fields and an ordered list of entries) with undo, files, recovery
// copies, exports and print. It sees the calculator only as a sheet of texts and a window to
// raise; the calculator never sees it (app/ connects the two).

#include <QLockFile>
#include <QMainWindow>
#include <QString>
#include <array>
#include <memory>
#include <optional>

#include "book/book.h"
#include "calc/sheet.h"

class QLineEdit;
class QMenu;
class QTableView;
class QUndoStack;

namespace loadcalc::ui {

class BookModel;

class BookWindow : public QMainWindow {
  Q_OBJECT

 public:
  // `calculator` is the calculator's sheet; `calculator_window` shows it, and owns this window.
  BookWindow(Sheet& calculator, QWidget* calculator_window);
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
  // 加入计算书…: asks for a member name and appends the calculator's current fields of `c`.
  void add_from_calculator(Calculation c);
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

  Sheet& calculator_;
  QWidget* calculator_window_;
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

// A book that an earlier run left unsaved, which the user chose to take back.
struct RecoveredBook {
  Book book;
  QString path;  // the file it belongs to; empty when it never was saved
};

// At start-up: when an earlier run ended without saving its book, asks 恢复 / 放弃; the book to
// reopen, or none (the copy is then removed when the user gave it up).
std::optional<RecoveredBook> ask_recovery(QWidget* parent);

}  // namespace loadcalc::ui
