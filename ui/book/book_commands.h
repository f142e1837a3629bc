#pragma once
// Every edit of a book as an undo command, so that 撤销 / 重做 reach each of them and the
// window's unsaved mark follows the undo stack's clean state.

#include <QUndoCommand>
#include <cstddef>
#include <string>

#include "book/book.h"

namespace loadcalc::ui {

class BookModel;

// One project field's text. Typing into the same field merges into one step.
class ProjectEdit : public QUndoCommand {
 public:
  ProjectEdit(BookModel& model, std::size_t field, std::string text);
  void redo() override;
  void undo() override;
  int id() const override { return 1; }
  bool mergeWith(const QUndoCommand* other) override;

 private:
  BookModel& model_;
  std::size_t field_;
  std::string before_, after_;
};

// Adds an entry at a row (加入计算书, 复制条目), or, made with remove = true, deletes one.
class InsertEntry : public QUndoCommand {
 public:
  InsertEntry(BookModel& model, int row, Entry entry, const QString& text);
  static InsertEntry* removal(BookModel& model, int row);
  void redo() override;
  void undo() override;

 private:
  BookModel& model_;
  int row_;
  Entry entry_;
  bool remove_ = false;
};

// Puts a changed entry in place of one (重命名, 更新条目).
class ReplaceEntry : public QUndoCommand {
 public:
  ReplaceEntry(BookModel& model, int row, Entry entry, const QString& text);
  void redo() override;
  void undo() override;

 private:
  void swap();
  BookModel& model_;
  int row_;
  Entry other_;
};

// 上移 / 下移.
class MoveEntry : public QUndoCommand {
 public:
  MoveEntry(BookModel& model, int from, int to, const QString& text);
  void redo() override;
  void undo() override;

 private:
  BookModel& model_;
  int from_, to_;
};

}  // namespace loadcalc::ui
