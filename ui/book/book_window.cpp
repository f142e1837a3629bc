#include "ui/book/book_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSettings>
#include <QTableView>
#include <QUndoStack>
#include <algorithm>
#include <filesystem>
#include <utility>

#include "ui/book/book_commands.h"
#include "ui/book/book_export.h"
#include "ui/book/book_model.h"
#include "ui/qt_text.h"
#include "ui/storage.h"

namespace loadcalc::ui {

namespace {

constexpr int recent_limit = 8;
const QString recent_key = QStringLiteral("recentBooks");

std::filesystem::path fs_path(const QString& path) {
  return std::filesystem::path(path.toStdU16String());
}

QString recovery_folder() {
  return data_folder();
}

std::filesystem::path recovery_copy() {
  return fs_path(recovery_folder() + QStringLiteral("/recovery.lcbook"));
}

// None while another running copy of the program holds it; a crashed one's lock is taken over.
std::unique_ptr<QLockFile> lock_recovery() {
  if (!QDir().mkpath(recovery_folder())) return nullptr;
  auto lock = std::make_unique<QLockFile>(recovery_folder() + QStringLiteral("/recovery.lock"));
  lock->setStaleLockTime(0);
  if (!lock->tryLock(0)) return nullptr;
  return lock;
}

EntryKind kind_of(Calculation c) {
  for (const KindInfo& k : entry_kinds)
    if (k.calculation == c) return k.kind;
  return EntryKind::beam;
}

}  // namespace

BookWindow::BookWindow(Sheet& calculator, QWidget* calculator_window)
    : QMainWindow(calculator_window, Qt::Window),
      calculator_(calculator),
      calculator_window_(calculator_window) {
  setObjectName(QStringLiteral("bookWindow"));
  model_ = new BookModel(this);
  undo_ = new QUndoStack(this);
  build_central();
  build_menus();
  connect(undo_, &QUndoStack::indexChanged, this, &BookWindow::book_changed);
  connect(undo_, &QUndoStack::cleanChanged, this, &BookWindow::book_changed);
  connect(model_, &BookModel::project_changed, this, [this](int f) {
    const QString text = qstring(model_->book().project.*project_fields[std::size_t(f)].member);
    QLineEdit* edit = project_edits_[std::size_t(f)];
    if (edit->text() != text) edit->setText(text);
  });
  connect(model_, &BookModel::rename_requested, this, [this](int row, const QString& name) {
    Entry renamed = model_->entry(row);
    const std::string text = name.trimmed().toStdString();
    if (text.empty() || text == renamed.name) return;
    renamed.name = text;
    undo_->push(new ReplaceEntry(*model_, row, std::move(renamed), QStringLiteral("重命名")));
  });
  set_book({}, {});
  resize(720, 480);
}

BookWindow::~BookWindow() {
  // The stack clears itself as it goes, which is no clean close: the recovery copy stays.
  undo_->disconnect(this);
}

void BookWindow::build_central() {
  auto* central = new QWidget(this);
  auto* grid = new QGridLayout(central);
  for (std::size_t f = 0; f < project_fields.size(); ++f) {
    auto* edit = new QLineEdit(central);
    edit->setObjectName(qstring(project_fields[f].object_name));
    auto* label = new QLabel(qstring(project_fields[f].label) + QStringLiteral("："), central);
    label->setBuddy(edit);
    // 工程名称 across the first row; the others two to a row below it.
    const int row = f == 0 ? 0 : int(f + 1) / 2;
    const int column = f == 0 ? 0 : int(f + 1) % 2 * 2;
    grid->addWidget(label, row, column);
    grid->addWidget(edit, row, column + 1, 1, f == 0 ? 3 : 1);
    edit->installEventFilter(this);
    connect(edit, &QLineEdit::textEdited, this, [this, f](const QString& text) {
      undo_->push(new ProjectEdit(*model_, f, text.toStdString()));
    });
    project_edits_[f] = edit;
  }
  table_ = new QTableView(central);
  table_->setObjectName(QStringLiteral("entries"));
  table_->setModel(model_);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->setEditTriggers(QAbstractItemView::EditKeyPressed);
  table_->verticalHeader()->hide();
  table_->horizontalHeader()->setStretchLastSection(true);
  table_->setColumnWidth(BookModel::member_column, 180);
  table_->setColumnWidth(BookModel::kind_column, 100);
  table_->setColumnWidth(BookModel::result_column, 110);
  // Double-click or Enter: the entry into the calculator.
  connect(table_, &QAbstractItemView::activated, this,
          [this](const QModelIndex& index) { load_into_calculator(index.row()); });
  grid->addWidget(table_, 4, 0, 1, 4);
  grid->setColumnStretch(1, 1);
  grid->setColumnStretch(3, 1);
  setCentralWidget(central);
}

void BookWindow::build_menus() {
  const auto add = [this](QMenu* menu, const char* name, const QString& text, auto slot,
                          QKeySequence key = {}) {
    auto* action = menu->addAction(text);
    action->setObjectName(QString::fromLatin1(name));
    if (!key.isEmpty()) action->setShortcut(key);
    connect(action, &QAction::triggered, this, slot);
    return action;
  };
  QMenu* file = menuBar()->addMenu(QStringLiteral("文件(&F)"));
  add(
      file, "newBook", QStringLiteral("新建"),
      [this] {
        if (settle()) set_book({}, {});
      },
      QKeySequence::New);
  add(
      file, "openBook", QStringLiteral("打开…"),
      [this] {
        const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("打开计算书"),
                                                          QFileInfo(path_).absolutePath(),
                                                          QStringLiteral("计算书 (*.lcbook)"));
        if (!path.isEmpty()) open_file(path);
      },
      QKeySequence::Open);
  add(
      file, "saveBook", QStringLiteral("保存"), [this] { save(); }, QKeySequence::Save);
  add(
      file, "saveBookAs", QStringLiteral("另存为…"), [this] { save_as(); }, QKeySequence::SaveAs);
  recent_menu_ = file->addMenu(QStringLiteral("最近的文件"));
  connect(recent_menu_, &QMenu::aboutToShow, this, &BookWindow::fill_recent_menu);
  QMenu* exports = file->addMenu(QStringLiteral("导出"));
  add(exports, "exportPdf", QStringLiteral("PDF…"),
      [this] { export_as(QStringLiteral("pdf"), QStringLiteral("PDF (*.pdf)")); });
  add(exports, "exportOdt", QStringLiteral("ODT…"),
      [this] { export_as(QStringLiteral("odt"), QStringLiteral("ODF 文本文档 (*.odt)")); });
  add(exports, "exportHtml", QStringLiteral("HTML…"),
      [this] { export_as(QStringLiteral("html"), QStringLiteral("HTML (*.html)")); });
  add(exports, "exportCsv", QStringLiteral("CSV…"),
      [this] { export_as(QStringLiteral("csv"), QStringLiteral("CSV (*.csv)")); });
  add(
      file, "printBook", QStringLiteral("打印…"), [this] { print(); }, QKeySequence::Print);
  file->addSeparator();
  add(
      file, "closeBook", QStringLiteral("关闭"), [this] { close(); }, QKeySequence::Close);

  QMenu* edit = menuBar()->addMenu(QStringLiteral("编辑(&E)"));
  QAction* undo = undo_->createUndoAction(this, QStringLiteral("撤销"));
  undo->setObjectName(QStringLiteral("undo"));
  undo->setShortcut(QKeySequence::Undo);
  QAction* redo = undo_->createRedoAction(this, QStringLiteral("重做"));
  redo->setObjectName(QStringLiteral("redo"));
  redo->setShortcut(QKeySequence::Redo);
  edit->addAction(undo);
  edit->addAction(redo);
  edit->addSeparator();
  // Keys that mean something else in a project field act on the table only.
  const auto table_key = [this](QAction* action) {
    action->setShortcutContext(Qt::WidgetShortcut);
    table_->addAction(action);
  };
  table_key(add(
      edit, "renameEntry", QStringLiteral("重命名"),
      [this] {
        if (const int row = current_row(); row >= 0)
          table_->edit(model_->index(row, BookModel::member_column));
      },
      QKeySequence(Qt::Key_F2)));
  add(edit, "duplicateEntry", QStringLiteral("复制条目"), [this] {
    const int row = current_row();
    if (row < 0) return;
    Entry copy = model_->entry(row);
    copy.name += "（副本）";
    undo_->push(new InsertEntry(*model_, row + 1, std::move(copy), QStringLiteral("复制条目")));
    select_row(row + 1);
  });
  table_key(add(
      edit, "deleteEntry", QStringLiteral("删除"),
      [this] {
        const int row = current_row();
        if (row < 0) return;
        undo_->push(InsertEntry::removal(*model_, row));
        select_row(std::min(row, model_->size() - 1));
      },
      QKeySequence::Delete));
  const auto move_by = [this](int step) {
    const int row = current_row();
    if (row < 0 || row + step < 0 || row + step >= model_->size()) return;
    undo_->push(new MoveEntry(*model_, row, row + step,
                              step < 0 ? QStringLiteral("上移") : QStringLiteral("下移")));
    select_row(row + step);
  };
  add(
      edit, "moveEntryUp", QStringLiteral("上移"), [move_by] { move_by(-1); },
      QKeySequence(Qt::CTRL | Qt::Key_Up));
  add(
      edit, "moveEntryDown", QStringLiteral("下移"), [move_by] { move_by(1); },
      QKeySequence(Qt::CTRL | Qt::Key_Down));
  edit->addSeparator();
  add(edit, "updateEntry", QStringLiteral("更新条目"), [this] {
    if (const int row = current_row(); row >= 0) update_entry(row);
  });
}

bool BookWindow::eventFilter(QObject* watched, QEvent* event) {
  // A project field's own undo would bypass the book's: leave Ctrl+Z and its kin to the window.
  if (event->type() == QEvent::ShortcutOverride) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo)) {
      event->ignore();
      return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

int BookWindow::current_row() const {
  const QModelIndex index = table_->currentIndex();
  return index.isValid() ? index.row() : -1;
}

void BookWindow::select_row(int row) {
  if (row >= 0 && row < model_->size()) table_->selectRow(row);
}

void BookWindow::set_path(const QString& path) {
  path_ = path;
  const QString name = path.isEmpty() ? QStringLiteral("未命名") : QFileInfo(path).fileName();
  setWindowTitle(name + QStringLiteral("[*] — 计算书"));
}

void BookWindow::set_book(Book book, const QString& path) {
  model_->reset(std::move(book));
  undo_->clear();
  set_path(path);
  book_changed();
}

void BookWindow::adopt(Book book, const QString& path) {
  set_book(std::move(book), path);
  // Nothing to undo, and yet not saved.
  undo_->resetClean();
  book_changed();
}

void BookWindow::book_changed() {
  const bool clean = undo_->isClean();
  setWindowModified(!clean);
  if (!recovery_lock_) {
    if (clean) return;
    recovery_lock_ = lock_recovery();
    if (!recovery_lock_) return;
  }
  if (clean)
    discard_recovery(recovery_copy());
  else
    write_recovery(recovery_copy(), model_->book(), fs_path(path_));
}

QString BookWindow::open_file(const QString& path) {
  if (!settle()) return {};
  auto loaded = load_book(fs_path(path));
  if (auto* error = std::get_if<ReadError>(&loaded)) {
    const QString message = qstring(error->message);
    QMessageBox::warning(this, QStringLiteral("打开计算书"), message);
    return message;
  }
  set_book(std::move(std::get<Book>(loaded)), QFileInfo(path).absoluteFilePath());
  remember_recent(path_);
  return {};
}

bool BookWindow::save() {
  return path_.isEmpty() ? save_as() : save_to(path_);
}

bool BookWindow::save_as() {
  QString path = QFileDialog::getSaveFileName(
      this, QStringLiteral("另存为"),
      path_.isEmpty() ? QDir::homePath() + QStringLiteral("/未命名.lcbook") : path_,
      QStringLiteral("计算书 (*.lcbook)"));
  if (path.isEmpty()) return false;
  if (!path.endsWith(QStringLiteral(".lcbook"), Qt::CaseInsensitive))
    path += QStringLiteral(".lcbook");
  return save_to(path);
}

bool BookWindow::save_to(const QString& path) {
  if (const auto error = save_book(fs_path(path), model_->book())) {
    QMessageBox::warning(this, QStringLiteral("保存计算书"), qstring(*error));
    return false;
  }
  set_path(QFileInfo(path).absoluteFilePath());
  undo_->setClean();
  book_changed();
  remember_recent(path_);
  return true;
}

bool BookWindow::settle() {
  if (undo_->isClean()) return true;
  QMessageBox box(
      QMessageBox::Warning, QStringLiteral("计算书"),
      QStringLiteral("计算书“%1”有未保存的修改，是否保存？")
          .arg(path_.isEmpty() ? QStringLiteral("未命名") : QFileInfo(path_).fileName()),
      QMessageBox::NoButton, this);
  QPushButton* keep = box.addButton(QStringLiteral("保存"), QMessageBox::AcceptRole);
  QPushButton* drop = box.addButton(QStringLiteral("不保存"), QMessageBox::DestructiveRole);
  QPushButton* cancel = box.addButton(QStringLiteral("取消"), QMessageBox::RejectRole);
  box.setDefaultButton(keep);
  box.setEscapeButton(cancel);
  box.exec();
  if (box.clickedButton() == keep) return save();
  return box.clickedButton() == drop;
}

void BookWindow::closeEvent(QCloseEvent* event) {
  if (!settle()) {
    event->ignore();
    return;
  }
  // Closed is gone: the recovery copy with it, and the next 加入计算书 starts a new book.
  set_book({}, {});
  event->accept();
}

void BookWindow::append(Entry entry) {
  const int row = model_->size();
  undo_->push(new InsertEntry(*model_, row, std::move(entry), QStringLiteral("加入计算书")));
  select_row(row);
}

void BookWindow::load_into_calculator(int row) {
  // A copy: a check's message box runs events, and the book may change under it.
  const Entry entry = model_->entry(row);
  for (const auto& [field, text] : entry.texts) calculator_.set_text(field, text);
  calculator_window_->raise();
  calculator_window_->activateWindow();
}

void BookWindow::update_entry(int row) {
  const Entry& old = model_->entry(row);
  Entry updated = entry_from_sheet(calculator_, old.kind, old.name);
  updated.note = old.note;
  if (updated == old) return;
  undo_->push(new ReplaceEntry(*model_, row, std::move(updated), QStringLiteral("更新条目")));
}

void BookWindow::remember_recent(const QString& path) {
  QSettings settings;
  QStringList recent = settings.value(recent_key).toStringList();
  recent.removeAll(path);
  recent.prepend(path);
  while (recent.size() > recent_limit) recent.removeLast();
  settings.setValue(recent_key, recent);
}

void BookWindow::fill_recent_menu() {
  recent_menu_->clear();
  const QStringList recent = QSettings().value(recent_key).toStringList();
  for (const QString& path : recent)
    connect(recent_menu_->addAction(QDir::toNativeSeparators(path)), &QAction::triggered, this,
            [this, path] { open_file(path); });
  if (recent.isEmpty()) recent_menu_->addAction(QStringLiteral("（无）"))->setEnabled(false);
}

void BookWindow::export_as(const QString& suffix, const QString& filter) {
  const QFileInfo book(path_.isEmpty() ? QDir::homePath() + QStringLiteral("/未命名.lcbook")
                                       : path_);
  QString path = QFileDialog::getSaveFileName(
      this, QStringLiteral("导出计算书"),
      book.absolutePath() + u'/' + book.completeBaseName() + u'.' + suffix, filter);
  if (path.isEmpty()) return;
  if (QFileInfo(path).suffix().compare(suffix, Qt::CaseInsensitive) != 0) path += u'.' + suffix;
  if (const QString error = export_book(model_->book(), path); !error.isEmpty())
    QMessageBox::warning(this, QStringLiteral("导出计算书"), error);
}

void BookWindow::print() {
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(QStringLiteral("计算书"));
  QPrintDialog dialog(&printer, this);
  dialog.setWindowTitle(QStringLiteral("打印计算书"));
  if (dialog.exec() == QDialog::Accepted) print_book(model_->book(), printer);
}

std::optional<RecoveredBook> ask_recovery(QWidget* parent) {
  auto lock = lock_recovery();
  if (!lock) return std::nullopt;
  auto recovered = read_recovery(recovery_copy());
  if (!recovered) return std::nullopt;
  const QString original = QString::fromStdU16String(recovered->original.u16string());
  QMessageBox box(
      QMessageBox::Question, QStringLiteral("恢复计算书"),
      QStringLiteral("上次关闭程序时，计算书“%1”有未保存的修改（%2 条计算）。是否恢复？")
          .arg(original.isEmpty() ? QStringLiteral("未命名") : QFileInfo(original).fileName())
          .arg(recovered->book.entries.size()),
      QMessageBox::NoButton, parent);
  QPushButton* restore = box.addButton(QStringLiteral("恢复"), QMessageBox::AcceptRole);
  box.addButton(QStringLiteral("放弃"), QMessageBox::DestructiveRole);
  box.setDefaultButton(restore);
  box.exec();
  if (box.clickedButton() != restore) {
    discard_recovery(recovery_copy());
    return std::nullopt;
  }
  // The window that adopts the book takes the lock over when it writes its own copy.
  return RecoveredBook{std::move(recovered->book), original};
}

void BookWindow::add_from_calculator(Calculation c) {
  const EntryKind kind = kind_of(c);
  const Book& book = model_->book();
  const auto same_kind = std::count_if(book.entries.begin(), book.entries.end(),
                                       [kind](const Entry& e) { return e.kind == kind; });
  bool ok = false;
  const QString name = QInputDialog::getText(
      calculator_window_, QStringLiteral("加入计算书"), QStringLiteral("构件名称："),
      QLineEdit::Normal, qstring(member_word(kind)) + u' ' + QString::number(same_kind + 1), &ok);
  if (!ok || name.trimmed().isEmpty()) return;
  append(entry_from_sheet(calculator_, kind, name.trimmed().toStdString()));
  show();
  raise();
}

}  // namespace loadcalc::ui
