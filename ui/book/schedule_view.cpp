#include "ui/book/schedule_view.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <algorithm>

namespace loadcalc::ui {

namespace {

bool plain_enter(const QKeyEvent* key) {
  return (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
         (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

}  // namespace

bool ScheduleDelegate::eventFilter(QObject* editor, QEvent* event) {
  if (event->type() == QEvent::KeyPress && plain_enter(static_cast<QKeyEvent*>(event))) {
    auto* widget = static_cast<QWidget*>(editor);
    emit commitData(widget);
    emit closeEditor(widget, SubmitModelCache);
    return true;
  }
  return QStyledItemDelegate::eventFilter(editor, event);
}

ScheduleView::ScheduleView(QWidget* parent) : QTableView(parent) {
  setItemDelegate(new ScheduleDelegate(this));
  setEditTriggers(AnyKeyPressed | EditKeyPressed | DoubleClicked);
  setSelectionBehavior(SelectItems);
  setSelectionMode(ExtendedSelection);
  verticalHeader()->hide();
  horizontalHeader()->setStretchLastSection(true);
}

void ScheduleView::commit_edit() {
  if (state() != EditingState) return;
  if (QWidget* editor = indexWidget(currentIndex())) {
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
  }
}

QList<int> ScheduleView::selected_rows() const {
  QList<int> rows;
  for (const QModelIndex& i : selectionModel()->selectedIndexes()) rows << i.row();
  if (rows.isEmpty() && currentIndex().isValid()) rows << currentIndex().row();
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  return rows;
}

void ScheduleView::keyPressEvent(QKeyEvent* event) {
  // Not the item view's "activate": down a row, as in a spreadsheet.
  if (plain_enter(event)) {
    step(1, 0);
    return;
  }
  QTableView::keyPressEvent(event);
}

void ScheduleView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
  QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
  // Qt's Tab would open the next cell for editing; a spreadsheet only goes there.
  if (hint == QAbstractItemDelegate::SubmitModelCache) step(1, 0);
  if (hint == QAbstractItemDelegate::EditNextItem) step(0, 1);
  if (hint == QAbstractItemDelegate::EditPreviousItem) step(0, -1);
}

void ScheduleView::step(int rows, int columns) {
  const QModelIndex at = currentIndex();
  if (!at.isValid()) return;
  const QModelIndex next = model()->index(at.row() + rows, at.column() + columns);
  if (next.isValid()) setCurrentIndex(next);
}

}  // namespace loadcalc::ui
