#pragma once
// The calculation book's window: a second top-level window beside the calculator, owned by it,
// showing one book document (book_document.h) with its menus, its project fields and its entries
// as a schedule, one table a kind (schedule_model.h), typed into in place. It sees the calculator
// only as a sheet of texts and a window to raise; the calculator never sees it (app/ connects the
// two).

#include <QMainWindow>
#include <QString>
#include <array>
#include <vector>

#include "book/book.h"
#include "book/schedule.h"
#include "calc/sheet.h"
#include "ui/book/book_dialogs.h"
#include "ui/book/book_model.h"

class QGridLayout;
class QLineEdit;
class QMenu;
class QTabWidget;

namespace loadcalc::ui {

class BookDocument;
class ScheduleModel;
class ScheduleView;
struct ExportFormat;

// True when opening an entry of `kind` into the calculator loses nothing: the calculator's texts
// of that kind's fields are the start-up defaults, or those of some entry of the book.
bool calculator_texts_kept(const Sheet& calculator, const Book& book, Calculation kind);

// Where a window of frame `size` goes the first time it opens: beside the calculator's frame
// `calculator`, to its right when `screen` has room there, else to its left, else below it, else
// as far right as the screen allows.
QPoint beside(const QRect& calculator, const QSize& size, const QRect& screen);

class BookWindow : public QMainWindow {
  Q_OBJECT

 public:
  // `calculator` is the calculator's sheet; `calculator_window` shows it, and owns this window.
  BookWindow(Sheet& calculator, QWidget* calculator_window);

  BookDocument& document() const { return *document_; }
  QTabWidget* schedules() const { return tabs_; }
  // The table of each kind, in the calculation table's order.
  ScheduleView* schedule(Calculation kind) const;
  ScheduleModel& schedule_model(Calculation kind) const;
  ScheduleView* current_schedule() const;
  QLineEdit* project_edit(std::size_t field) const { return project_edits_[field]; }

  void append(Entry entry);
  // 加入计算书…: asks for a member name and appends the calculator's current fields of `c`.
  void add_from_calculator(Calculation c);
  // The entry's texts into the calculator, field by field through its checks.
  void load_into_calculator(int row);
  // 在计算器中打开: the same, after asking when the calculator holds texts no entry has. True
  // when the entry went in.
  bool open_in_calculator(int row);
  // 更新条目: the calculator's current texts into the entry.
  void update_entry(int row);
  // The book row of the current tab's current entry, -1 when there is none.
  int current_row() const;
  // The entry at book row `row` made current, on its kind's tab.
  void select_row(int row);

 public slots:
  // The book at `path` (an empty path: the one the user picks in a file dialog). True when it is
  // the window's book now; false when it could not be read or the user cancelled.
  bool open(const QString& path = {});
  // 导入计算表…: the schedule file at `path` (empty: the one the user picks) appended to the book
  // as one undo step. True when it was.
  bool import_file(const QString& path = {});

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private slots:
  void new_book();
  void save();
  void save_as();
  void fill_recent_menu();
  void print();
  void rename_entry();
  void duplicate_entry();
  void delete_entry();
  void move_entry_up();
  void move_entry_down();
  void update_current_entry();
  void open_current_entry();
  // 计算假定…: the current entry's wall layers and openings, or its stair's materials.
  void edit_entry_assumptions();
  void edit_note();
  void insert_entry();
  void fill_down();
  void copy_cells();
  void paste_cells();
  void show_project_field(int field);
  void show_name();

 private:
  void create_central();
  void create_project_fields(QGridLayout* grid);
  void create_schedules(QGridLayout* grid);
  void add_table_action(QAction* action);
  void create_file_menu();
  void create_export_menu(QMenu* exports);
  void create_edit_menu();
  void export_as(const ExportFormat& format);
  void show_exported(const QString& path);
  void move_entry_by(int step);
  void edit_cell(int row, ScheduleCell cell);

  Sheet& calculator_;
  QWidget* calculator_window_;
  BookDialogs dialogs_{this};
  BookDocument* document_;
  QTabWidget* tabs_ = nullptr;
  struct Schedule {
    ScheduleModel* model;
    ScheduleView* view;
  };
  std::vector<Schedule> schedules_;
  QMenu* recent_menu_ = nullptr;
  // Until the first show: its place is settled then (where it was last, or beside the calculator).
  bool placed_ = false;
  std::array<QLineEdit*, project_field_count> project_edits_{};
};

}  // namespace loadcalc::ui
