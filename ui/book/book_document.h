#pragma once
// One open calculation book as a document: its project and entries (the model the window's table
// shows), its edits (the undo stack, whose clean state is the book's saved state), the file it
// belongs to, the recent files, and the recovery copy that keeps unsaved changes across a crash.
// It asks its user through BookPrompts, so that it holds no widget: two documents can be driven
// side by side in one process, as two running copies of the program would be.

#include <QObject>
#include <QString>
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
class BookPrompts {
 public:
  enum class Unsaved { save, discard, cancel };

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
};

// A book that an earlier run left unsaved, which the user chose to take back.
struct RecoveredBook {
  Book book;
  QString path;  // the file it belongs to; empty when it never was saved
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
  // At start-up: when an earlier run left a recovery copy in `recovery_folder` and no running
  // copy of the program holds it, asks 恢复 · 放弃. The book taken back, or none (given up, the
  // copy is removed).
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
  const RecentFiles& recent_files() const { return recent_; }

  // 保存 · 不保存 · 取消 when there are unsaved changes; true when the book may go.
  bool maybe_save();
  // An empty book that belongs to no file, as 新建 and closing the window leave it. Asks nothing:
  // call maybe_save() first.
  void clear();
  // The book at `path`, after maybe_save(). The message shown when it cannot be read (the book
  // open before stays), else empty; empty also when the user cancelled.
  QString open(const QString& path);
  // A recovered book: unsaved, belonging to `path` (empty when it never was saved).
  void adopt(Book book, const QString& path);
  // To its own file, or where the user says when it has none.
  bool save();
  // Where the user says; ".lcbook" is added to a name without it.
  bool save_as();
  bool save_to(const QString& path);

 signals:
  void path_changed(const QString& path);
  void modified_changed(bool modified);

 private:
  void set_book(Book book, const QString& path);
  void set_path(const QString& path);
  void changed();
  void keep_recovery_copy(bool clean);

  BookPrompts& prompts_;
  QString recovery_folder_;
  BookModel model_;
  QUndoStack undo_;
  QString path_;
  RecentFiles recent_;
  // Held while this document keeps a recovery copy, so that a second copy of the program running
  // at the same time neither offers nor overwrites it.
  std::unique_ptr<QLockFile> recovery_lock_;
};

}  // namespace loadcalc::ui
