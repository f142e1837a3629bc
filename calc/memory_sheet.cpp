#include "calc/memory_sheet.h"

#include <utility>

#include "calc/number.h"

namespace loadcalc {

MemorySheet::MemorySheet(ChangeReaction reaction) : reaction_(reaction) {
  for (const FieldInfo& f : fields) texts_[index_of(f.field)] = f.initial_text;
  for (const CalculationInfo& r : calculations) captions_[index_of(r.label)] = r.name;
}

std::string MemorySheet::text(Field f) const {
  return texts_[index_of(f)];
}

void MemorySheet::set_text(Field f, std::string_view text) {
  std::string& current = texts_[index_of(f)];
  const bool changed = current != text;
  record({.kind = Effect::Kind::text, .field = f, .text = std::string(text), .changed = changed});
  if (!changed) return;
  current = text;
  // A field that was written to has its caret at the end and nothing selected.
  selections_[index_of(f)] = {char_count(text), 0};
  if (reaction_) reaction_(*this, f);
}

void MemorySheet::set_caption(ResultLabel l, std::string_view caption) {
  captions_[index_of(l)] = caption;
  record({.kind = Effect::Kind::caption, .label = l, .text = std::string(caption)});
}

void MemorySheet::set_selection(Field f, Selection s) {
  selections_[index_of(f)] = s;
  record({.kind = Effect::Kind::selection, .field = f, .selection = s});
}

void MemorySheet::set_tooltip(std::string_view text) {
  tooltip_ = text;
  record({.kind = Effect::Kind::tooltip, .text = std::string(text)});
}

void MemorySheet::show_message(std::string_view prompt, std::string_view title) {
  record({.kind = Effect::Kind::message, .text = std::string(prompt), .title = std::string(title)});
}

void MemorySheet::beep() {
  record({.kind = Effect::Kind::beep});
}

void MemorySheet::load(Field f, std::string_view text) {
  texts_[index_of(f)] = text;
}

void MemorySheet::record(Effect e) {
  effects_.push_back(std::move(e));
}

}  // namespace loadcalc
