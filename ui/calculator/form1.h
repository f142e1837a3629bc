#pragma once
// The one window. Its thirteen fields are the calculation sheet: Form1 implements Sheet over its
// widgets, so the checks and calculations drive the window exactly as they drive a MemorySheet.

#include <QStringList>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "calc/calculations.h"
#include "calc/fields.h"
#include "calc/sheet.h"
#include "calc/startup.h"

class QAction;
class QContextMenuEvent;
class QFocusEvent;
class QMenu;
class QPrinter;
class QKeyEvent;
class QLabel;
class QLineEdit;

namespace loadcalc::ui {

class Form1 : public QWidget, public Sheet {
  Q_OBJECT

 public:
  explicit Form1(QWidget* parent = nullptr);
  ~Form1() override;

  std::string text(Field f) const override;
  void set_text(Field f, std::string_view text) override;
  void set_caption(ResultLabel l, std::string_view caption) override;
  void set_selection(Field f, Selection s) override;
  void set_tooltip(std::string_view text) override;
  void show_message(std::string_view prompt, std::string_view title) override;
  void beep() override;

  QLineEdit* field(Field f) const { return fields_[index_of(f)]; }
  QLabel* result(ResultLabel l) const { return results_[index_of(l)]; }
  QWidget* picture() const { return picture_; }

  // The calculation sheet of both loads as it stands, one A4 page (calc/report.h): a header with
  // the program, its version and the date, the project and member left blank to fill in by hand,
  // the thirteen inputs, both workings and results, and a footer to sign.
  void print_sheet(QPrinter& printer) const;
  // The platform's print dialog, then the sheet; Ctrl+P and each result's menu open it. The
  // printer and what was chosen in the dialog last (file name, printer, copies) stay for the
  // window's lifetime.
  void open_print_dialog();
  // The working of a result as its tooltip shows it: an HTML document.
  QString working_tooltip(ResultLabel l) const;
  // The same working as plain text: what a screen reader reads as the result's description.
  QString working_plain(ResultLabel l) const;
  // A field's context menu, not yet shown: Qt's edit actions, a separator, the field's own
  // actions (按墙体构造计算… on 墙自重, 按门窗类型选取… on 窗重) and a separator where it has any,
  // then the actions of the result the field feeds (the result label's own actions, the one list
  // of them).
  QMenu* field_menu(Field f) const;

  // Where the menus' 最近的计算书 come from, newest first, asked each time the list is shown.
  void set_recent_books(std::function<QStringList()> recent);
  // 显示计算书 is on the menus while a book is open.
  void set_book_open(bool open);

  // The first show runs the start-up routine before anything is on screen.
  void setVisible(bool visible) override;

 signals:
  // 加入计算书… on a result's menu: the calculation whose fields the user wants filed.
  void addToBookRequested(loadcalc::Calculation c);
  // 打开计算书… (an empty path: the user picks the file) and 最近的计算书: the book at `path`.
  void openBookRequested(const QString& path);
  // 显示计算书: the open book's window to the front.
  void showBookRequested();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void build();
  void wire();
  static void name_result(QLabel* label);
  std::optional<Field> field_of(const QObject* watched) const;
  bool key_press(Field f, QKeyEvent& event);
  void got_focus(Field f, const QFocusEvent& event);
  // Each result's working: its tooltip and its menu.
  void attach_working(ResultLabel l);
  void attach_print_shortcut();
  // 打开计算书…, 最近的计算书 and 显示计算书 on every result's menu, so on every field's too: the
  // book is never further away than the calculator.
  void attach_book_actions();
  void fill_recent_books();
  void copy_working(ResultLabel l) const;
  QString sheet_html() const;
  void open_field_menu(Field f, const QContextMenuEvent& event);
  // The fields' own menu actions: a dialog that works a figure out, written on OK.
  void attach_field_aids();
  // Writes a figure into a field as if it were pasted over the whole text, so that it meets the
  // field's change check (a refused figure is reported and reset as a typed one is).
  void enter_figure(Field f, std::string_view text);
  // Shift+F10, where the platform does not make a context-menu event of it.
  static bool is_menu_shortcut(const QKeyEvent& event);

  std::array<QLineEdit*, field_count> fields_{};
  std::array<QLabel*, result_count> results_{};
  QWidget* picture_ = nullptr;
  bool loaded_ = false;
  // The field whose focus came with a mouse press: the press moves the caret after the focus
  // reaction has selected everything, so the release selects again.
  std::optional<Field> clicked_into_;
  std::unique_ptr<QPrinter> printer_;
  QMenu* recent_books_ = nullptr;
  QAction* show_book_ = nullptr;
  std::function<QStringList()>
      recent_books_source_;  // made when first asked for: finding printers is slow
};

}  // namespace loadcalc::ui
