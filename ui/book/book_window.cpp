#include "ui/book/book_window.h"

#include <QAction>
#include <QClipboard>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHeaderView>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QStringList>
#include <QStyle>
#include <QTabWidget>
#include <QUrl>
#include <algorithm>
#include <filesystem>
#include <map>
#include <span>
#include <string>
#include <utility>
#include <variant>

#include "book/file.h"
#include "book/recovery.h"
#include "book/schedule.h"
#include "book/schedule_edit.h"
#include "book/stated.h"
#include "calc/calculations.h"
#include "calc/fields.h"
#include "ui/book/assumptions_dialog.h"
#include "ui/book/book_commands.h"
#include "ui/book/book_document.h"
#include "ui/book/book_export.h"
#include "ui/book/schedule_model.h"
#include "ui/book/schedule_view.h"
#include "ui/clipboard_cells.h"
#include "ui/message_box.h"
#include "ui/qt_text.h"
#include "ui/text_decoding.h"

namespace loadcalc::ui {

namespace {

QString geometry_key() {
  return QStringLiteral("bookWindow/geometry");
}

// The widest member name a table commonly holds: a beam by its grid lines.
constexpr auto widest_member = u"KL12 ⑩~⑪轴/Ⓐ~Ⓑ";

template <typename Slot>
QAction* add_action(QMenu* menu, const char* name, const QString& text, BookWindow* window,
                    Slot slot, const QKeySequence& key = {}) {
  QAction* action = menu->addAction(text);
  action->setObjectName(QString::fromLatin1(name));
  action->setShortcut(key);
  QObject::connect(action, &QAction::triggered, window, slot);
  return action;
}

}  // namespace

BookWindow::BookWindow(Sheet& calculator, QWidget* calculator_window)
    : QMainWindow(calculator_window, Qt::Window),
      calculator_(calculator),
      calculator_window_(calculator_window),
      document_(new BookDocument(dialogs_, BookDocument::default_recovery_folder(), this)) {
  setObjectName(QStringLiteral("bookWindow"));
  create_central();
  create_file_menu();
  create_edit_menu();
  connect(document_, &BookDocument::path_changed, this, &BookWindow::show_name);
  connect(document_, &BookDocument::modified_changed, this, &BookWindow::setWindowModified);
  connect(&document_->model(), &BookModel::project_changed, this, &BookWindow::show_project_field);
  show_name();
  // A schedule's columns want room: beside a calculator on a 1920-pixel screen.
  resize(1080, 520);
  placed_ = restoreGeometry(QSettings().value(geometry_key()).toByteArray());
}

QPoint beside(const QRect& calculator, const QSize& size, const QRect& screen) {
  constexpr int gap = 8;
  const int top =
      std::max(screen.top(), std::min(calculator.top(), screen.bottom() + 1 - size.height()));
  const int right = calculator.right() + 1 + gap;
  if (right + size.width() <= screen.right() + 1) return {right, top};
  const int left = calculator.left() - gap - size.width();
  if (left >= screen.left()) return {left, top};
  const int below = calculator.bottom() + 1 + gap;
  const int x =
      std::max(screen.left(), std::min(calculator.left(), screen.right() + 1 - size.width()));
  if (below + size.height() <= screen.bottom() + 1) return {x, below};
  return {std::max(screen.left(), screen.right() + 1 - size.width()), top};
}

void BookWindow::showEvent(QShowEvent* event) {
  if (!placed_) {
    placed_ = true;
    // Not framed yet: its frame will be as thick as the calculator's.
    const QSize frame = calculator_window_->frameGeometry().size() - calculator_window_->size();
    const QScreen* screen = calculator_window_->screen();
    move(beside(calculator_window_->frameGeometry(), size() + frame, screen->availableGeometry()));
  }
  QMainWindow::showEvent(event);
}

void BookWindow::create_central() {
  auto* central = new QWidget(this);
  auto* grid = new QGridLayout(central);
  create_project_fields(grid);
  create_schedules(grid);
  grid->setColumnStretch(1, 1);
  grid->setColumnStretch(3, 1);
  setCentralWidget(central);
}

void BookWindow::create_project_fields(QGridLayout* grid) {
  for (std::size_t f = 0; f < project_fields.size(); ++f) {
    auto* edit = new QLineEdit(grid->parentWidget());
    // "projectName" for the key "name".
    const QString key = qstring(project_fields[f].key);
    edit->setObjectName(QStringLiteral("project") + key.left(1).toUpper() + key.mid(1));
    auto* label =
        new QLabel(qstring(project_fields[f].caption) + QStringLiteral("："), grid->parentWidget());
    label->setBuddy(edit);
    // 工程名称 across the first row; the others two to a row below it.
    const int row = f == 0 ? 0 : int(f + 1) / 2;
    const int column = f == 0 ? 0 : int(f + 1) % 2 * 2;
    grid->addWidget(label, row, column);
    grid->addWidget(edit, row, column + 1, 1, f == 0 ? 3 : 1);
    edit->installEventFilter(this);
    connect(edit, &QLineEdit::textEdited, this, [this, f](const QString& text) {
      document_->undo_stack().push(
          new EditProjectCommand(document_->model(), f, text.toStdString()));
    });
    project_edits_[f] = edit;
  }
}

// A tab a kind, in the calculation table's order.
void BookWindow::create_schedules(QGridLayout* grid) {
  tabs_ = new QTabWidget(grid->parentWidget());
  tabs_->setObjectName(QStringLiteral("schedules"));
  for (const CalculationInfo& c : calculations) {
    auto* model = new ScheduleModel(document_->model(), document_->undo_stack(), c.id, this);
    auto* view = new ScheduleView(tabs_);
    view->setObjectName(qstring(c.kind_word) + QStringLiteral("Schedule"));
    view->setModel(model);
    // Numbers and results as wide as they run; the member as wide as a long beam name; an input
    // as wide as its heading; the check message shown whole on hover; the note taking the rest.
    const QFontMetrics metrics = view->fontMetrics();
    const int padding =
        2 * view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) +
        metrics.horizontalAdvance(u'M');
    for (int column = 0; column < model->columnCount(); ++column) {
      const QString heading = model->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
      int width = metrics.horizontalAdvance(heading) + 2 * padding;
      switch (model->columns()[static_cast<std::size_t>(column)].cell) {
        case ScheduleCell::number:
          width = std::max(metrics.horizontalAdvance(heading),
                           metrics.horizontalAdvance(QStringLiteral("0000"))) +
                  padding;
          break;
        case ScheduleCell::name:
          width = metrics.horizontalAdvance(QString::fromUtf16(widest_member)) + padding;
          break;
        case ScheduleCell::check:
          width = 200;
          break;
        default:
          break;
      }
      view->setColumnWidth(column, width);
    }
    connect(view, &QAbstractItemView::doubleClicked, this, [this, model](const QModelIndex& i) {
      if (model->columns()[static_cast<std::size_t>(i.column())].cell == ScheduleCell::number)
        open_in_calculator(model->book_row(i.row()));
    });
    tabs_->addTab(view, qstring(c.kind_name));
    schedules_.push_back({model, view});
  }
  grid->addWidget(tabs_, 4, 0, 1, 4);
}

ScheduleView* BookWindow::schedule(Calculation kind) const {
  for (const Schedule& s : schedules_)
    if (s.model->kind() == kind) return s.view;
  return nullptr;
}

ScheduleModel& BookWindow::schedule_model(Calculation kind) const {
  return *static_cast<ScheduleModel*>(schedule(kind)->model());
}

ScheduleView* BookWindow::current_schedule() const {
  return static_cast<ScheduleView*>(tabs_->currentWidget());
}

// Keys written out rather than taken from the platform's standard ones: those leave 另存为 without
// a key on Windows and 重做 without Ctrl+Y elsewhere.
void BookWindow::create_file_menu() {
  QMenu* file = menuBar()->addMenu(QStringLiteral("文件(&F)"));
  add_action(file, "newBook", QStringLiteral("新建(&N)"), this, &BookWindow::new_book,
             QKeySequence(Qt::CTRL | Qt::Key_N));
  add_action(
      file, "openBook", QStringLiteral("打开(&O)…"), this, [this] { open(); },
      QKeySequence(Qt::CTRL | Qt::Key_O));
  add_action(file, "saveBook", QStringLiteral("保存(&S)"), this, &BookWindow::save,
             QKeySequence(Qt::CTRL | Qt::Key_S));
  add_action(file, "saveBookAs", QStringLiteral("另存为(&A)…"), this, &BookWindow::save_as,
             QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
  add_action(file, "importSchedule", QStringLiteral("导入计算表(&I)…"), this,
             [this] { import_file(); });
  recent_menu_ = file->addMenu(QStringLiteral("最近的文件(&R)"));
  connect(recent_menu_, &QMenu::aboutToShow, this, &BookWindow::fill_recent_menu);
  create_export_menu(file->addMenu(QStringLiteral("导出(&E)")));
  add_action(file, "printBook", QStringLiteral("打印(&P)…"), this, &BookWindow::print,
             QKeySequence(Qt::CTRL | Qt::Key_P));
  file->addSeparator();
  add_action(file, "closeBook", QStringLiteral("关闭(&C)"), this, &QWidget::close,
             QKeySequence(Qt::CTRL | Qt::Key_W));
}

// "PDF…" and its kin, one for each export format.
void BookWindow::create_export_menu(QMenu* exports) {
  for (const ExportFormat& format : export_formats()) {
    const QString extension = qstring(format.extension);
    QAction* action = exports->addAction(u'&' + extension.toUpper() + u'…');
    action->setObjectName(QStringLiteral("export") + extension.front().toUpper() +
                          extension.mid(1));
    connect(action, &QAction::triggered, this, [this, &format] { export_as(format); });
  }
}

void BookWindow::create_edit_menu() {
  QMenu* edit = menuBar()->addMenu(QStringLiteral("编辑(&E)"));
  QAction* undo = document_->undo_stack().createUndoAction(this, QStringLiteral("撤销(&U)"));
  undo->setObjectName(QStringLiteral("undo"));
  undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
  QAction* redo = document_->undo_stack().createRedoAction(this, QStringLiteral("重做(&R)"));
  redo->setObjectName(QStringLiteral("redo"));
  redo->setShortcuts(
      {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
  edit->addAction(undo);
  edit->addAction(redo);
  edit->addSeparator();
  // Keys that mean something else in a project field act on the schedules only; an open cell's
  // editor keeps those it has (Ctrl+C copies its text).
  add_table_action(add_action(edit, "copyCells", QStringLiteral("复制(&C)"), this,
                              &BookWindow::copy_cells, QKeySequence(Qt::CTRL | Qt::Key_C)));
  add_table_action(add_action(edit, "pasteCells", QStringLiteral("粘贴(&P)"), this,
                              &BookWindow::paste_cells, QKeySequence(Qt::CTRL | Qt::Key_V)));
  add_table_action(add_action(edit, "fillDown", QStringLiteral("向下填充(&F)"), this,
                              &BookWindow::fill_down, QKeySequence(Qt::CTRL | Qt::Key_D)));
  edit->addSeparator();
  // The menu shows the first key; the second is the main keyboard's Enter.
  QAction* insert = add_action(edit, "insertEntry", QStringLiteral("插入行(&I)"), this,
                               &BookWindow::insert_entry);
  insert->setShortcuts(
      {QKeySequence(Qt::CTRL | Qt::Key_Enter), QKeySequence(Qt::CTRL | Qt::Key_Return)});
  add_table_action(insert);
  QAction* remove = add_action(edit, "deleteEntry", QStringLiteral("删除行(&D)"), this,
                               &BookWindow::delete_entry);
  remove->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Enter),
                        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Return)});
  add_table_action(remove);
  add_action(edit, "duplicateEntry", QStringLiteral("复制条目(&L)"), this,
             &BookWindow::duplicate_entry);
  add_action(edit, "renameEntry", QStringLiteral("重命名(&M)"), this, &BookWindow::rename_entry);
  add_action(edit, "editNote", QStringLiteral("编辑备注(&B)"), this, &BookWindow::edit_note);
  add_table_action(add_action(edit, "moveEntryUp", QStringLiteral("上移(&K)"), this,
                              &BookWindow::move_entry_up, QKeySequence(Qt::CTRL | Qt::Key_Up)));
  add_table_action(add_action(edit, "moveEntryDown", QStringLiteral("下移(&J)"), this,
                              &BookWindow::move_entry_down, QKeySequence(Qt::CTRL | Qt::Key_Down)));
  add_action(edit, "editAssumptions", QStringLiteral("计算假定(&A)…"), this,
             &BookWindow::edit_entry_assumptions, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A));
  edit->addSeparator();
  add_action(edit, "openInCalculator", QStringLiteral("在计算器中打开(&O)"), this,
             &BookWindow::open_current_entry, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O));
  add_action(edit, "updateEntry", QStringLiteral("更新条目(&E)"), this,
             &BookWindow::update_current_entry);
}

void BookWindow::add_table_action(QAction* action) {
  action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  tabs_->addAction(action);
}

bool BookWindow::eventFilter(QObject* watched, QEvent* event) {
  // A project field's own undo would bypass the book's: leave Ctrl+Z and its kin to the window.
  if (event->type() == QEvent::ShortcutOverride) {
    const auto* key = static_cast<QKeyEvent*>(event);
    const QKeySequence pressed(key->keyCombination());
    const auto is_key_of = [&](const char* action) {
      return findChild<QAction*>(QString::fromLatin1(action))->shortcuts().contains(pressed);
    };
    if (is_key_of("undo") || is_key_of("redo")) {
      event->ignore();
      return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void BookWindow::closeEvent(QCloseEvent* event) {
  if (!document_->maybe_save()) {
    event->ignore();
    return;
  }
  // Closed is gone: the recovery copy with it, and the next 加入计算书 starts a new book.
  document_->clear();
  QSettings().setValue(geometry_key(), saveGeometry());
  event->accept();
}

void BookWindow::show_name() {
  const QString read_only = document_->is_read_only() ? QStringLiteral("（只读）") : QString();
  setWindowTitle(plain_title(document_->name()) + read_only + QStringLiteral("[*] — 计算书"));
}

void BookWindow::show_project_field(int field) {
  const QString text =
      qstring(document_->book().project.*project_fields[std::size_t(field)].member);
  QLineEdit* edit = project_edits_[std::size_t(field)];
  if (edit->text() != text) edit->setText(text);
}

void BookWindow::new_book() {
  if (document_->maybe_save()) document_->clear();
}

bool BookWindow::open(const QString& path) {
  QString chosen = path;
  if (chosen.isEmpty())
    // Asked from the calculator, this window may not be on screen yet.
    chosen = QFileDialog::getOpenFileName(
        isVisible() ? this : calculator_window_, QStringLiteral("打开计算书"),
        QFileInfo(document_->path()).absolutePath(), QStringLiteral("计算书 (*.lcbook)"));
  if (chosen.isEmpty()) return false;
  document_->open(chosen);
  return !document_->path().isEmpty() && QFileInfo(document_->path()) == QFileInfo(chosen);
}

bool BookWindow::import_file(const QString& path) {
  const QString title = QStringLiteral("导入计算表");
  QString chosen = path;
  if (chosen.isEmpty())
    chosen =
        QFileDialog::getOpenFileName(this, title, QFileInfo(document_->path()).absolutePath(),
                                     QStringLiteral("计算表 (*.csv *.tsv *.txt);;所有文件 (*)"));
  if (chosen.isEmpty()) return false;
  std::string bytes;
  if (const auto error =
          read_schedule_file(std::filesystem::path(chosen.toStdU16String()), bytes)) {
    warn(this, title, qstring(*error));
    return false;
  }
  auto text = decode_text(bytes);
  if (const auto* error = std::get_if<DecodeError>(&text)) {
    warn(this, title, qstring(error->message));
    return false;
  }
  Book imported = document_->book();
  const auto report = loadcalc::import_schedule(std::get<std::string>(text), imported);
  if (const auto* error = std::get_if<ReadError>(&report)) {
    warn(this, title, qstring(error->message));
    return false;
  }
  const ImportReport& r = std::get<ImportReport>(report);
  const int first = document_->model().size();
  document_->undo_stack().push(
      new SetEntriesCommand(document_->model(), std::move(imported.entries), title));
  int refused = 0;
  for (int row = first; row < document_->model().size(); ++row)
    refused += !document_->model().result(row).valid;
  QString summary = qstring(import_summary(r.added, r.defaulted.size()));
  if (refused > 0) summary += QStringLiteral("；%1 条未通过检查").arg(refused);
  statusBar()->showMessage(summary);
  if (r.added > 0) select_row(first);
  return true;
}

void BookWindow::save() {
  document_->save();
}

void BookWindow::save_as() {
  document_->save_as();
}

void BookWindow::fill_recent_menu() {
  recent_menu_->clear();
  const QStringList recent = document_->recent_files().files();
  for (const QString& path : recent)
    connect(recent_menu_->addAction(plain_menu_text(QDir::toNativeSeparators(path))),
            &QAction::triggered, this, [this, path] { document_->open(path); });
  if (recent.isEmpty()) recent_menu_->addAction(QStringLiteral("（无）"))->setEnabled(false);
}

void BookWindow::export_as(const ExportFormat& format) {
  const QString suffix = qstring(format.extension);
  QString path = QFileDialog::getSaveFileName(
      this, QStringLiteral("导出计算书"),
      proposed_path(document_->path(), document_->book().project.name, QDir::homePath(), suffix),
      export_filter(format));
  if (path.isEmpty()) return;
  if (QFileInfo(path).suffix().compare(suffix, Qt::CaseInsensitive) != 0) path += u'.' + suffix;
  // Shown only when the export outlasts a second: a short one should not flash a dialog.
  QProgressDialog progress(QStringLiteral("正在导出计算书…"), QStringLiteral("取消"), 0, 0, this);
  progress.setWindowTitle(QStringLiteral("导出计算书"));
  progress.setWindowModality(Qt::WindowModal);
  progress.setMinimumDuration(1000);
  // Kept apart from the dialog, whose reset at the last step forgets a 取消.
  bool cancelled = false;
  const QString error = export_book(document_->book(), path, [&](int step, int steps) {
    progress.setMaximum(steps);
    progress.setValue(step);
    cancelled = progress.wasCanceled();
    return !cancelled;
  });
  progress.reset();
  if (cancelled) {
    statusBar()->showMessage(error);
    return;
  }
  if (!error.isEmpty()) {
    warn(this, QStringLiteral("导出计算书"), error);
    return;
  }
  show_exported(path);
}

// Where the export went, and a button to open its folder until the status bar says something
// else.
void BookWindow::show_exported(const QString& path) {
  auto* open_folder = statusBar()->findChild<QPushButton*>(QStringLiteral("openExportFolder"));
  if (!open_folder) {
    open_folder = new QPushButton(QStringLiteral("打开所在文件夹"), statusBar());
    open_folder->setObjectName(QStringLiteral("openExportFolder"));
    statusBar()->addPermanentWidget(open_folder);
    connect(statusBar(), &QStatusBar::messageChanged, open_folder,
            [open_folder](const QString& message) {
              if (message.isEmpty()) open_folder->hide();
            });
  }
  const QString folder = QFileInfo(path).absolutePath();
  open_folder->disconnect(this);
  connect(open_folder, &QPushButton::clicked, this,
          [folder] { QDesktopServices::openUrl(QUrl::fromLocalFile(folder)); });
  statusBar()->showMessage(QStringLiteral("已导出到 %1").arg(QDir::toNativeSeparators(path)));
  open_folder->show();
}

void BookWindow::print() {
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(QStringLiteral("计算书"));
  QPrintDialog dialog(&printer, this);
  dialog.setWindowTitle(QStringLiteral("打印计算书"));
  if (dialog.exec() == QDialog::Accepted) print_book(document_->book(), printer);
}

int BookWindow::current_row() const {
  const ScheduleView* view = current_schedule();
  const QModelIndex index = view ? view->currentIndex() : QModelIndex();
  return index.isValid() ? static_cast<const ScheduleModel*>(view->model())->book_row(index.row())
                         : -1;
}

void BookWindow::select_row(int row) {
  if (row < 0 || row >= document_->model().size()) return;
  ScheduleView* view = schedule(document_->model().entry(row).kind);
  const auto* model = static_cast<const ScheduleModel*>(view->model());
  tabs_->setCurrentWidget(view);
  const QModelIndex current = view->currentIndex();
  const int column = current.isValid() ? current.column() : model->column_of(ScheduleCell::name);
  view->setCurrentIndex(model->index(model->row_of(row), column));
}

void BookWindow::edit_cell(int row, ScheduleCell cell) {
  if (row < 0) return;
  ScheduleView* view = current_schedule();
  const auto* model = static_cast<const ScheduleModel*>(view->model());
  const QModelIndex index = model->index(model->row_of(row), model->column_of(cell));
  view->setCurrentIndex(index);
  view->edit(index);
}

void BookWindow::rename_entry() {
  edit_cell(current_row(), ScheduleCell::name);
}

void BookWindow::edit_note() {
  edit_cell(current_row(), ScheduleCell::note);
}

void BookWindow::duplicate_entry() {
  const int row = current_row();
  if (row < 0) return;
  Entry copy = document_->model().entry(row);
  copy.name += "（副本）";
  document_->undo_stack().push(new AddEntryCommand(document_->model(), row + 1, std::move(copy),
                                                   QStringLiteral("复制条目")));
  select_row(row + 1);
}

// Below the current row of the tab, or after the kind's last entry, or at the book's end: the
// book's order across kinds stays as it was.
void BookWindow::insert_entry() {
  ScheduleView* view = current_schedule();
  view->commit_edit();
  const ScheduleModel& model = *static_cast<const ScheduleModel*>(view->model());
  int row = current_row();
  if (row < 0 && model.rowCount() > 0) row = model.book_row(model.rowCount() - 1);
  const int at = row < 0 ? document_->model().size() : row + 1;
  document_->undo_stack().push(new AddEntryCommand(document_->model(), at,
                                                   new_entry(document_->book(), model.kind()),
                                                   QStringLiteral("插入行")));
  view->setCurrentIndex(model.index(model.row_of(at), model.column_of(ScheduleCell::name)));
}

// Every row with a selected cell, as one step.
void BookWindow::delete_entry() {
  ScheduleView* view = current_schedule();
  view->commit_edit();
  const auto& model = *static_cast<const ScheduleModel*>(view->model());
  const QList<int> rows = view->selected_rows();
  if (rows.isEmpty()) return;
  const int column = view->currentIndex().isValid() ? view->currentIndex().column()
                                                    : model.column_of(ScheduleCell::name);
  QUndoStack& undo = document_->undo_stack();
  undo.beginMacro(QStringLiteral("删除行"));
  // From the bottom up, so that each book row still names its entry.
  for (auto it = rows.rbegin(); it != rows.rend(); ++it)
    undo.push(new RemoveEntryCommand(document_->model(), model.book_row(*it)));
  undo.endMacro();
  const int left = std::min(rows.front(), model.rowCount() - 1);
  if (left >= 0) view->setCurrentIndex(model.index(left, column));
}

void BookWindow::fill_down() {
  ScheduleView* view = current_schedule();
  view->commit_edit();
  static_cast<ScheduleModel*>(view->model())->fill_down(view->selectionModel()->selectedIndexes());
}

void BookWindow::copy_cells() {
  const ScheduleView* view = current_schedule();
  QModelIndexList cells = view->selectionModel()->selectedIndexes();
  if (cells.isEmpty() && view->currentIndex().isValid()) cells << view->currentIndex();
  if (cells.isEmpty()) return;
  QGuiApplication::clipboard()->setMimeData(view->model()->mimeData(cells));
}

// From the selection's top left cell (else the current one, else below the last row), as one
// step however many rows it fills or adds.
void BookWindow::paste_cells() {
  ScheduleView* view = current_schedule();
  view->commit_edit();
  const auto& model = *static_cast<const ScheduleModel*>(view->model());
  const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
  const Cells cells = mime ? cells_from_mime(*mime) : Cells();
  if (cells.empty()) return;
  int row = model.rowCount(), column = model.column_of(ScheduleCell::name);
  const QModelIndexList selected = view->selectionModel()->selectedIndexes();
  if (!selected.isEmpty()) {
    row = model.rowCount();
    column = model.columnCount();
    for (const QModelIndex& i : selected) {
      row = std::min(row, i.row());
      column = std::min(column, i.column());
    }
  } else if (view->currentIndex().isValid()) {
    row = view->currentIndex().row();
    column = view->currentIndex().column();
  }
  const QString title = QStringLiteral("粘贴");
  auto pasted = paste_block(document_->book(), model.kind(), static_cast<std::size_t>(row),
                            static_cast<std::size_t>(column), cells);
  if (const auto* error = std::get_if<ReadError>(&pasted)) {
    warn(this, title, qstring(error->message));
    return;
  }
  PasteResult& result = std::get<PasteResult>(pasted);
  if (result.changed == 0 && result.added == 0) return;
  document_->undo_stack().push(
      new SetEntriesCommand(document_->model(), std::move(result.entries), title));
  statusBar()->showMessage(
      QStringLiteral("粘贴：修改 %1 条，新增 %2 条").arg(result.changed).arg(result.added));
  view->setCurrentIndex(model.index(std::min(row, model.rowCount() - 1), column));
}

void BookWindow::move_entry_up() {
  move_entry_by(-1);
}

void BookWindow::move_entry_down() {
  move_entry_by(1);
}

// Past the next entry of the same kind, so that the tab shows the move; entries of other kinds
// between the two keep their order.
void BookWindow::move_entry_by(int step) {
  ScheduleView* view = current_schedule();
  view->commit_edit();
  const auto& model = *static_cast<const ScheduleModel*>(view->model());
  const int row = current_row();
  if (row < 0) return;
  const int next = model.row_of(row) + step;
  if (next < 0 || next >= model.rowCount()) return;
  const int to = model.book_row(next);
  document_->undo_stack().push(new MoveEntryCommand(document_->model(), row, to));
  select_row(to);
}

void BookWindow::update_current_entry() {
  if (const int row = current_row(); row >= 0) update_entry(row);
}

void BookWindow::open_current_entry() {
  if (const int row = current_row(); row >= 0) open_in_calculator(row);
}

void BookWindow::append(Entry entry) {
  const int row = document_->model().size();
  document_->undo_stack().push(
      new AddEntryCommand(document_->model(), row, std::move(entry), QStringLiteral("加入计算书")));
  select_row(row);
}

void BookWindow::load_into_calculator(int row) {
  // A copy: a check's message box runs events, and the book may change under it.
  const CalculatorView view = calculator_view(document_->model().entry(row));
  for (const auto& [field, text] : view.texts) calculator_.set_text(field, text);
  calculator_window_->raise();
  calculator_window_->activateWindow();
}

bool calculator_texts_kept(const Sheet& calculator, const Book& book, Calculation kind) {
  const std::span<const Field> own = calculation_info(kind).reads;
  std::vector<std::string> texts;
  texts.reserve(own.size());
  for (Field f : own) texts.push_back(calculator.text(f));
  const auto holds = [&](auto text_of) {
    for (std::size_t i = 0; i < own.size(); ++i)
      if (texts[i] != text_of(own[i])) return false;
    return true;
  };
  if (holds([](Field f) { return std::string(field_info(f).default_text); })) return true;
  return std::any_of(book.entries.begin(), book.entries.end(), [&](const Entry& e) {
    if (e.kind != kind) return false;
    // What opening the entry put into the calculator, its stated figures shown as texts.
    const CalculatorView view = calculator_view(e);
    return holds([&view](Field f) { return view.texts.at(f); });
  });
}

bool BookWindow::open_in_calculator(int row) {
  const Entry& entry = document_->model().entry(row);
  if (!calculator_texts_kept(calculator_, document_->book(), entry.kind) &&
      !dialogs_.ask_overwrite_calculator(qstring(calculation_info(entry.kind).kind_name),
                                         qstring(entry.name)))
    return false;
  const std::vector<std::string> unshown = calculator_view(entry).unshown;
  if (!unshown.empty()) {
    QStringList lines;
    for (const std::string& line : unshown) lines << qstring(line);
    if (!dialogs_.ask_open_unshown(qstring(entry.name), lines)) return false;
  }
  load_into_calculator(row);
  return true;
}

void BookWindow::edit_entry_assumptions() {
  const int row = current_row();
  if (row < 0) return;
  const Entry entry = document_->model().entry(row);
  auto edited = edit_assumptions(this, entry, entry.assumptions);
  if (!edited) return;
  Entry updated = restated(entry, std::move(*edited));
  if (updated == entry) return;
  auto* command = new UpdateEntryCommand(document_->model(), row, std::move(updated));
  command->setText(QStringLiteral("计算假定"));
  document_->undo_stack().push(command);
}

void BookWindow::update_entry(int row) {
  const Entry& old = document_->model().entry(row);
  std::map<Field, std::string> texts;
  for (Field f : calculation_info(old.kind).reads) texts[f] = calculator_.text(f);
  Entry updated = taken_back(old, texts);
  if (updated == old) return;
  document_->undo_stack().push(new UpdateEntryCommand(document_->model(), row, std::move(updated)));
}

void BookWindow::add_from_calculator(Calculation c) {
  const Book& book = document_->book();
  const auto same_kind = std::count_if(book.entries.begin(), book.entries.end(),
                                       [c](const Entry& e) { return e.kind == c; });
  bool ok = false;
  const QString name = QInputDialog::getText(
      calculator_window_, QStringLiteral("加入计算书"), QStringLiteral("构件名称："),
      QLineEdit::Normal,
      qstring(calculation_info(c).member_word) + u' ' + QString::number(same_kind + 1), &ok);
  if (!ok || name.trimmed().isEmpty()) return;
  append(entry_from_sheet(calculator_, c, name.trimmed().toStdString()));
  show();
  raise();
}

}  // namespace loadcalc::ui
