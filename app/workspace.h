#pragma once
// The program's two windows and what joins them: the calculator, and the book window beside it,
// built on first use. Neither window knows the other; this is where a request from one reaches
// the other.

#include <QObject>
#include <QString>

namespace loadcalc::ui {
class BookWindow;
class Form1;
}  // namespace loadcalc::ui

namespace loadcalc::app {

class Workspace : public QObject {
  Q_OBJECT

 public:
  explicit Workspace(ui::Form1& calculator);

  ui::Form1& calculator() const { return calculator_; }
  // The book window; none is built by asking with create=false.
  ui::BookWindow* book_window(bool create = true);

  // Shows the book window with the book at `path` (an empty path: the book as it is, or a new
  // one). Returns the message shown to the user when the file could not be opened, else empty.
  QString open_book(const QString& path);

  // At start-up: each book that a copy of the program, now ended, left unsaved is offered back
  // (恢复 / 放弃), never one a running copy still holds; the first taken back is reopened in the
  // book window.
  void offer_recovery();

 protected:
  // The calculator's close: the book window asks 保存 / 不保存 / 取消 first when it has unsaved
  // changes, and a cancel keeps both open.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  ui::Form1& calculator_;
};

}  // namespace loadcalc::app
