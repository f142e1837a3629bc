#include "ui/book/book_document.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>
#include <filesystem>
#include <utility>

#include "book/file.h"
#include "book/recovery.h"
#include "ui/qt_text.h"

namespace loadcalc::ui {

namespace {

std::filesystem::path fs_path(const QString& path) {
  return std::filesystem::path(path.toStdU16String());
}

QString copy_in(const QString& folder) {
  return folder + QStringLiteral("/recovery.lcbook");
}

// None while another running copy of the program holds it; a crashed one's lock is taken over.
std::unique_ptr<QLockFile> lock_recovery(const QString& folder) {
  if (!QDir().mkpath(folder)) return nullptr;
  auto lock = std::make_unique<QLockFile>(folder + QStringLiteral("/recovery.lock"));
  lock->setStaleLockTime(0);
  if (!lock->tryLock(0)) return nullptr;
  return lock;
}

QString name_of(const QString& path) {
  return path.isEmpty() ? QStringLiteral("未命名") : QFileInfo(path).fileName();
}

}  // namespace

BookDocument::BookDocument(BookPrompts& prompts, QString recovery_folder, QObject* parent)
    : QObject(parent), prompts_(prompts), recovery_folder_(std::move(recovery_folder)) {
  connect(&undo_, &QUndoStack::indexChanged, this, &BookDocument::changed);
  connect(&undo_, &QUndoStack::cleanChanged, this, &BookDocument::changed);
}

BookDocument::~BookDocument() {
  // The stack clears itself as it goes, which is no clean close: the recovery copy stays.
  undo_.disconnect(this);
}

QString BookDocument::default_recovery_folder() {
  return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

std::optional<RecoveredBook> BookDocument::take_recovery(const QString& recovery_folder,
                                                         BookPrompts& prompts) {
  auto lock = lock_recovery(recovery_folder);
  if (!lock) return std::nullopt;
  auto recovered = read_recovery(fs_path(copy_in(recovery_folder)));
  if (!recovered) return std::nullopt;
  const QString original = QString::fromStdU16String(recovered->original.u16string());
  if (!prompts.ask_recover(name_of(original), recovered->book.entries.size())) {
    discard_recovery(fs_path(copy_in(recovery_folder)));
    return std::nullopt;
  }
  // The document that adopts the book takes the lock over when it writes its own copy.
  return RecoveredBook{std::move(recovered->book), original};
}

QString BookDocument::name() const {
  return name_of(path_);
}

bool BookDocument::maybe_save() {
  if (!is_modified()) return true;
  switch (prompts_.ask_unsaved(name())) {
    case BookPrompts::Unsaved::save:
      return save();
    case BookPrompts::Unsaved::discard:
      return true;
    case BookPrompts::Unsaved::cancel:
      break;
  }
  return false;
}

void BookDocument::clear() {
  set_book({}, {});
}

QString BookDocument::open(const QString& path) {
  if (!maybe_save()) return {};
  auto loaded = load_book(fs_path(path));
  if (auto* error = std::get_if<ReadError>(&loaded)) {
    const QString message = qstring(error->message);
    prompts_.warn(QStringLiteral("打开计算书"), message);
    return message;
  }
  set_book(std::move(std::get<Book>(loaded)), QFileInfo(path).absoluteFilePath());
  recent_.add(path_);
  return {};
}

void BookDocument::adopt(Book book, const QString& path) {
  set_book(std::move(book), path);
  // Nothing to undo, and yet not saved.
  undo_.resetClean();
  changed();
}

bool BookDocument::save() {
  return path_.isEmpty() ? save_as() : save_to(path_);
}

bool BookDocument::save_as() {
  QString path = prompts_.ask_save_path(
      path_.isEmpty() ? QDir::homePath() + QStringLiteral("/未命名.lcbook") : path_);
  if (path.isEmpty()) return false;
  if (!path.endsWith(QStringLiteral(".lcbook"), Qt::CaseInsensitive))
    path += QStringLiteral(".lcbook");
  return save_to(path);
}

bool BookDocument::save_to(const QString& path) {
  if (const auto error = save_book(fs_path(path), book())) {
    prompts_.warn(QStringLiteral("保存计算书"), qstring(*error));
    return false;
  }
  set_path(QFileInfo(path).absoluteFilePath());
  undo_.setClean();
  changed();
  recent_.add(path_);
  return true;
}

void BookDocument::set_book(Book book, const QString& path) {
  model_.reset(std::move(book));
  undo_.clear();
  set_path(path);
  changed();
}

void BookDocument::set_path(const QString& path) {
  path_ = path;
  emit path_changed(path_);
}

void BookDocument::changed() {
  const bool clean = undo_.isClean();
  emit modified_changed(!clean);
  keep_recovery_copy(clean);
}

// The copy follows every change and goes with a save or a clean close; it is written only while
// this document holds the lock.
void BookDocument::keep_recovery_copy(bool clean) {
  if (!recovery_lock_) {
    if (clean) return;
    recovery_lock_ = lock_recovery(recovery_folder_);
    if (!recovery_lock_) return;
  }
  const std::filesystem::path copy = fs_path(copy_in(recovery_folder_));
  if (clean)
    discard_recovery(copy);
  else
    write_recovery(copy, book(), fs_path(path_));
}

}  // namespace loadcalc::ui
