#include "ui/book/book_document.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QSysInfo>
#include <QUuid>
#include <filesystem>
#include <utility>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <signal.h>

#include <cerrno>
#endif

#include "book/file.h"
#include "book/recovery.h"
#include "ui/book/book_export.h"
#include "ui/qt_text.h"
#include "ui/storage.h"

namespace loadcalc::ui {

namespace {

std::filesystem::path fs_path(const QString& path) {
  return std::filesystem::path(path.toStdU16String());
}

// A recovery copy "recovery-<id>.lcbook" is held by "recovery-<id>.lock" beside it. The one copy
// an earlier version kept, "recovery.lcbook" held by "recovery.lock", follows the same rule.
QString lock_of(const QString& copy) {
  return copy.chopped(QStringLiteral("lcbook").size()) + QStringLiteral("lock");
}

// None while another document, in this or another running copy of the program, holds it; the
// lock of a copy of the program that ended without unlocking is taken over.
std::unique_ptr<QLockFile> lock_recovery(const QString& copy) {
  if (!QDir().mkpath(QFileInfo(copy).absolutePath())) return nullptr;
  auto lock = std::make_unique<QLockFile>(lock_of(copy));
  lock->setStaleLockTime(0);
  if (!lock->tryLock(0)) return nullptr;
  return lock;
}

// The lock file beside a book, named as office programs name theirs so that it reads as one and
// is hidden on Linux: ".~lock.tower.lcbook#".
QString book_lock_of(const QString& book) {
  const QFileInfo info(book);
  return info.absolutePath() + QStringLiteral("/.~lock.") + info.fileName() + u'#';
}

// A lock file left by a crash on another machine cannot be told from a colleague still at work
// but by its age: after a long working day it is taken as stale. The check before a save guards
// the file either way.
constexpr qint64 foreign_lock_hours = 12;

bool process_running(qint64 pid) {
  if (pid <= 0) return false;
#ifdef _WIN32
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, DWORD(pid));
  if (process == nullptr) return GetLastError() == ERROR_ACCESS_DENIED;
  const bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
  CloseHandle(process);
  return running;
#else
  return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
#endif
}

QString user_name() {
  QString user = qEnvironmentVariable("USER");
  if (user.isEmpty()) user = qEnvironmentVariable("USERNAME");
  return user.isEmpty() ? QDir::home().dirName() : user;
}

// Who holds the book through its lock file, when anyone does: none for no lock file, one that
// cannot be read, or one left behind by a program that has ended (on this machine its process is
// gone; on another, it is older than foreign_lock_hours).
std::optional<BookHolder> holder_of(const QString& book) {
  QFile file(book_lock_of(book));
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  const QJsonObject lock = QJsonDocument::fromJson(file.read(64 * 1024)).object();
  BookHolder holder{
      lock.value(QStringLiteral("user")).toString(), lock.value(QStringLiteral("host")).toString(),
      QDateTime::fromString(lock.value(QStringLiteral("time")).toString(), Qt::ISODate)};
  if (holder.host.isEmpty() || !holder.since.isValid()) return std::nullopt;
  if (holder.host == QSysInfo::machineHostName()) {
    if (!process_running(lock.value(QStringLiteral("pid")).toInteger())) return std::nullopt;
  } else if (holder.since.secsTo(QDateTime::currentDateTimeUtc()) > foreign_lock_hours * 3600) {
    return std::nullopt;
  }
  return holder;
}

QString copy_in(const QString& folder, const QString& id) {
  return folder + QStringLiteral("/recovery-") + id + QStringLiteral(".lcbook");
}

QString name_of(const QString& path) {
  return path.isEmpty() ? QStringLiteral("未命名") : QFileInfo(path).fileName();
}

}  // namespace

BookDocument::BookDocument(BookPrompts& prompts, QString recovery_folder, QObject* parent)
    : QObject(parent),
      prompts_(prompts),
      recovery_folder_(std::move(recovery_folder)),
      recovery_id_(QUuid::createUuid().toString(QUuid::Id128)) {
  // Made while the book is opened rather than at its first change, so that the uninstaller and the
  // portable zip's check find the one folder the program writes beside the settings.
  QDir().mkpath(recovery_folder_);
  recovery_timer_.setSingleShot(true);
  recovery_timer_.setInterval(recovery_pause_ms);
  connect(&recovery_timer_, &QTimer::timeout, this,
          [this] { keep_recovery_copy(undo_.isClean()); });
  connect(&undo_, &QUndoStack::indexChanged, this, &BookDocument::changed);
  connect(&undo_, &QUndoStack::cleanChanged, this, &BookDocument::changed);
}

BookDocument::~BookDocument() {
  // The stack clears itself as it goes, which is no clean close: the recovery copy stays, and
  // its lock goes with the document, so that the next start offers it.
  flush_recovery_copy();
  undo_.disconnect(this);
  unlock_book();
}

QString BookDocument::default_recovery_folder() {
  return data_folder();
}

std::optional<RecoveredBook> BookDocument::take_recovery(const QString& recovery_folder,
                                                         BookPrompts& prompts) {
  const QFileInfoList copies =
      QDir(recovery_folder)
          .entryInfoList({QStringLiteral("recovery*.lcbook")}, QDir::Files, QDir::Time);
  for (const QFileInfo& info : copies) {
    const QString copy = info.absoluteFilePath();
    const auto lock = lock_recovery(copy);
    if (!lock) continue;
    auto recovered = read_recovery(fs_path(copy));
    if (!recovered) continue;
    const QString original = QString::fromStdU16String(recovered->original.u16string());
    if (prompts.ask_recover(name_of(original), recovered->book.entries.size()))
      return RecoveredBook{std::move(recovered->book), original, copy};
    discard_recovery(fs_path(copy));
  }
  return std::nullopt;
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
  const QString absolute = QFileInfo(path).absoluteFilePath();
  bool read_only = false;
  // Its own lock is no other copy's.
  const bool ours = absolute == path_ && !book_lock_.isEmpty();
  if (const auto holder = ours ? std::nullopt : holder_of(absolute)) {
    switch (prompts_.ask_in_use(name_of(absolute), *holder)) {
      case BookPrompts::InUse::read_only:
        read_only = true;
        break;
      case BookPrompts::InUse::open_anyway:
        break;
      case BookPrompts::InUse::cancel:
        return {};
    }
  }
  auto loaded = load_book(fs_path(absolute));
  if (auto* error = std::get_if<ReadError>(&loaded)) {
    const QString message = qstring(error->message);
    prompts_.warn(QStringLiteral("打开计算书"), message);
    return message;
  }
  const auto read = on_disk(absolute);
  set_book(std::move(std::get<Book>(loaded)), absolute, read_only);
  on_disk_ = read;
  if (!read_only_) lock_book();
  recent_.add(path_);
  return {};
}

void BookDocument::adopt(Book book, const QString& path) {
  set_book(std::move(book), path);
  // What the file held before the crash is not known; a change from now on is caught.
  if (!path.isEmpty()) on_disk_ = on_disk(path);
  if (on_disk_) lock_book();
  // Nothing to undo, and yet not saved.
  undo_.resetClean();
  changed();
  // The copy it came from may go next: its own must be on disk first.
  flush_recovery_copy();
}

void BookDocument::adopt(RecoveredBook recovered) {
  adopt(std::move(recovered.book), recovered.path);
  if (recovered.copy != copy_in(recovery_folder_, recovery_id_))
    discard_recovery(fs_path(recovered.copy));
}

bool BookDocument::save() {
  return path_.isEmpty() || read_only_ ? save_as() : save_to(path_);
}

bool BookDocument::save_as() {
  // A new book is proposed under its project's name, as an engineer would name the file.
  QString path = prompts_.ask_save_path(
      proposed_path(path_, book().project.name, QDir::homePath(), QStringLiteral("lcbook")));
  if (path.isEmpty()) return false;
  if (!path.endsWith(QStringLiteral(".lcbook"), Qt::CaseInsensitive))
    path += QStringLiteral(".lcbook");
  return save_to(path);
}

bool BookDocument::save_to(const QString& path) {
  const QString absolute = QFileInfo(path).absoluteFilePath();
  const bool same_file = absolute == path_;
  if (same_file && read_only_) {
    prompts_.warn(
        QStringLiteral("保存计算书"),
        QStringLiteral("计算书“%1”是以只读方式打开的，不能保存到原文件，请另存为其他文件。")
            .arg(name()));
    return false;
  }
  if (same_file && on_disk_) {
    // A file gone since is not overwritten: saving puts it back.
    const auto now = on_disk(absolute);
    if (now && (now->size != on_disk_->size || now->sha256 != on_disk_->sha256)) {
      switch (prompts_.ask_changed_on_disk(absolute, now->modified)) {
        case BookPrompts::Changed::overwrite:
          break;
        case BookPrompts::Changed::save_as:
          return save_as();
        case BookPrompts::Changed::cancel:
          return false;
      }
    }
  }
  if (const auto error = save_book(fs_path(absolute), book())) {
    prompts_.warn(QStringLiteral("保存计算书"), qstring(*error));
    return false;
  }
  if (!same_file) {
    unlock_book();
    read_only_ = false;
  }
  set_path(absolute);
  on_disk_ = on_disk(absolute);
  if (!same_file) lock_book();
  undo_.setClean();
  changed();
  recent_.add(path_);
  return true;
}

void BookDocument::set_book(Book book, const QString& path, bool read_only) {
  unlock_book();
  read_only_ = read_only;
  on_disk_.reset();
  model_.reset(std::move(book));
  undo_.clear();
  // clear() keeps a clean state that adopt() put out of reach: a new book is saved as it is.
  undo_.setClean();
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
  if (!clean) {
    recovery_timer_.start();
    return;
  }
  recovery_timer_.stop();
  keep_recovery_copy(true);
}

void BookDocument::flush_recovery_copy() {
  if (!recovery_timer_.isActive()) return;
  recovery_timer_.stop();
  keep_recovery_copy(undo_.isClean());
}

// The copy follows the changes and goes at once with a save or a clean close; it is written only
// while this document holds its lock, and the lock goes after the copy.
void BookDocument::keep_recovery_copy(bool clean) {
  const QString copy = copy_in(recovery_folder_, recovery_id_);
  if (clean) {
    if (!recovery_lock_) return;
    discard_recovery(fs_path(copy));
    recovery_lock_.reset();
    return;
  }
  if (!recovery_lock_) recovery_lock_ = lock_recovery(copy);
  if (recovery_lock_) write_recovery(fs_path(copy), book(), fs_path(path_));
}

// Written whole where the folder allows; a folder that cannot be written (a read-only share)
// leaves the book without a lock file, and opening it is not refused for that.
void BookDocument::lock_book() {
  if (path_.isEmpty() || holder_of(path_)) return;
  const QString lock = book_lock_of(path_);
  const QByteArray bytes =
      QJsonDocument(QJsonObject{{QStringLiteral("user"), user_name()},
                                {QStringLiteral("host"), QSysInfo::machineHostName()},
                                {QStringLiteral("pid"), QCoreApplication::applicationPid()},
                                {QStringLiteral("time"),
                                 QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs)}})
          .toJson();
  QFile file(lock);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
    return;
  book_lock_ = lock;
  book_lock_bytes_ = bytes;
}

// Only the lock this document wrote: another copy may have taken the book over since.
void BookDocument::unlock_book() {
  if (book_lock_.isEmpty()) return;
  QFile file(book_lock_);
  if (file.open(QIODevice::ReadOnly) && file.readAll() == book_lock_bytes_) {
    file.close();
    file.remove();
  }
  book_lock_.clear();
  book_lock_bytes_.clear();
}

std::optional<BookDocument::OnDisk> BookDocument::on_disk(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  QCryptographicHash hash(QCryptographicHash::Sha256);
  if (!hash.addData(&file)) return std::nullopt;
  return OnDisk{file.size(), QFileInfo(file).lastModified(), hash.result()};
}

}  // namespace loadcalc::ui
