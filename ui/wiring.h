#pragma once
// What the window derives from the tables: the focus order from the control table, and what a
// screen reader calls each field from the field table. A field's reactions run the calculation it
// feeds (FieldInfo::feeds).

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>

#include "calc/fields.h"
#include "calc/sheet.h"
#include "ui/layout.h"

namespace loadcalc::ui {

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

}  // namespace loadcalc::ui
