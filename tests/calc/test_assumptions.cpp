// An entry's assumptions: the materials it picks from, the generalised formulas with the figures
// published calculation books print, and the promise that an entry stating only what the
// calculator holds gets the calculator's figure to the bit.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "calc/assumptions.h"
#include "calc/calculations.h"
#include "calc/fields.h"
#include "calc/materials.h"
#include "calc/memory_sheet.h"
#include "calc/number.h"
#include "calc/working_text.h"

namespace loadcalc {
namespace {

std::uint64_t bits(double x) {
  return std::bit_cast<std::uint64_t>(x);
}

std::string caption(const CalcResult& r, std::string_view unit) {
  if (r.status != CalcStatus::ok) return std::string(failure_text(r.status));
  return format_result(r.value, unit).value_or("(none)");
}

MemorySheet sheet_with(std::initializer_list<std::pair<Field, const char*>> edits) {
  MemorySheet sheet;
  for (const FieldInfo& f : fields) sheet.load(f.field, f.default_text);
  for (const auto& [field, text] : edits) sheet.load(field, text);
  return sheet;
}

WallLayerText by_thickness(std::string material, std::string mm, std::string unit_weight) {
  return {std::move(material), LayerBasis::thickness, std::move(mm), std::move(unit_weight)};
}
WallLayerText by_area(std::string material, std::string area_weight) {
  return {std::move(material), LayerBasis::area, "", std::move(area_weight)};
}

// ---- The table ----

TEST(Materials, RowsAreTheLoadCodesFigures) {
  struct Row {
    const char* name;
    double low, high, taken;
    const char* citation;
    const char* range;
  };
  const Row rows[] = {
      {"钢筋混凝土", 24, 25, 25, "GB 50009—2012 附录A 表A 第6项", "24～25 kN/m³"},
      {"加气混凝土", 5.5, 7.5, 7.5, "GB 50009—2012 附录A 表A 第6项", "5.5～7.5 kN/m³"},
      {"普通砖（机器制）", 19, 19, 19, "GB 50009—2012 附录A 表A 第5项", "19 kN/m³"},
      {"浆砌机砖", 19, 19, 19, "GB 50009—2012 附录A 表A 第10项", "19 kN/m³"},
      {"石灰砂浆", 17, 17, 17, "GB 50009—2012 附录A 表A 第6项", "17 kN/m³"},
      {"水泥砂浆", 20, 20, 20, "GB 50009—2012 附录A 表A 第6项", "20 kN/m³"},
      {"石灰粗砂粉刷", 0.34, 0.34, 0.34, "GB 50009—2012 附录A 表A 第11项", "0.34 kN/m²"},
      {"贴瓷砖墙面", 0.5, 0.5, 0.5, "GB 50009—2012 附录A 表A 第11项", "0.5 kN/m²"},
      {"木框玻璃窗", 0.2, 0.3, 0.3, "GB 50009—2012 附录A 表A 第12项", "0.2～0.3 kN/m²"},
      {"木门", 0.1, 0.2, 0.2, "GB 50009—2012 附录A 表A 第12项", "0.1～0.2 kN/m²"},
      {"钢铁门", 0.4, 0.45, 0.45, "GB 50009—2012 附录A 表A 第12项", "0.4～0.45 kN/m²"},
  };
  for (const Row& r : rows) {
    const Material* m = find_material(r.name);
    ASSERT_NE(m, nullptr) << r.name;
    EXPECT_EQ(m->low, r.low) << r.name;
    EXPECT_EQ(m->high, r.high) << r.name;
    EXPECT_EQ(default_weight(*m), r.taken) << r.name;
    EXPECT_EQ(citation_text(*m), r.citation) << r.name;
    EXPECT_EQ(range_text(*m), r.range) << r.name;
  }
  // Not the code's wording: no row, so a figure stated with it is the designer's.
  for (const char* name : {"烧结普通砖", "蒸压加气混凝土砌块", "铝合金窗", "", "钢筋混凝土 "})
    EXPECT_EQ(find_material(name), nullptr) << name;
}

TEST(Materials, FigureOutsideTheCodesRangeIsFlagged) {
  struct Row {
    const char* name;
    double value;
    bool outside;
  };
  const Row rows[] = {
      {"钢筋混凝土", 24, false}, {"钢筋混凝土", 25, false},   {"钢筋混凝土", 24.5, false},
      {"钢筋混凝土", 26, true},  {"钢筋混凝土", 23.99, true}, {"水泥砂浆", 20, false},
      {"水泥砂浆", 21, true},    {"木门", 0.25, true},        {"木门", NAN, true},
  };
  for (const Row& r : rows)
    EXPECT_EQ(outside_range(*find_material(r.name), r.value), r.outside)
        << r.name << " " << r.value;
}

TEST(Materials, SourcesAsTheSheetPrintsThem) {
  struct Row {
    const char* material;
    WeightBasis basis;
    double value;
    const char* source;
  };
  const Row rows[] = {
      {"水泥砂浆", WeightBasis::volume, 20, "GB 50009—2012 附录A 表A 第6项"},
      {"钢筋混凝土", WeightBasis::volume, 24.5,
       "GB 50009—2012 附录A 表A 第6项（所列 24～25 kN/m³）"},
      {"钢筋混凝土", WeightBasis::volume, 26,
       "设计取值，超出规范所列范围（GB 50009—2012 附录A 表A 第6项 所列 24～25 kN/m³）"},
      {"自定砌块", WeightBasis::volume, 9, "设计取值"},
      // A finish named for a layer weighed by thickness is not the row's figure.
      {"石灰粗砂粉刷", WeightBasis::volume, 17, "设计取值"},
      {"石灰粗砂粉刷", WeightBasis::area, 0.34, "GB 50009—2012 附录A 表A 第11项"},
  };
  for (const Row& r : rows)
    EXPECT_EQ(source_text(source_of(r.material, r.basis, r.value)), r.source) << r.material;
}

// ---- The formulas: published worked examples and hand calculations ----

TEST(WallBuildUp, PublishedWorkedExamples) {
  // 200 厚砖墙 19 kN/m³，双面 20 厚石灰砂浆 17 kN/m³: 3.8 + 0.34 + 0.34 = 4.48 kN/m².
  const BuildUp brick = build_up(std::vector{by_thickness("普通砖（机器制）", "200", "19"),
                                             by_thickness("石灰砂浆", "20", "17"),
                                             by_thickness("石灰砂浆", "20", "17")});
  ASSERT_EQ(brick.layers.size(), 3u);
  EXPECT_NEAR(brick.layers[0].weight, 3.8, 1e-15);
  EXPECT_NEAR(brick.layers[1].weight, 0.34, 1e-15);
  EXPECT_NEAR(brick.wall_weight, 4.48, 1e-14);
  // 200 厚加气混凝土砌块 6 kN/m³，30 厚 20 kN/m³ 抹灰: 1.2 + 0.6 = 1.8 kN/m².
  const BuildUp block = build_up(
      std::vector{by_thickness("加气混凝土", "200", "6"), by_thickness("水泥砂浆", "30", "20")});
  EXPECT_NEAR(block.wall_weight, 1.8, 1e-15);
  EXPECT_FALSE(block.layers[0].source.outside_range);  // 6 lies within 5.5～7.5
  // A finish by area weight is added as stated.
  EXPECT_EQ(build_up(std::vector{by_thickness("水泥砂浆", "100", "20"),
                                 by_area("石灰粗砂粉刷", "0.34"), by_area("贴瓷砖墙面", "0.5")})
                .wall_weight,
            0.0 + 100.0 / 1000 * 20 + 0.34 + 0.5);
  EXPECT_EQ(build_up({}).wall_weight, 0.0);
}

TEST(WallBuildUp, PublishedBrickWallOnItsBeam) {
  // (4.2 − 0.55) m of the wall above, no opening, no column taken off: 3.65 × 3.8 = 13.87 for
  // the brick and 3.65 × 0.68 = 2.48 for the plaster, 16.35 kN/m.
  const MemorySheet sheet = sheet_with(
      {{Field::Text1, "6.0"}, {Field::Text2, "4.2"}, {Field::Text3, "0.55"}, {Field::Text13, "0"}});
  Assumptions a;
  a.wall_layers = {by_thickness("普通砖（机器制）", "200", "19"),
                   by_thickness("石灰砂浆", "20", "17"), by_thickness("石灰砂浆", "20", "17")};
  a.openings.emplace();
  const CalcResult r = calculate(sheet, Calculation::MainProgram_1, a);
  EXPECT_NEAR(r.value, 16.352, 1e-12);
  EXPECT_EQ(caption(r, "kN/m"), "16.352kN/m");
}

TEST(BeamWithOpenings, HandCalculations) {
  struct Row {
    const char* what;
    WallInputs wall;
    std::vector<Opening> openings;
    double area, weight;  // A_o, G_o
    const char* caption;
  };
  const Row rows[] = {
      // A_o = 1.5 × 2.1 + 2 × 0.9 × 2.1 = 6.93; G_o = 3.15 × 0.45 + 3.78 × 0.2 = 2.1735;
      // q = ((5.6 × 3 − 6.93) × 3 + 2.1735) / 6 = 5.29725.
      {"window and two doors",
       {6, 3.6, 0.6, 0.4, 3},
       {{1.5, 2.1, 1, 0.45}, {0.9, 2.1, 2, 0.2}},
       6.93,
       2.1735,
       "5.297kN/m"},
      // A_o = 3 × 1.2 × 1.5 + 2.4 = 7.8; G_o = 5.4 × 0.3 + 2.4 × 0.45 = 2.7;
      // q = ((6.7 × 2.6 − 7.8) × 2.5 + 2.7) / 7.2 = 3.71528.
      {"three windows and a door",
       {7.2, 3.3, 0.7, 0.5, 2.5},
       {{1.2, 1.5, 3, 0.3}, {1.0, 2.4, 1, 0.45}},
       7.8,
       2.7,
       "3.715kN/m"},
      // 4 × 3.15 × 3 / 4, the calculator's "no opening".
      {"no opening", {4, 3.6, 0.45, 0, 3}, {}, 0, 0, "9.45kN/m"},
  };
  for (const Row& r : rows) {
    EXPECT_NEAR(opening_area(r.openings), r.area, 1e-12) << r.what;
    EXPECT_NEAR(openings_weight(r.openings), r.weight, 1e-12) << r.what;
    EXPECT_EQ(caption(beam_line_load(r.wall, r.openings), "kN/m"), r.caption) << r.what;
  }
}

TEST(StairWithMaterials, HandCalculations) {
  const StairInputs stair{280, 160, 130, 30, 22};
  struct Row {
    const char* what;
    StairMaterials materials;
    std::vector<ExtraLoad> extras;
    double value;
    const char* caption;
  };
  const Row rows[] = {
      // 7.1719293 + 1.0 / 1.25 + 0.5
      {"railing and a load per m²",
       default_stair_materials,
       {{ExtraBasis::line, 1.0, 1.25}, {ExtraBasis::area, 0.5, 0}},
       8.4719293309131,
       "8.472kN/m^2"},
      // 1.0371429 + (0.08 + 0.13 / 0.8682431) × 24 + 0.36 / 0.8682431
      {"24 kN/m³ and a cement soffit", {24, 0.36}, {}, 6.9652367091541, "6.965kN/m^2"},
      {"the same and 0.3 kN/m over 1.2 m",
       {24, 0.36},
       {{ExtraBasis::line, 0.3, 1.2}},
       7.2152367091541,
       "7.215kN/m^2"},
  };
  for (const Row& r : rows) {
    const CalcResult result = stair_dead_load(stair, r.materials, r.extras);
    EXPECT_NEAR(result.value, r.value, 1e-12) << r.what;
    EXPECT_EQ(caption(result, "kN/m^2"), r.caption) << r.what;
  }
  EXPECT_EQ(stair_dead_load(stair, default_stair_materials,
                            std::vector{ExtraLoad{ExtraBasis::line, 1, 0}})
                .status,
            CalcStatus::zero_divisor);
}

// ---- The calculator's figure, to the bit ----

double uniform(std::mt19937_64& random, double low, double high) {
  return std::uniform_real_distribution<double>(low, high)(random);
}

TEST(CalculatorFigure, OneOpeningAndDefaultMaterialsAreTheFormulasToTheBit) {
  std::mt19937_64 random(25);
  const auto value = [&random](double low, double high) { return uniform(random, low, high); };
  for (int i = 0; i < 20000; ++i) {
    // Values of every size, geometry that makes sense and geometry that does not.
    const double s = i % 4 == 0 ? 1e6 : 10;
    const BeamInputs beam{value(0, s),  value(0, s), value(0, s),  value(-1, s),
                          value(-1, s), value(0, s), value(0, 10), value(-1, s)};
    const CalcResult general = beam_line_load(
        WallInputs{beam.bay_span, beam.storey_height, beam.beam_depth, beam.column_width,
                   beam.wall_weight},
        std::vector{field_opening(beam.opening_width, beam.opening_height, beam.window_weight)});
    ASSERT_EQ(general.status, beam_line_load(beam).status) << i;
    ASSERT_EQ(bits(general.value), bits(beam_line_load(beam).value)) << i;

    const StairInputs stair{value(0, 350), value(0, 200), value(0, 300), value(0, 100),
                            value(0, 50)};
    const CalcResult stated = stair_dead_load(stair, default_stair_materials, {});
    ASSERT_EQ(stated.status, stair_dead_load(stair).status) << i;
    ASSERT_EQ(bits(stated.value), bits(stair_dead_load(stair).value)) << i;
  }
}

// Through the texts as a book entry holds them: the calculator's fields restated as assumptions
// (one opening of count "1", the table's 25 and 0.34 typed, a single layer of the typed weight).
TEST(CalculatorFigure, RestatedEntriesKeepTheCalculatorsCaptionAndBits) {
  std::mt19937_64 random(50009);
  // Texts with three decimals, their whole part up to this, by field (Text1 to Text13).
  constexpr double whole[] = {9, 5, 1, 4, 3, 9, 349, 199, 299, 99, 9, 49, 1};
  for (int i = 0; i < 5000; ++i) {
    MemorySheet sheet;
    for (const FieldInfo& f : fields) {
      const double x = std::round(uniform(random, 0, whole[index_of(f.field)]) * 1000) / 1000;
      sheet.load(f.field, shortest_figure(x));
    }
    Assumptions a;
    a.openings = {{sheet.text(Field::Text4), sheet.text(Field::Text5), "1",
                   sheet.text(Field::Text11), "钢框玻璃窗"}};
    if (i % 2 == 0) a.wall_layers = {by_area("自定墙体", sheet.text(Field::Text6))};
    a.concrete_unit_weight = "25";
    a.soffit_finish = FinishText{"石灰粗砂粉刷", "0.34"};

    for (const Calculation c : {Calculation::MainProgram_1, Calculation::MainProgram_2}) {
      const CalcResult calculator = calculate(sheet, c, Assumptions{});
      const CalcResult restated = calculate(sheet, c, a);
      ASSERT_EQ(restated.status, calculator.status) << i;
      ASSERT_EQ(bits(restated.value), bits(calculator.value)) << i;
      MemorySheet written = sheet;
      run_calculation(written, c, a);
      run_calculation(sheet, c);
      const ResultLabel l = result_label(c);
      ASSERT_EQ(written.caption(l), sheet.caption(l)) << i;
      // The working is the same computation: its caption is the label's.
      ASSERT_EQ(working(sheet, c, a).caption, sheet.caption(l)) << i;
    }
  }
}

// ---- The entry ----

TEST(Entry, WhichFieldsAnAssumptionReplaces) {
  Assumptions a;
  EXPECT_FALSE(states_any(a, Calculation::MainProgram_1));
  EXPECT_FALSE(states_any(a, Calculation::MainProgram_2));
  a.openings.emplace();  // stated, and empty: a wall with no opening
  EXPECT_TRUE(states_any(a, Calculation::MainProgram_1));
  EXPECT_FALSE(states_any(a, Calculation::MainProgram_2));
  a.extra_loads.push_back({"栏杆自重", ExtraBasis::area, "0.2", ""});
  EXPECT_TRUE(states_any(a, Calculation::MainProgram_2));
  a.wall_layers.emplace();
  for (const FieldInfo& f : fields) {
    const bool replaced = f.field == Field::Text4 || f.field == Field::Text5 ||
                          f.field == Field::Text6 || f.field == Field::Text11;
    EXPECT_EQ(replaces(a, f.field), replaced) << f.name;
  }
}

TEST(Entry, ReplacedFieldsAreNotRead) {
  MemorySheet sheet = sheet_with({{Field::Text4, "9"}, {Field::Text5, "x"}, {Field::Text6, ""}});
  Assumptions a;
  a.wall_layers = {by_area("", "3")};
  a.openings = {{"2", "2.2", "1", "0.5", ""}};
  EXPECT_EQ(run_calculation(sheet, Calculation::MainProgram_1, a), CalcStatus::ok);
  EXPECT_EQ(sheet.caption(ResultLabel::Label10), "6.7kN/m");
}

TEST(Entry, ZeroFlightWidthWritesTheFailureAsTheCaption) {
  MemorySheet sheet = sheet_with({});
  Assumptions a;
  a.extra_loads = {{"栏杆自重", ExtraBasis::line, "1", "0"}};
  EXPECT_EQ(run_calculation(sheet, Calculation::MainProgram_2, a), CalcStatus::zero_divisor);
  EXPECT_EQ(sheet.caption(ResultLabel::Label11), "除数为零，无法计算");
  const Working w = working(sheet, Calculation::MainProgram_2, a);
  EXPECT_EQ(w.failure, "除数 = 0，除数为零，无法计算。");
  // The whole formula is still written, extras and all.
  EXPECT_NE(working_text(w).find("+ 0.34 / cos α + g_e1"), std::string::npos) << working_text(w);
}

// ---- The working ----

TEST(AssumedWorking, BrickWallReadsAsACalculationSheet) {
  const MemorySheet sheet = sheet_with(
      {{Field::Text1, "6.0"}, {Field::Text2, "4.2"}, {Field::Text3, "0.55"}, {Field::Text13, "0"}});
  Assumptions a;
  a.wall_layers = {by_thickness("普通砖（机器制）", "200", "19"), by_area("石灰粗砂粉刷", "0.34"),
                   by_thickness("石灰砂浆", "20", "18")};
  a.openings = {{"1.5", "2.1", "2", "0.45", "钢框玻璃窗"}, {"0.9", "2.1", "1", "0.5", ""}};
  EXPECT_EQ(working_text(working(sheet, Calculation::MainProgram_1, a)),
            "框架梁上均布线荷载\n"
            "q = (((L − b_c) × (H − h_b) − A_o) × g_w + G_o) / L\n"
            "式中：\n"
            "L — 轴线开间尺寸，m\n"
            "H — 层高，m\n"
            "h_b — 框架梁高，m\n"
            "b_c — 框架柱宽，m\n"
            "g_1 — 墙体第1层，kN/m²\n"
            "g_2 — 墙体第2层，kN/m²\n"
            "g_3 — 墙体第3层，kN/m²\n"
            "g_w — 墙自重（按墙体构造），kN/m²\n"
            "A_o — 门窗洞口总面积，m²\n"
            "G_o — 门窗总重，kN\n"
            "A_w — 墙体净面积，m²\n"
            "墙体第1层 普通砖（机器制），200 mm，19 kN/m³ — GB 50009—2012 附录A 表A 第5项\n"
            "墙体第2层 石灰粗砂粉刷，0.34 kN/m² — GB 50009—2012 附录A 表A 第11项\n"
            "墙体第3层 石灰砂浆，20 mm，18 kN/m³ — 设计取值，超出规范所列范围（GB 50009—2012 "
            "附录A 表A 第6项 所列 17 kN/m³）\n"
            "洞口1 钢框玻璃窗，0.45 kN/m² — GB 50009—2012 附录A 表A 第12项（所列 0.4～0.45 "
            "kN/m²）\n"
            "洞口2，0.5 kN/m² — 设计取值\n"
            "计算：\n"
            "g_1 = 200 mm / 1000 × 19 kN/m³ = 3.800 kN/m²\n"
            "g_3 = 20 mm / 1000 × 18 kN/m³ = 0.3600 kN/m²\n"
            "g_w = g_1 + g_2 + g_3 = 3.800 + 0.34 + 0.3600 = 4.500 kN/m²\n"
            "A_o = 2 × 1.5 × 2.1 + 1 × 0.9 × 2.1 = 8.190 m²\n"
            "G_o = 2 × 1.5 × 2.1 × 0.45 + 1 × 0.9 × 2.1 × 0.5 = 3.780 kN\n"
            "A_w = (L − b_c) × (H − h_b) − A_o = (6 − 0) × (4.2 − 0.55) − 8.190 = 13.71 m²\n"
            "q = (A_w × g_w + G_o) / L = (13.71 × 4.500 + 3.780) / 6 = 10.91 kN/m\n"
            "结果：q = 10.913kN/m\n");
}

TEST(AssumedWorking, StairStatesItsMaterialsAndExtras) {
  const MemorySheet sheet = sheet_with({});
  Assumptions a;
  a.concrete_unit_weight = "24";
  a.soffit_finish = FinishText{"水泥粉刷墙面", "0.36"};
  a.extra_loads = {{"栏杆自重", ExtraBasis::line, "0.3", "1.2"},
                   {"踏步防滑条", ExtraBasis::area, "0.05", ""}};
  const std::string text = working_text(working(sheet, Calculation::MainProgram_2, a));
  for (const char* line : {
           "g = (b + h) / b × f × γ + (h / 2 + t / cos α) × 24 + 0.36 / cos α + g_e1 + g_e2\n",
           "g_0 — 楼梯自重（不含附加荷载），kN/m²\ng_e1 — 附加荷载1，kN/m²\ng_e2 — "
           "附加荷载2，kN/m²\n",
           "钢筋混凝土容重 24 kN/m³ — GB 50009—2012 附录A 表A 第6项（所列 24～25 kN/m³）\n",
           "板底粉刷 水泥粉刷墙面，0.36 kN/m² — GB 50009—2012 附录A 表A 第11项\n",
           "附加荷载1 栏杆自重，0.3 kN/m / 1.2 m — 设计取值\n",
           "附加荷载2 踏步防滑条，0.05 kN/m² — 设计取值\n",
           "g_e1 = 0.3 kN/m / 1.2 m = 0.2500 kN/m²\n",
           "g = g_0 + g_e1 + g_e2 = 6.965 + 0.2500 + 0.05 = 7.265 kN/m²\n",
           "结果：g = 7.265kN/m^2\n",
       })
    EXPECT_NE(text.find(line), std::string::npos) << line << "\nin\n" << text;
}

TEST(AssumedWorking, AnEntryStatingNothingIsTheCalculatorsWorking) {
  const MemorySheet sheet = sheet_with({{Field::Text4, "1.2"}});
  for (const Calculation c : {Calculation::MainProgram_1, Calculation::MainProgram_2})
    EXPECT_EQ(working_text(working(sheet, c, Assumptions{})), working_text(working(sheet, c)));
}

TEST(SheetTables, OpeningsTableRowsAndTotals) {
  const OpeningsTable table = openings_table(std::vector<OpeningText>{
      {"1.5", "2.1", "2", "0.45", "钢框玻璃窗"}, {"0.9", "2.1", "1", "0.25", "木门"}});
  ASSERT_EQ(table.rows.size(), 2u);
  EXPECT_NEAR(table.rows[0].area, 6.3, 1e-14);
  EXPECT_NEAR(table.rows[0].weight, 2.835, 1e-14);
  EXPECT_FALSE(table.rows[0].source.outside_range);
  EXPECT_TRUE(table.rows[1].source.outside_range);  // 木门 0.10～0.20
  EXPECT_EQ(table.area, table.rows[0].area + table.rows[1].area);
  EXPECT_EQ(table.weight, table.rows[0].weight + table.rows[1].weight);
}

}  // namespace
}  // namespace loadcalc
