#pragma once
// An entry judged as the calculator would judge its texts, and computed when it passes.

#include <optional>
#include <string>
#include <string_view>

#include "book/book.h"

namespace loadcalc {

// What the guard's beep means, written out for a book: the window answers these texts (an empty
// field, "01" …) with a beep and a reset, not with a message.
inline constexpr std::string_view guard_mark = "空白或以 0 开头的数，计算器不接受";

struct EntryResult {
  // True when the window would accept every text and the formula has a figure.
  bool valid = false;
  // The result label's caption ("6.7kN/m"); empty when not valid, so that no figure of a refused
  // entry can be shown by mistake.
  std::string caption;
  // Why it is not valid: the message the window's check would show, guard_mark, or the failure
  // text of the formula ("除数为零，无法计算"). Empty when valid.
  std::string message;
  // The field the message is about; none for a failure of the formula.
  std::optional<Field> field;
};

EntryResult evaluate(const Entry& entry);

// What a beam entry's line load was computed with, for the summary: the wall's weight per m²
// (typed, or its layers' sum) and the openings' total area (the one opening of the texts, or the
// stated openings'). None for a stair, and for an entry that is not valid.
struct WallFigures {
  double wall_weight;   // g_w, kN/m²
  double opening_area;  // A_o, m²
};
std::optional<WallFigures> wall_figures(const Entry& entry, const EntryResult& r);

// The result's number as the caption writes it ("6.7" of "6.7kN/m"), and its unit ("kN/m").
std::string_view caption_number(const EntryResult& r, Calculation kind);
std::string_view result_unit(Calculation kind);

}  // namespace loadcalc
