#pragma once
// The window's controls as data: every frame, label, field and the sketch box with its container,
// rectangle (twips), caption, and place in the focus order. The window is built by one loop over
// this table; nothing is moved or resized after that.

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "calc/fields.h"

namespace loadcalc::form {

enum class ControlKind : std::uint8_t { frame, label, result_label, text_field, picture_box };

struct Control {
  std::string_view name;
  ControlKind kind;
  std::string_view container;  // "Form1" or a frame's name
  int left;                    // twips, from the container's outer top-left corner
  int top;
  int width;
  int height;
  // A frame's or label's caption; a label naming a field takes the field's caption. Fields and
  // result labels take their text before start-up from the field and calculation tables.
  std::string_view text;
  int tab_index;
  // A text field's own field; the field a label names (the first, where it names two).
  std::optional<Field> field = std::nullopt;
};

inline constexpr int twips_per_pixel = 15;
inline constexpr int client_width_twips = 9450;
inline constexpr int client_height_twips = 7635;

constexpr int to_pixels(int twips) {
  return twips / twips_per_pixel;
}

// A label that names a field shows the field's caption, written once, in the field table.
template <std::size_t n>
constexpr std::array<Control, n> with_field_captions(std::array<Control, n> table) {
  for (Control& c : table)
    if (c.kind == ControlKind::label && c.field) c.text = field_info(*c.field).caption;
  return table;
}

// clang-format off
inline constexpr std::array controls = with_field_captions(std::to_array<Control>({
  {"Frame1",   ControlKind::frame,        "Form1",  360,  360,  4575, 2175, "梁上填充墙基本信息",     0},
  {"Label1",   ControlKind::label,        "Frame1", 120,  360,  1815, 255,  "",                       14, Field::Text1},
  {"Label2",   ControlKind::label,        "Frame1", 1920, 360,  1215, 255,  "",                       15, Field::Text2},
  {"Label3",   ControlKind::label,        "Frame1", 3000, 360,  1455, 255,  "",                       16, Field::Text3},
  {"Text1",    ControlKind::text_field,   "Frame1", 360,  720,  1095, 270,  "",                        1, Field::Text1},
  {"Text2",    ControlKind::text_field,   "Frame1", 1800, 720,  855,  270,  "",                        2, Field::Text2},
  {"Text3",    ControlKind::text_field,   "Frame1", 3000, 720,  1095, 270,  "",                        3, Field::Text3},
  {"Label4",   ControlKind::label,        "Frame1", 240,  1200, 2895, 255,  "",                       17, Field::Text4},
  {"Label5",   ControlKind::label,        "Frame1", 3240, 1200, 1215, 255,  "",                       18, Field::Text6},
  {"Text4",    ControlKind::text_field,   "Frame1", 360,  1560, 1095, 270,  "",                        4, Field::Text4},
  {"Text5",    ControlKind::text_field,   "Frame1", 1800, 1560, 855,  270,  "",                        5, Field::Text5},
  {"Text6",    ControlKind::text_field,   "Frame1", 3000, 1560, 1095, 270,  "",                        6, Field::Text6},
  {"Frame2",   ControlKind::frame,        "Form1",  5400, 360,  3615, 2175, "楼梯恒荷载计算基本信息", 19},
  {"Label6",   ControlKind::label,        "Frame2", 240,  360,  1455, 255,  "",                       20, Field::Text7},
  {"Label7",   ControlKind::label,        "Frame2", 2040, 360,  1455, 255,  "",                       21, Field::Text8},
  {"Text7",    ControlKind::text_field,   "Frame2", 360,  720,  975,  270,  "",                        9, Field::Text7},
  {"Text8",    ControlKind::text_field,   "Frame2", 2040, 720,  975,  270,  "",                       10, Field::Text8},
  {"Label8",   ControlKind::label,        "Frame2", 240,  1200, 1695, 375,  "",                       22, Field::Text9},
  {"Label9",   ControlKind::label,        "Frame2", 2040, 1200, 1455, 255,  "",                       23, Field::Text10},
  {"Text9",    ControlKind::text_field,   "Frame2", 360,  1560, 975,  270,  "",                       11, Field::Text9},
  {"Text10",   ControlKind::text_field,   "Frame2", 2040, 1560, 975,  270,  "",                       12, Field::Text10},
  {"Frame3",   ControlKind::frame,        "Form1",  360,  2760, 4575, 975,  "框架梁上均布线荷载",     24},
  {"Label14",  ControlKind::label,        "Frame3", 1800, 240,  975,  255,  "",                       32, Field::Text13},
  {"Label12",  ControlKind::label,        "Frame3", 3120, 240,  975,  255,  "",                       30, Field::Text11},
  {"Label10",  ControlKind::result_label, "Frame3", 360,  480,  3735, 375,  "",                       25},
  {"Text13",   ControlKind::text_field,   "Frame3", 1800, 480,  855,  270,  "",                        7, Field::Text13},
  {"Text11",   ControlKind::text_field,   "Frame3", 3000, 480,  1095, 270,  "",                        8, Field::Text11},
  {"Frame4",   ControlKind::frame,        "Form1",  5400, 2760, 3615, 975,  "楼梯的折算恒荷载",       26},
  {"Label13",  ControlKind::label,        "Frame4", 2040, 240,  1455, 255,  "",                       31, Field::Text12},
  {"Label11",  ControlKind::result_label, "Frame4", 480,  480,  2535, 375,  "",                       27},
  {"Text12",   ControlKind::text_field,   "Frame4", 2040, 480,  975,  270,  "",                       13, Field::Text12},
  {"Frame5",   ControlKind::frame,        "Form1",  360,  3960, 8655, 3495, "示意简图",               28},
  {"Picture1", ControlKind::picture_box,  "Frame5", 120,  240,  8415, 3015, "",                       29},
}));
// clang-format on

// Lookup by control name; none for a name the table does not hold.
constexpr std::optional<Control> control_named(std::string_view name) {
  for (const Control& c : controls)
    if (c.name == name) return c;
  return std::nullopt;
}

}  // namespace loadcalc::form
