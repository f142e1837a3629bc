#pragma once
// A sheet without a window. It records every effect in order, so that a test can assert the whole
// sequence a change produces: messages, writes, captions, selections, beeps.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "calc/calculations.h"
#include "calc/fields.h"
#include "calc/sheet.h"

namespace loadcalc {

struct Effect {
  enum class Kind : std::uint8_t { text, caption, selection, tooltip, message, beep };
  Kind kind;
  Field field = Field::Text1;                // text, selection
  ResultLabel label = ResultLabel::Label10;  // caption
  std::string text{};                        // text written, caption, tooltip or message prompt
  std::string title{};                       // message title
  Selection selection{};                     // selection
  bool changed = false;                      // text: whether the write changed the field

  friend bool operator==(const Effect&, const Effect&) = default;
};

class MemorySheet final : public Sheet {
 public:
  // Fields start with the window's initial texts, labels with their own names.
  explicit MemorySheet(ChangeReaction reaction = nullptr);

  std::string text(Field f) const override;
  void set_text(Field f, std::string_view text) override;
  void set_caption(ResultLabel l, std::string_view caption) override;
  void set_selection(Field f, Selection s) override;
  void set_tooltip(std::string_view text) override;
  void show_message(std::string_view prompt, std::string_view title) override;
  void beep() override;

  // Puts a text in place without running the change reaction or recording anything: for setting
  // up a state that the checks would not let a user reach directly.
  void load(Field f, std::string_view text);
  void set_reaction(ChangeReaction reaction) { reaction_ = reaction; }

  const std::string& caption(ResultLabel l) const { return captions_[index_of(l)]; }
  Selection selection(Field f) const { return selections_[index_of(f)]; }
  const std::string& tooltip() const { return tooltip_; }
  const std::vector<Effect>& effects() const { return effects_; }
  void clear_effects() { effects_.clear(); }

 private:
  void record(Effect e);

  ChangeReaction reaction_;
  std::array<std::string, field_count> texts_;
  std::array<Selection, field_count> selections_{};
  std::array<std::string, result_count> captions_;
  std::string tooltip_;
  std::vector<Effect> effects_;
};

}  // namespace loadcalc
