#pragma once
// The field table: every input of the calculations with the caption of the label that names it,
// its unit, its start-up default and the calculation it feeds. Each is written here only: the
// window's labels, the checks' reset texts (all but Text11's own), the book's file and the sheet
// read them from here.

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

#include "calc/sheet.h"
#include "calc/table.h"

namespace loadcalc {

struct FieldInfo {
  Field field;
  std::string_view name;     // control name
  std::string_view key;      // the quantity's name where texts are stored by name (a book's file)
  std::string_view caption;  // caption of the label that names the field
  // Symbol of the quantity in the formulas and the working; what follows '_' is a subscript.
  std::string_view quantity;
  std::string_view term;          // what the working's legend calls it
  std::string_view unit;          // as entered
  std::string_view default_text;  // written at start-up; trailing zeros are part of the text
  std::string_view initial_text;  // what the freshly built window holds before start-up
  Calculation feeds;
};

// Texts joined at compile time, so that a caption and its parts are written once.
template <const std::string_view&... parts>
inline constexpr auto joined_chars = [] {
  std::array<char, (parts.size() + ...)> out{};
  std::size_t n = 0;
  for (std::string_view part : {parts...})
    for (char c : part) out[n++] = c;
  return out;
}();
template <const std::string_view&... parts>
inline constexpr std::string_view joined{joined_chars<parts...>.data(),
                                         joined_chars<parts...>.size()};

// One label names both sides of the opening, "门窗洞口的宽度（米）、高度（米）"; each field on its
// own is the stem with its half, "门窗洞口的高度（米）".
inline constexpr std::string_view opening_stem = "门窗洞口的";
inline constexpr std::string_view opening_width = "宽度（米）";
inline constexpr std::string_view opening_height = "高度（米）";
inline constexpr std::string_view list_mark = "、";
inline constexpr std::string_view opening_caption =
    joined<opening_stem, opening_width, list_mark, opening_height>;

// clang-format off
inline constexpr std::array fields = std::to_array<FieldInfo>({
  {Field::Text1,  "Text1",  "bay_span",         "轴线开间尺寸（米）", "L",   "轴线开间尺寸", "m",     "4.0",  " ",      Calculation::MainProgram_1},
  {Field::Text2,  "Text2",  "storey_height",    "层高（米）",         "H",   "层高",         "m",     "3.6",  " ",      Calculation::MainProgram_1},
  {Field::Text3,  "Text3",  "beam_depth",       "框架梁高（米）",     "h_b", "框架梁高",     "m",     "0.45", " ",      Calculation::MainProgram_1},
  {Field::Text4,  "Text4",  "opening_width",    opening_caption,      "b_o", "门窗洞口宽度", "m",     "2.0",  " ",      Calculation::MainProgram_1},
  {Field::Text5,  "Text5",  "opening_height",   opening_caption,      "h_o", "门窗洞口高度", "m",     "2.2",  " ",      Calculation::MainProgram_1},
  {Field::Text6,  "Text6",  "wall_weight",      "墙自重kN/m2",        "g_w", "墙自重",       "kN/m²", "3.0",  " ",      Calculation::MainProgram_1},
  {Field::Text7,  "Text7",  "step_width",       "踏步宽度（毫米）",   "b",   "踏步宽度",     "mm",    "280",  " ",      Calculation::MainProgram_2},
  {Field::Text8,  "Text8",  "step_height",      "踏步高度（毫米）",   "h",   "踏步高度",     "mm",    "160",  " ",      Calculation::MainProgram_2},
  {Field::Text9,  "Text9",  "slab_thickness",   "楼梯板厚度（毫米）", "t",   "楼梯板厚度",   "mm",    "130",  " ",      Calculation::MainProgram_2},
  {Field::Text10, "Text10", "finish_thickness", "面层厚度（毫米）",   "f",   "面层厚度",     "mm",    "30",   " ",      Calculation::MainProgram_2},
  {Field::Text11, "Text11", "window_weight",    "窗重kN/m2",          "g_o", "窗重",         "kN/m²", "0.50", "Text11", Calculation::MainProgram_1},
  {Field::Text12, "Text12", "finish_density",   "面层容重kN/m3",      "γ",   "面层容重",     "kN/m³", "22.0", "Text12", Calculation::MainProgram_2},
  {Field::Text13, "Text13", "column_width",     "框架柱宽m",          "b_c", "框架柱宽",     "m",     "0.0",  "Text13", Calculation::MainProgram_1},
});
// clang-format on
inline constexpr std::size_t field_count = std::size(fields);

constexpr const FieldInfo& field_info(Field f) {
  return row_where(fields, &FieldInfo::field, f);
}

// Lookup by control name ("Text7"); none for any other text.
std::optional<Field> field_named(std::string_view name);

}  // namespace loadcalc
