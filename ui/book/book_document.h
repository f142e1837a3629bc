#pragma once
// One open calculation book as a document: its project and entries (the model the window's table
// shows), its edits (the undo stack, whose clean state is the book's saved state), the file it
// belongs to, the recent files, and the recovery copy that keeps unsaved changes across a crash.
// It asks its user through BookPrompts, so that it holds no widget: two documents can be driven
// side by side in one process, as two running copies of the program would be.
//
// Two copies of the program, or two engineers on a shared drive, may hold one book: each document
// keeps a small lock file beside the book it has open, naming who has it (docs/book-format.md),
// and before a save checks that the file is still the one it opened or last saved.

#include <QByteArray>
#include <QDateTime>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QUndoStack>
#include <cstddef>
#include <memory>
#include <optional>

#include "book/book.h"
#include "ui/book/book_model.h"
#include "ui/book/recent_files.h"

class QLockFile;

namespace loadcalc::ui {

// What a document asks of its user. The window answers with dialogs (BookDialogs); a test with
// answers of its own.
// Who has a book open, as the lock file beside it says.
struct BookHolder {
  QString user;
  QString host;
  QDateTime since;
};

class BookPrompts {
 public:
  enum class Unsaved { save, discard, cancel };
  enum class InUse { read_only, open_anyway, cancel };
  enum class Changed { overwrite, save_as, cancel };

  virtual ~BookPrompts() = default;
  // 保存 · 不保存 · 取消 for the book called `name` ("tower.lcbook", "未命名").
  virtual Unsaved ask_unsaved(const QString& name) = 0;
  // Where to save the book (另存为), offering `suggested`; empty when the user cancelled.
  virtual QString ask_save_path(const QString& suggested) = 0;
  // A failure the user must hear of, under `title` ("打开计算书", "保存计算书").
  virtual void warn(const QString& title, const QString& message) = 0;
  // 恢复 · 放弃 for the book called `name`, of `entries` entries, that an earlier run left
  // unsaved; true to take it back.
  virtual bool ask_recover(const QString& name, std::size_t entries) = 0;
  // 只读打开 · 仍然打开 · 取消 for the book called `name`, which `holder` has open.
  virtual InUse ask_in_use(const QString& name, const BookHolder& holder) = 0;
  // 覆盖 · 另存为… · 取消 for the file at `path`, changed on disk at `modified` since this copy
  // opened or last saved it.
  virtual Changed ask_changed_on_disk(const QString& path, const QDateTime& modified) = 0;
};

// A book that an earlier run left unsaved, which the user chose to take back.
struct RecoveredBook {
  Book book;
  QString path;  // the file it belongs to; empty when it never was saved
  QString copy;  // the recovery copy it came from, removed once a document keeps its own
};

class BookDocument : public QObject {
  Q_OBJECT

 public:
  // The recovery copy and its lock live in `recovery_folder`: default_recovery_folder() for the
  // program, a folder of its own for a test.
  BookDocument(BookPrompts& prompts, QString recovery_folder, QObject* parent = nullptr);
  ~BookDocument() override;

  // The user's application data folder.
  static QString default_recovery_folder();
  // At start-up: each recovery copy in `recovery_folder` that no running copy of the program
  // holds (its copy ended without closing the book) is offered in turn, newest first, with
  // 恢复 · 放弃; a copy given up is removed. The first book taken back, or none; the copies not
  // yet asked about wait for the next start, as there is one book window to take them.
  static std::optional<RecoveredBook> take_recovery(const QString& recovery_folder,
                                                    BookPrompts& prompts);

  BookModel& model() { return model_; }
  const Book& book() const { return model_.book(); }
  // Every edit goes on this stack; its clean state is the saved state.
  QUndoStack& undo_stack() { return undo_; }
  // The file the book belongs to, absolute; empty for a book never saved.
  const QString& path() const { return path_; }
  // The file's name, or 未命名.
  QString name() const;
  bool is_modified() const { return !undo_.isClean(); }
  // Opened with 只读打开: a save goes to another file.
  bool is_read_only() const { return read_only_; }
  const RecentFiles& recent_files() const { return recent_; }

  // 保存 · 不保存 · 取消 when there are unsaved changes; true when the book may go.
  bool maybe_save();
  // An empty book that belongs to no file, as 新建 and closing the window leave it. Asks nothing:
  // call maybe_save() first.
  void clear();
  // The book at `path`, after maybe_save(), and after 只读打开 · 仍然打开 · 取消 when another
  // copy has it open. The message shown when it cannot be read (the book open before stays),
  // else empty; empty also when the user cancelled.
  QString open(const QString& path);
  // A recovered book: unsaved, belonging to `path` (empty when it never was saved).
  void adopt(Book book, const QString& path);
  // As adopt(), then the copy it came from goes: this document keeps its own from now on.
  void adopt(RecoveredBook recovered);
  // To its own file, or where the user says when it has none or it was opened read-only.
  bool save();
  // Where the user says; ".lcbook" is added to a name without it.
  bool save_as();
  // Over the file this book belongs to only when it is as this copy last read or wrote it, or
  // the user says 覆盖; never while it is open read-only.
  bool save_to(const QString& path);
  // The recovery copy follows a change after a pause in typing (recovery_pause_ms); this writes a
  // pending one now.
  void flush_recovery_copy();
  static constexpr int recovery_pause_ms = 1000;

 signals:
  void path_changed(const QString& path);
  void modified_changed(bool modified);

 private:
  void set_book(Book book, const QString& path, bool read_only = false);
  void set_path(const QString& path);
  void changed();
  void keep_recovery_copy(bool clean);
  void lock_book();
  void unlock_book();

  // What this copy last read from or wrote to its file.
  struct OnDisk {
    qint64 size = 0;
    QDateTime modified;
    QByteArray sha256;
  };
  static std::optional<OnDisk> on_disk(const QString& path);

  BookPrompts& prompts_;
  QString recovery_folder_;
  BookModel model_;
  QUndoStack undo_;
  QString path_;
  RecentFiles recent_;
  bool read_only_ = false;
  std::optional<OnDisk> on_disk_;
  // The lock file beside the book and the bytes this document wrote to it; empty when it has
  // none there (read-only, opened anyway, or the folder cannot be written).
  QString book_lock_;
  QByteArray book_lock_bytes_;
  // This document's recovery copy is recovery-<id>.lcbook, one per document, so that every
  // running copy of the program keeps its own.
  QString recovery_id_;
  // Held while the copy exists, so that a start of the program offers only copies whose document
  // is gone.
  std::unique_ptr<QLockFile> recovery_lock_;
  // Runs while a change waits for its recovery copy: a large book is written once a pause in
  // typing comes, not at every key.
  QTimer recovery_timer_;
};

}  // namespace loadcalc::ui
