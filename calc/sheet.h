#pragma once
// The calculation sheet: the input fields and result labels as the logic sees them.
// A window implements Sheet over its widgets; MemorySheet (memory_sheet.h) implements it without
// one. The texts of the fields are the program's only state; every calculation and check reads
// them afresh through this interface.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace loadcalc {

enum class Field : std::uint8_t {
  Text1,
  Text2,
  Text3,
  Text4,
  Text5,
  Text6,
  Text7,
  Text8,
  Text9,
  Text10,
  Text11,
  Text12,
  Text13,
};

constexpr std::size_t index_of(Field f) {
  return static_cast<std::size_t>(f);
}
constexpr Field field_at(std::size_t i) {
  return static_cast<Field>(i);
}

enum class ResultLabel : std::uint8_t { Label10, Label11 };
constexpr std::size_t index_of(ResultLabel l) {
  return static_cast<std::size_t>(l);
}

enum class Calculation : std::uint8_t { MainProgram_1, MainProgram_2 };

// Selection in characters (Unicode code points), not bytes.
struct Selection {
  std::size_t start = 0;
  std::size_t length = 0;
  friend bool operator==(const Selection&, const Selection&) = default;
};

// Title of every message box the checks raise.
inline constexpr std::string_view message_title = "数据检查";

class Sheet {
 public:
  virtual ~Sheet() = default;

  // UTF-8 text of a field.
  virtual std::string text(Field f) const = 0;
  // A write that changes the text runs the field's change reaction before it returns; a write
  // that leaves the text as it was runs nothing. The checks' nesting ends on that difference.
  virtual void set_text(Field f, std::string_view text) = 0;
  virtual void set_caption(ResultLabel l, std::string_view caption) = 0;
  virtual void set_selection(Field f, Selection s) = 0;
  virtual void set_tooltip(std::string_view text) = 0;
  // Modal: returns only once the user has dismissed the box.
  virtual void show_message(std::string_view prompt, std::string_view title) = 0;
  virtual void beep() = 0;
};

// What a sheet runs when a write or an edit changes a field's text.
using ChangeReaction = void (*)(Sheet&, Field);

}  // namespace loadcalc
