#pragma once
// What each field's reactions drive: the calculation its change check and its Enter key run, and
// its place in the focus order. The focus order itself lives in the control table.

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>

#include "calc/fields.h"
#include "calc/sheet.h"
#include "ui/layout.h"

namespace loadcalc::ui {

struct Wiring {
  Field field;
  Calculation calculation;
  int focus_order;
};

// clang-format off
inline constexpr std::array<Wiring, field_count> wiring{{
  {Field::Text1,  Calculation::MainProgram_1, 1},
  {Field::Text2,  Calculation::MainProgram_1, 2},
  {Field::Text3,  Calculation::MainProgram_1, 3},
  {Field::Text4,  Calculation::MainProgram_1, 4},
  {Field::Text5,  Calculation::MainProgram_1, 5},
  {Field::Text6,  Calculation::MainProgram_1, 6},
  {Field::Text7,  Calculation::MainProgram_2, 9},
  {Field::Text8,  Calculation::MainProgram_2, 10},
  {Field::Text9,  Calculation::MainProgram_2, 11},
  {Field::Text10, Calculation::MainProgram_2, 12},
  {Field::Text11, Calculation::MainProgram_1, 8},
  {Field::Text12, Calculation::MainProgram_2, 13},
  {Field::Text13, Calculation::MainProgram_1, 7},
}};
// clang-format on

constexpr Calculation calculation_of(Field f) {
  return wiring[index_of(f)].calculation;
}

// Controls that take the focus, in Tab order: the thirteen fields and the sketch.
inline constexpr std::size_t focus_chain_length = field_count + 1;

constexpr std::array<std::string_view, focus_chain_length> focus_chain() {
  std::array<Control, focus_chain_length> taking{};
  std::size_t n = 0;
  for (const Control& c : controls)
    if (c.kind == ControlKind::text_field || c.kind == ControlKind::picture_box) taking[n++] = c;
  std::sort(taking.begin(), taking.end(),
            [](const Control& a, const Control& b) { return a.tab_index < b.tab_index; });
  std::array<std::string_view, focus_chain_length> names{};
  for (std::size_t i = 0; i < n; ++i) names[i] = taking[i].name;
  return names;
}

// What a screen reader announces for a field: its label's caption, narrowed to the one quantity
// where a label names two fields.
constexpr std::string_view accessible_name(Field f) {
  if (f == Field::Text4) return "门窗洞口的宽度（米）";
  if (f == Field::Text5) return "门窗洞口的高度（米）";
  return field_info(f).caption;
}

namespace wiring_consistency {

constexpr bool rows_in_field_order() {
  for (std::size_t i = 0; i < field_count; ++i)
    if (wiring[i].field != field_at(i)) return false;
  return true;
}

// A field's reactions run exactly the calculation that reads it, and its focus place is the
// control table's.
constexpr bool agrees_with_tables() {
  for (const Wiring& w : wiring) {
    const FieldInfo& info = field_info(w.field);
    if (w.calculation != info.feeds) return false;
    const auto control = control_named(info.name);
    if (!control || control->kind != ControlKind::text_field || control->tab_index != w.focus_order)
      return false;
  }
  return true;
}

static_assert(rows_in_field_order());
static_assert(agrees_with_tables());
static_assert(focus_chain()[0] == "Text1" && focus_chain()[6] == "Text13" &&
              focus_chain()[13] == "Picture1");

}  // namespace wiring_consistency

}  // namespace loadcalc::ui
