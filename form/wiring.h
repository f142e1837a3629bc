#pragma once
// What the window derives from its tables: the focus order and the reading order from the control
// table, and what a screen reader calls each field from the field table.

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>

#include "calc/fields.h"
#include "calc/sheet.h"
#include "form/layout.h"

namespace loadcalc::form {

constexpr bool takes_focus(const Control& c) {
  return c.kind == ControlKind::text_field || c.kind == ControlKind::picture_box;
}
// Controls that take the focus, in Tab order: the fields and the sketch.
inline constexpr auto focus_chain_length =
    static_cast<std::size_t>(std::count_if(controls.begin(), controls.end(), takes_focus));

constexpr std::array<std::string_view, focus_chain_length> focus_chain() {
  std::array<Control, focus_chain_length> taking{};
  std::size_t n = 0;
  for (const Control& c : controls)
    if (takes_focus(c)) taking[n++] = c;
  std::sort(taking.begin(), taking.end(),
            [](const Control& a, const Control& b) { return a.tab_index < b.tab_index; });
  std::array<std::string_view, focus_chain_length> names{};
  for (std::size_t i = 0; i < n; ++i) names[i] = taking[i].name;
  return names;
}

// The order the window builds its controls in, which is the order a screen reader meets them and
// the order they are stacked in: each frame, then its fields, result labels and sketch row by row
// (top, then left), each field directly after the label that names it (a label naming two
// fields, before the first). A field therefore lies over any label that reaches under it.
constexpr std::array<Control, controls.size()> reading_order() {
  std::array<Control, controls.size()> order{};
  std::array<bool, controls.size()> placed{};
  std::size_t n = 0;
  const auto place = [&](std::size_t i) {
    if (placed[i]) return;
    placed[i] = true;
    order[n++] = controls[i];
  };
  for (std::size_t frame = 0; frame < controls.size(); ++frame) {
    if (controls[frame].kind != ControlKind::frame) continue;
    place(frame);
    std::array<std::size_t, controls.size()> anchors{};
    std::size_t count = 0;
    for (std::size_t i = 0; i < controls.size(); ++i)
      if (controls[i].container == controls[frame].name && controls[i].kind != ControlKind::label)
        anchors[count++] = i;
    std::stable_sort(anchors.begin(), anchors.begin() + count, [](std::size_t a, std::size_t b) {
      return controls[a].top != controls[b].top ? controls[a].top < controls[b].top
                                                : controls[a].left < controls[b].left;
    });
    for (std::size_t k = 0; k < count; ++k) {
      const Control& anchor = controls[anchors[k]];
      if (anchor.kind == ControlKind::text_field)
        for (std::size_t i = 0; i < controls.size(); ++i)
          if (controls[i].container == anchor.container && controls[i].kind == ControlKind::label &&
              controls[i].field == anchor.field)
            place(i);
      place(anchors[k]);
    }
    // A label that names no field still belongs to its frame.
    for (std::size_t i = 0; i < controls.size(); ++i)
      if (controls[i].container == controls[frame].name) place(i);
  }
  return order;
}

// What a screen reader announces for a field: its label's caption, narrowed to the one quantity
// where a label names two fields.
constexpr std::string_view accessible_name(Field f) {
  if (f == Field::Text4) return joined<opening_stem, opening_width>;
  if (f == Field::Text5) return joined<opening_stem, opening_height>;
  return field_info(f).caption;
}

}  // namespace loadcalc::form
