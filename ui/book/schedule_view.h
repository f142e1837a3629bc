#pragma once
// A schedule's table as a spreadsheet is typed into: typing starts an edit of the current cell
// (so do F2 and a double-click), Enter commits and goes down, Tab commits and goes right, Esc
// gives the cell back as it was.

#include <QStyledItemDelegate>
#include <QTableView>

namespace loadcalc::ui {

// Enter ends an edit as soon as it is pressed, not one turn of the event loop later as Qt's own
// delegate does, and says "go down" to the view.
class ScheduleDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  using QStyledItemDelegate::QStyledItemDelegate;

 protected:
  bool eventFilter(QObject* editor, QEvent* event) override;
};

class ScheduleView : public QTableView {
  Q_OBJECT

 public:
  explicit ScheduleView(QWidget* parent = nullptr);

  // An edit in progress, committed and closed: before a command changes the rows under it.
  void commit_edit();
  // The rows holding a selected cell, or else the current row; ascending.
  QList<int> selected_rows() const;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

 private:
  void step(int rows, int columns);
};

}  // namespace loadcalc::ui
