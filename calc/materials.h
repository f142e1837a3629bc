#pragma once
// The materials an engineer states a wall, an opening or a stair with, as the load code lists
// them: GB 50009—2012 《建筑结构荷载规范》 附录A, 表A 常用材料和构件的自重表. Each row carries the
// code's figure (or range), the item it stands under, and its note. A book stores a material by
// its name; the sheet cites its row; every list of choices is this table filtered by group.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace loadcalc {

inline constexpr std::string_view load_code = "GB 50009—2012";
// What the sheet prints beside a figure the code does not list for the material.
inline constexpr std::string_view designer_value = "设计取值";
inline constexpr std::string_view outside_range_note = "超出规范所列范围";

// What the material is picked for. The first three are weighed by volume (kN/m³, times a
// thickness); the last two by area (kN/m²).
enum class MaterialGroup : std::uint8_t {
  masonry,      // bricks, blocks and masonry: a wall's body
  concrete,     // concretes, by the cubic metre
  mortar,       // mortars and plasters, by the cubic metre
  finish,       // wall and soffit finishes, by the square metre
  door_window,  // doors and windows, by the square metre of opening
};

enum class WeightBasis : std::uint8_t {
  volume,  // unit weight, kN/m³
  area,    // weight per square metre of face, kN/m²
};

constexpr WeightBasis basis_of(MaterialGroup g) {
  return g == MaterialGroup::finish || g == MaterialGroup::door_window ? WeightBasis::area
                                                                       : WeightBasis::volume;
}
constexpr std::string_view unit_of(WeightBasis b) {
  return b == WeightBasis::volume ? "kN/m³" : "kN/m²";
}

struct Material {
  // Unique; the code's own wording, with its note in brackets where the code lists the same
  // name twice.
  std::string_view name;
  MaterialGroup group;
  // The code's figure; low < high where it gives a range.
  double low;
  double high;
  std::string_view citation;  // "附录A 表A 第6项"
  std::string_view note;      // the code's 备注, or empty
};

// clang-format off
inline constexpr std::array materials = std::to_array<Material>({
  // 第5项 砖及砌块
  {"普通砖",                   MaterialGroup::masonry,     18.0,  18.0,  "附录A 表A 第5项",  "240mm×115mm×53mm（684块/m³）"},
  {"普通砖（机器制）",         MaterialGroup::masonry,     19.0,  19.0,  "附录A 表A 第5项",  "机器制"},
  {"灰砂砖",                   MaterialGroup::masonry,     18.0,  18.0,  "附录A 表A 第5项",  "砂:白灰＝92:8"},
  {"煤渣砖",                   MaterialGroup::masonry,     17.0,  18.5,  "附录A 表A 第5项",  ""},
  {"蒸压粉煤灰砖",             MaterialGroup::masonry,     14.0,  16.0,  "附录A 表A 第5项",  "干重度"},
  {"陶粒空心砌块",             MaterialGroup::masonry,     6.0,   6.0,   "附录A 表A 第5项",  "390mm×290mm×190mm"},
  {"粉煤灰轻渣空心砌块",       MaterialGroup::masonry,     7.0,   8.0,   "附录A 表A 第5项",  "390mm×190mm×190mm，390mm×240mm×190mm"},
  {"蒸压粉煤灰加气混凝土砌块", MaterialGroup::masonry,     5.5,   5.5,   "附录A 表A 第5项",  ""},
  {"混凝土空心小砌块",         MaterialGroup::masonry,     11.8,  11.8,  "附录A 表A 第5项",  "390mm×190mm×190mm"},
  // 第10项 砌体
  {"浆砌普通砖",               MaterialGroup::masonry,     18.0,  18.0,  "附录A 表A 第10项", ""},
  {"浆砌机砖",                 MaterialGroup::masonry,     19.0,  19.0,  "附录A 表A 第10项", ""},
  {"粉煤灰泡沫砌块砌体",       MaterialGroup::masonry,     8.0,   8.5,   "附录A 表A 第10项", "粉煤灰:电石渣:废石膏＝74:22:4"},
  // 第6项 石灰、水泥、灰浆及混凝土
  {"加气混凝土",               MaterialGroup::masonry,     5.5,   7.5,   "附录A 表A 第6项",  "单块"},
  {"石灰粉煤灰加气混凝土",     MaterialGroup::masonry,     6.0,   6.5,   "附录A 表A 第6项",  ""},
  {"泡沫混凝土",               MaterialGroup::masonry,     4.0,   6.0,   "附录A 表A 第6项",  ""},
  {"素混凝土",                 MaterialGroup::concrete,    22.0,  24.0,  "附录A 表A 第6项",  "振捣或不振捣"},
  {"钢筋混凝土",               MaterialGroup::concrete,    24.0,  25.0,  "附录A 表A 第6项",  ""},
  {"焦渣混凝土（填充用）",     MaterialGroup::concrete,    10.0,  14.0,  "附录A 表A 第6项",  "填充用"},
  // The code lists 石灰砂浆 and 混合砂浆 on one line, "石灰砂浆、混合砂浆 17.0".
  {"石灰砂浆",                 MaterialGroup::mortar,      17.0,  17.0,  "附录A 表A 第6项",  ""},
  {"混合砂浆",                 MaterialGroup::mortar,      17.0,  17.0,  "附录A 表A 第6项",  ""},
  {"水泥砂浆",                 MaterialGroup::mortar,      20.0,  20.0,  "附录A 表A 第6项",  ""},
  {"水泥石灰焦渣砂浆",         MaterialGroup::mortar,      14.0,  14.0,  "附录A 表A 第6项",  ""},
  {"纸筋石灰泥",               MaterialGroup::mortar,      16.0,  16.0,  "附录A 表A 第6项",  ""},
  {"石膏砂浆",                 MaterialGroup::mortar,      12.0,  12.0,  "附录A 表A 第6项",  ""},
  {"膨胀珍珠岩砂浆",           MaterialGroup::mortar,      7.0,   15.0,  "附录A 表A 第6项",  ""},
  // 第11项 隔墙与墙面
  {"贴瓷砖墙面",               MaterialGroup::finish,      0.50,  0.50,  "附录A 表A 第11项", "包括水泥砂浆打底，共厚25mm"},
  {"水泥粉刷墙面",             MaterialGroup::finish,      0.36,  0.36,  "附录A 表A 第11项", "20mm厚，水泥粗砂"},
  {"水磨石墙面",               MaterialGroup::finish,      0.55,  0.55,  "附录A 表A 第11项", "25mm厚，包括打底"},
  {"水刷石墙面",               MaterialGroup::finish,      0.50,  0.50,  "附录A 表A 第11项", "25mm厚，包括打底"},
  {"石灰粗砂粉刷",             MaterialGroup::finish,      0.34,  0.34,  "附录A 表A 第11项", "20mm厚"},
  {"剁假石墙面",               MaterialGroup::finish,      0.50,  0.50,  "附录A 表A 第11项", "25mm厚，包括打底"},
  {"外墙拉毛墙面",             MaterialGroup::finish,      0.70,  0.70,  "附录A 表A 第11项", "包括25mm水泥砂浆打底"},
  // 第12项 屋架、门窗
  {"木框玻璃窗",               MaterialGroup::door_window, 0.20,  0.30,  "附录A 表A 第12项", ""},
  {"钢框玻璃窗",               MaterialGroup::door_window, 0.40,  0.45,  "附录A 表A 第12项", ""},
  {"木门",                     MaterialGroup::door_window, 0.10,  0.20,  "附录A 表A 第12项", ""},
  {"钢铁门",                   MaterialGroup::door_window, 0.40,  0.45,  "附录A 表A 第12项", ""},
});
// clang-format on

constexpr WeightBasis basis_of(const Material& m) {
  return basis_of(m.group);
}

// Where the code gives a range the figure taken is its upper value: a dead load weighs against
// the structure here, and an unfavourable self-weight takes the upper limit (GB 50009—2012 §4.0.3,
// GB 55001—2021 §4.1.1).
constexpr double default_weight(const Material& m) {
  return m.high;
}

// The row of that exact name; null for any other text (a material the code does not list).
constexpr const Material* find_material(std::string_view name) {
  for (const Material& m : materials)
    if (m.name == name) return &m;
  return nullptr;
}

// True when the figure lies outside the row's range (or is not a number): the sheet then prints
// outside_range_note beside it.
constexpr bool outside_range(const Material& m, double value) {
  return !(value >= m.low && value <= m.high);
}

// The rows the stair falls back on when an entry states nothing, as the calculator's fixed
// figures 25 kN/m³ and 0.34 kN/m².
inline constexpr const Material& stair_concrete = *find_material("钢筋混凝土");
inline constexpr const Material& stair_soffit_finish = *find_material("石灰粗砂粉刷");

// "GB 50009—2012 附录A 表A 第6项".
std::string citation_text(const Material& m);
// The code's figure with its unit: "24～25 kN/m³", "0.34 kN/m²".
std::string range_text(const Material& m);

}  // namespace loadcalc
