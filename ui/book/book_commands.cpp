#include "ui/book/book_commands.h"

#include <utility>

#include "ui/book/book_model.h"

namespace loadcalc::ui {

ProjectEdit::ProjectEdit(BookModel& model, std::size_t field, std::string text)
    : model_(model),
      field_(field),
      before_(model.book().project.*project_fields[field].member),
      after_(std::move(text)) {
  setText(QStringLiteral("编辑") +
          QString::fromUtf8(project_fields[field].caption.data(),
                            static_cast<qsizetype>(project_fields[field].caption.size())));
}

void ProjectEdit::redo() {
  model_.set_project_field(field_, after_);
}

void ProjectEdit::undo() {
  model_.set_project_field(field_, before_);
}

bool ProjectEdit::mergeWith(const QUndoCommand* other) {
  const auto* next = static_cast<const ProjectEdit*>(other);
  if (next->field_ != field_) return false;
  after_ = next->after_;
  // Typed and typed away again: nothing left to undo.
  setObsolete(after_ == before_);
  return true;
}

InsertEntry::InsertEntry(BookModel& model, int row, Entry entry, const QString& text)
    : QUndoCommand(text), model_(model), row_(row), entry_(std::move(entry)) {}

InsertEntry* InsertEntry::removal(BookModel& model, int row) {
  auto* c = new InsertEntry(model, row, model.entry(row), QStringLiteral("删除"));
  c->remove_ = true;
  return c;
}

void InsertEntry::redo() {
  if (remove_)
    entry_ = model_.take_entry(row_);
  else
    model_.insert_entry(row_, entry_);
}

void InsertEntry::undo() {
  if (remove_)
    model_.insert_entry(row_, entry_);
  else
    entry_ = model_.take_entry(row_);
}

ReplaceEntry::ReplaceEntry(BookModel& model, int row, Entry entry, const QString& text)
    : QUndoCommand(text), model_(model), row_(row), other_(std::move(entry)) {}

void ReplaceEntry::swap() {
  Entry current = model_.entry(row_);
  model_.replace_entry(row_, std::move(other_));
  other_ = std::move(current);
}

void ReplaceEntry::redo() {
  swap();
}

void ReplaceEntry::undo() {
  swap();
}

MoveEntry::MoveEntry(BookModel& model, int from, int to, const QString& text)
    : QUndoCommand(text), model_(model), from_(from), to_(to) {}

void MoveEntry::redo() {
  model_.move_entry(from_, to_);
}

void MoveEntry::undo() {
  model_.move_entry(to_, from_);
}

}  // namespace loadcalc::ui
