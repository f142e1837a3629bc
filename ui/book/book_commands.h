#pragma once
// Every edit of a book as an undo command, one class per action, so that 撤销 / 重做 reach each
// of them and the window's unsaved mark follows the undo stack's clean state.

#include <QUndoCommand>
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "book/book.h"

namespace loadcalc::ui {

class BookModel;

// One project field's text. Typing into the same field merges into one step.
class EditProjectCommand : public QUndoCommand {
 public:
  enum { Id = 1 };
  EditProjectCommand(BookModel& model, std::size_t field, std::string text);
  void redo() override;
  void undo() override;
  int id() const override { return Id; }
  bool mergeWith(const QUndoCommand* other) override;

 private:
  BookModel& model_;
  std::size_t field_;
  std::string before_, after_;
};

// An entry put in at a row: 加入计算书, or 复制条目 (`text` says which).
class AddEntryCommand : public QUndoCommand {
 public:
  AddEntryCommand(BookModel& model, int row, Entry entry, const QString& text);
  void redo() override;
  void undo() override;

 private:
  BookModel& model_;
  int row_;
  Entry entry_;
};

// 删除.
class RemoveEntryCommand : public QUndoCommand {
 public:
  RemoveEntryCommand(BookModel& model, int row);
  void redo() override;
  void undo() override;

 private:
  BookModel& model_;
  int row_;
  Entry entry_;
};

// 上移 / 下移, by the direction of the move.
class MoveEntryCommand : public QUndoCommand {
 public:
  MoveEntryCommand(BookModel& model, int from, int to);
  void redo() override;
  void undo() override;

 private:
  BookModel& model_;
  int from_, to_;
};

// 重命名.
class RenameEntryCommand : public QUndoCommand {
 public:
  RenameEntryCommand(BookModel& model, int row, std::string name);
  void redo() override;
  void undo() override;

 private:
  void set_name(const std::string& name);
  BookModel& model_;
  int row_;
  std::string before_, after_;
};

// 备注: the entry's note, typed into the table.
class EditNoteCommand : public QUndoCommand {
 public:
  EditNoteCommand(BookModel& model, int row, std::string note);
  void redo() override;
  void undo() override;

 private:
  void set_note(const std::string& note);
  BookModel& model_;
  int row_;
  std::string before_, after_;
};

// 更新条目: the calculator's texts in place of the entry's.
class UpdateEntryCommand : public QUndoCommand {
 public:
  UpdateEntryCommand(BookModel& model, int row, Entry updated);
  void redo() override;
  void undo() override;

 private:
  BookModel& model_;
  int row_;
  Entry before_, after_;
};

// Texts typed into the schedule: one cell, or the cells a fill down wrote, as one step.
class EditCellsCommand : public QUndoCommand {
 public:
  // Each edited entry by its row in the book.
  EditCellsCommand(BookModel& model, std::vector<std::pair<int, Entry>> edited,
                   const QString& text);
  void redo() override;
  void undo() override;

 private:
  BookModel& model_;
  std::vector<int> rows_;
  std::vector<Entry> before_, after_;
};

// A paste or an import: the whole list of entries before and after, one step however many
// entries it touched. `text` says which.
class SetEntriesCommand : public QUndoCommand {
 public:
  SetEntriesCommand(BookModel& model, std::vector<Entry> after, const QString& text);
  void redo() override;
  void undo() override;

 private:
  BookModel& model_;
  std::vector<Entry> before_, after_;
};

}  // namespace loadcalc::ui
