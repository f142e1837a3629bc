#pragma once
// The window's controls as data: every frame, label, field and the sketch box with its container,
// rectangle (twips), initial caption or text, and place in the focus order. The window is built by
// one loop over this table; nothing is moved or resized after that.

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace loadcalc::ui {

enum class ControlKind : std::uint8_t { frame, label, result_label, text_field, picture_box };

struct Control {
  std::string_view name;
  ControlKind kind;
  std::string_view container;  // "Form1" or a frame's name
  int left;                    // twips, from the container's outer top-left corner
  int top;
  int width;
  int height;
  std::string_view text;  // caption, or the field's text before start-up
  int tab_index;
};

inline constexpr int twips_per_pixel = 15;
inline constexpr int client_width_twips = 9450;
inline constexpr int client_height_twips = 7635;

constexpr int to_pixels(int twips) {
  return twips / twips_per_pixel;
}

// clang-format off
inline constexpr std::array<Control, 33> controls{{
  {"Frame1",   ControlKind::frame,        "Form1",  360,  360,  4575, 2175, "梁上填充墙基本信息",               0},
  {"Label1",   ControlKind::label,        "Frame1", 120,  360,  1815, 255,  "轴线开间尺寸（米）",               14},
  {"Label2",   ControlKind::label,        "Frame1", 1920, 360,  1215, 255,  "层高（米）",                       15},
  {"Label3",   ControlKind::label,        "Frame1", 3000, 360,  1455, 255,  "框架梁高（米）",                   16},
  {"Text1",    ControlKind::text_field,   "Frame1", 360,  720,  1095, 270,  " ",                                1},
  {"Text2",    ControlKind::text_field,   "Frame1", 1800, 720,  855,  270,  " ",                                2},
  {"Text3",    ControlKind::text_field,   "Frame1", 3000, 720,  1095, 270,  " ",                                3},
  {"Label4",   ControlKind::label,        "Frame1", 240,  1200, 2895, 255,  "门窗洞口的宽度（米）、高度（米）", 17},
  {"Label5",   ControlKind::label,        "Frame1", 3240, 1200, 1215, 255,  "墙自重kN/m2",                      18},
  {"Text4",    ControlKind::text_field,   "Frame1", 360,  1560, 1095, 270,  " ",                                4},
  {"Text5",    ControlKind::text_field,   "Frame1", 1800, 1560, 855,  270,  " ",                                5},
  {"Text6",    ControlKind::text_field,   "Frame1", 3000, 1560, 1095, 270,  " ",                                6},
  {"Frame2",   ControlKind::frame,        "Form1",  5400, 360,  3615, 2175, "楼梯恒荷载计算基本信息",           19},
  {"Label6",   ControlKind::label,        "Frame2", 240,  360,  1455, 255,  "踏步宽度（毫米）",                 20},
  {"Label7",   ControlKind::label,        "Frame2", 2040, 360,  1455, 255,  "踏步高度（毫米）",                 21},
  {"Text7",    ControlKind::text_field,   "Frame2", 360,  720,  975,  270,  " ",                                9},
  {"Text8",    ControlKind::text_field,   "Frame2", 2040, 720,  975,  270,  " ",                                10},
  {"Label8",   ControlKind::label,        "Frame2", 240,  1200, 1695, 375,  "楼梯板厚度（毫米）",               22},
  {"Label9",   ControlKind::label,        "Frame2", 2040, 1200, 1455, 255,  "面层厚度（毫米）",                 23},
  {"Text9",    ControlKind::text_field,   "Frame2", 360,  1560, 975,  270,  " ",                                11},
  {"Text10",   ControlKind::text_field,   "Frame2", 2040, 1560, 975,  270,  " ",                                12},
  {"Frame3",   ControlKind::frame,        "Form1",  360,  2760, 4575, 975,  "框架梁上均布线荷载",               24},
  {"Label14",  ControlKind::label,        "Frame3", 1800, 240,  975,  255,  "框架柱宽m",                        32},
  {"Label12",  ControlKind::label,        "Frame3", 3120, 240,  975,  255,  "窗重kN/m2",                        30},
  {"Label10",  ControlKind::result_label, "Frame3", 360,  480,  3735, 375,  "Label10",                          25},
  {"Text13",   ControlKind::text_field,   "Frame3", 1800, 480,  855,  270,  "Text13",                           7},
  {"Text11",   ControlKind::text_field,   "Frame3", 3000, 480,  1095, 270,  "Text11",                           8},
  {"Frame4",   ControlKind::frame,        "Form1",  5400, 2760, 3615, 975,  "楼梯的折算恒荷载",                 26},
  {"Label13",  ControlKind::label,        "Frame4", 2040, 240,  1455, 255,  "面层容重kN/m3",                    31},
  {"Label11",  ControlKind::result_label, "Frame4", 480,  480,  2535, 375,  "Label11",                          27},
  {"Text12",   ControlKind::text_field,   "Frame4", 2040, 480,  975,  270,  "Text12",                           13},
  {"Frame5",   ControlKind::frame,        "Form1",  360,  3960, 8655, 3495, "示意简图",                         28},
  {"Picture1", ControlKind::picture_box,  "Frame5", 120,  240,  8415, 3015, "",                                 29},
}};
// clang-format on

// Lookup by control name; none for a name the table does not hold.
constexpr std::optional<Control> control_named(std::string_view name) {
  for (const Control& c : controls)
    if (c.name == name) return c;
  return std::nullopt;
}

}  // namespace loadcalc::ui
