#include "ui/book/book_commands.h"

#include <utility>

#include "ui/book/book_model.h"
#include "ui/qt_text.h"

namespace loadcalc::ui {

EditProjectCommand::EditProjectCommand(BookModel& model, std::size_t field, std::string text)
    : QUndoCommand(QStringLiteral("编辑") + qstring(project_fields[field].caption)),
      model_(model),
      field_(field),
      before_(model.book().project.*project_fields[field].member),
      after_(std::move(text)) {}

void EditProjectCommand::redo() {
  model_.set_project_field(field_, after_);
}

void EditProjectCommand::undo() {
  model_.set_project_field(field_, before_);
}

bool EditProjectCommand::mergeWith(const QUndoCommand* other) {
  const auto* next = static_cast<const EditProjectCommand*>(other);
  if (next->field_ != field_) return false;
  after_ = next->after_;
  // Typed and typed away again: nothing left to undo.
  setObsolete(after_ == before_);
  return true;
}

AddEntryCommand::AddEntryCommand(BookModel& model, int row, Entry entry, const QString& text)
    : QUndoCommand(text), model_(model), row_(row), entry_(std::move(entry)) {}

void AddEntryCommand::redo() {
  model_.insert_entry(row_, entry_);
}

void AddEntryCommand::undo() {
  entry_ = model_.take_entry(row_);
}

RemoveEntryCommand::RemoveEntryCommand(BookModel& model, int row)
    : QUndoCommand(QStringLiteral("删除")), model_(model), row_(row), entry_(model.entry(row)) {}

void RemoveEntryCommand::redo() {
  entry_ = model_.take_entry(row_);
}

void RemoveEntryCommand::undo() {
  model_.insert_entry(row_, entry_);
}

MoveEntryCommand::MoveEntryCommand(BookModel& model, int from, int to)
    : QUndoCommand(to < from ? QStringLiteral("上移") : QStringLiteral("下移")),
      model_(model),
      from_(from),
      to_(to) {}

void MoveEntryCommand::redo() {
  model_.move_entry(from_, to_);
}

void MoveEntryCommand::undo() {
  model_.move_entry(to_, from_);
}

RenameEntryCommand::RenameEntryCommand(BookModel& model, int row, std::string name)
    : QUndoCommand(QStringLiteral("重命名")),
      model_(model),
      row_(row),
      before_(model.entry(row).name),
      after_(std::move(name)) {}

void RenameEntryCommand::set_name(const std::string& name) {
  Entry renamed = model_.entry(row_);
  renamed.name = name;
  model_.replace_entry(row_, std::move(renamed));
}

void RenameEntryCommand::redo() {
  set_name(after_);
}

void RenameEntryCommand::undo() {
  set_name(before_);
}

EditNoteCommand::EditNoteCommand(BookModel& model, int row, std::string note)
    : QUndoCommand(QStringLiteral("编辑备注")),
      model_(model),
      row_(row),
      before_(model.entry(row).note),
      after_(std::move(note)) {}

void EditNoteCommand::set_note(const std::string& note) {
  Entry edited = model_.entry(row_);
  edited.note = note;
  model_.replace_entry(row_, std::move(edited));
}

void EditNoteCommand::redo() {
  set_note(after_);
}

void EditNoteCommand::undo() {
  set_note(before_);
}

UpdateEntryCommand::UpdateEntryCommand(BookModel& model, int row, Entry updated)
    : QUndoCommand(QStringLiteral("更新条目")),
      model_(model),
      row_(row),
      before_(model.entry(row)),
      after_(std::move(updated)) {}

void UpdateEntryCommand::redo() {
  model_.replace_entry(row_, after_);
}

void UpdateEntryCommand::undo() {
  model_.replace_entry(row_, before_);
}

EditCellsCommand::EditCellsCommand(BookModel& model, std::vector<std::pair<int, Entry>> edited,
                                   const QString& text)
    : QUndoCommand(text), model_(model) {
  rows_.reserve(edited.size());
  before_.reserve(edited.size());
  after_.reserve(edited.size());
  for (auto& [row, entry] : edited) {
    rows_.push_back(row);
    before_.push_back(model.entry(row));
    after_.push_back(std::move(entry));
  }
}

void EditCellsCommand::redo() {
  for (std::size_t i = 0; i < rows_.size(); ++i) model_.replace_entry(rows_[i], after_[i]);
}

void EditCellsCommand::undo() {
  for (std::size_t i = 0; i < rows_.size(); ++i) model_.replace_entry(rows_[i], before_[i]);
}

SetEntriesCommand::SetEntriesCommand(BookModel& model, std::vector<Entry> after,
                                     const QString& text)
    : QUndoCommand(text), model_(model), before_(model.book().entries), after_(std::move(after)) {}

void SetEntriesCommand::redo() {
  model_.replace_entries(after_);
}

void SetEntriesCommand::undo() {
  model_.replace_entries(before_);
}

}  // namespace loadcalc::ui
