// Entries that state their assumptions: the version-2 file, its strict reading, evaluation with the
// stated figures, and the summary's two new columns.
#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <variant>

#include "book/book.h"
#include "book/evaluate.h"
#include "book/file.h"
#include "book/summary.h"
#include "tests/support/entries.h"

namespace loadcalc {
namespace {

using F = Field;
using test::beam;
using test::stair;

// A beam whose layers and openings replace its wall_weight, opening and window texts.
Entry stated_beam(std::string name, std::vector<WallLayerText> layers,
                  std::vector<OpeningText> openings, const test::Texts& changed = {}) {
  Entry e = beam(std::move(name), changed);
  e.assumptions.wall_layers = std::move(layers);
  e.assumptions.openings = std::move(openings);
  for (Field f : {F::Text4, F::Text5, F::Text6, F::Text11}) e.texts.erase(f);
  return e;
}

// 200 mm of brick at 19 kN/m³ with 20 mm of 17 kN/m³ plaster on both faces: 4.48 kN/m².
std::vector<WallLayerText> brick_wall() {
  return {{"石灰砂浆", LayerBasis::thickness, "20", "17"},
          {"普通砖（机器制）", LayerBasis::thickness, "200", "19"},
          {"石灰砂浆", LayerBasis::thickness, "20", "17"}};
}

TEST(BookFileV2, EachVersionIsWrittenAgainByteForByte) {
  for (const char* name : {"two-members.lcbook", "assumptions.lcbook"}) {
    std::ifstream in(LOADCALC_SOURCE_DIR "/tests/book/data/" + std::string(name), std::ios::binary);
    std::ostringstream original;
    original << in.rdbuf();
    ASSERT_FALSE(original.str().empty()) << name;
    const auto read = read_book(original.str());
    ASSERT_TRUE(std::holds_alternative<Book>(read)) << std::get<ReadError>(read).message;
    EXPECT_EQ(write_book(std::get<Book>(read)), original.str()) << name;
  }
}

Book stated_book() {
  Book b{{"某办公楼", "", "", "", "", "", ""}, {}};
  b.entries.push_back(
      stated_beam("KL7",
                  {{"普通砖（机器制）", LayerBasis::thickness, "200", "19"},
                   {"贴瓷砖墙面", LayerBasis::area, "", "0.50"}},
                  {{"0.9", "2.1", "1", "0.2", "木门"}, {"1.2", "1.5", "2", "0.45", ""}}));
  Entry s = stair("LT-1");
  s.assumptions.concrete_unit_weight = "24";
  s.assumptions.soffit_finish = FinishText{"水泥粉刷墙面", "0.36"};
  s.assumptions.extra_loads = {{"栏杆自重", ExtraBasis::line, "1.0", "1.2"}};
  b.entries.push_back(s);
  return b;
}

TEST(BookFileV2, RoundTripsAsTyped) {
  const std::string text = write_book(stated_book());
  const auto read = read_book(text);
  ASSERT_TRUE(std::holds_alternative<Book>(read)) << std::get<ReadError>(read).message;
  EXPECT_EQ(std::get<Book>(read), stated_book());
  EXPECT_NE(text.find("\"version\": 2,"), std::string::npos);
  EXPECT_EQ(text.find("wall_weight"), std::string::npos);
}

constexpr std::string_view stair_texts = R"("kind": "stair", "texts": {"step_width": "280",
    "step_height": "160", "slab_thickness": "130", "finish_thickness": "30",
    "finish_density": "22")";
constexpr std::string_view beam_texts = R"("kind": "beam", "texts": {"bay_span": "4.0",
    "storey_height": "3.6", "beam_depth": "0.45", "column_width": "0.0")";

// A stair, or a beam with `texts` added to its four, stating `assumptions` in a file of `version`.
std::string file_with(std::string_view assumptions, std::optional<std::string> texts = {},
                      int version = 2) {
  const std::string entry = texts ? std::string(beam_texts) + *texts : std::string(stair_texts);
  return R"({"format": "loadcalc-book", "version": )" + std::to_string(version) +
         R"(, "project": {"name": "", "number": "", "subitem": "", "designer": "", "checker": "",
    "approver": "", "date": ""}, "entries": [{"name": "L", )" +
         entry + R"(}, "assumptions": )" + std::string(assumptions) + R"(, "note": ""}]})";
}
const std::string openings = R"(, "opening_width": "2", "opening_height": "2.2",
    "window_weight": "0.5")";
std::string layers(int n) {
  std::string out = "[";
  for (int i = 0; i < n; ++i)
    out += R"({"material": "砖", "thickness": "200", "unit_weight": "18"},)";
  return R"({"wall_layers": )" + out.substr(0, out.size() - 1) + "]}";
}

TEST(BookFileV2, EveryBadAssumptionIsRefusedWithItsEntryAndKey) {
  const std::pair<std::string, std::string> rows[] = {
      {file_with("[]"), "第 1 条计算：“assumptions” 应为对象，却是数组"},
      {file_with(R"({"concrete": "25"})"), "第 1 条计算：“assumptions” 中未知的键 “concrete”"},
      {file_with(R"({"wall_layers": []})"), "第 1 条计算：“wall_layers” 不是楼梯恒荷载的假定"},
      {file_with(R"({"concrete_unit_weight": null})"),
       "第 1 条计算：“concrete_unit_weight” 应为文本或数字，却是null"},
      {file_with(R"({"soffit_finish": "0.34"})"),
       "第 1 条计算：“soffit_finish” 应为对象，却是文本"},
      {file_with(R"({"soffit_finish": {"material": ""}})"),
       "第 1 条计算：“soffit_finish”：缺少 “area_weight”"},
      {file_with(R"({"soffit_finish": {"material": "", "area_weight": "0.34", "mm": "20"}})"),
       "第 1 条计算：“soffit_finish”：未知的键 “mm”"},
      {file_with(R"({"extra_loads": {}})"), "第 1 条计算：“extra_loads” 应为数组，却是对象"},
      {file_with(R"({"extra_loads": [{"name": "", "area_weight": "1", "line_weight": "1"}]})"),
       "第 1 条计算：“extra_loads” 第 1 项：“area_weight” 与 “line_weight”、“flight_width” "
       "只能有一种"},
      {file_with(layers(21), openings), "第 1 条计算：“wall_layers” 有 21 层，超过上限 20 层"},
      {file_with(R"({"wall_layers": []})", std::string(openings) + R"(, "wall_weight": "3.0")"),
       "第 1 条计算：“wall_weight” 已由 “wall_layers” 代替，不应再有此输入"},
      {file_with(R"({"wall_layers": []})", ""), "第 1 条计算：缺少输入 “opening_width”"},
      {file_with("{}", {}, 1), "第 1 条计算：未知的键 “assumptions”"},
  };
  for (const auto& [bytes, message] : rows) {
    const auto read = read_book(bytes);
    ASSERT_TRUE(std::holds_alternative<ReadError>(read)) << bytes;
    EXPECT_EQ(std::get<ReadError>(read).message, message) << bytes;
  }
  EXPECT_TRUE(std::holds_alternative<Book>(read_book(file_with(layers(20), openings))));
}

TEST(EvaluateAssumptions, JudgesTheStatedFiguresThenComputesWithThem) {
  Entry own_figures = stair("LT, the calculator's own figures");
  own_figures.assumptions.concrete_unit_weight = "25";
  own_figures.assumptions.soffit_finish = FinishText{"石灰粗砂粉刷", "0.34"};
  Entry no_width = stair("LT, a railing over no width");
  no_width.assumptions.extra_loads = {{"栏杆自重", ExtraBasis::line, "1.0", "0"}};
  const std::pair<Entry, std::string> rows[] = {
      // (4.2 − 0.55) m of 4.48 kN/m² over a bay with no column: 13.87 + 2.48.
      {stated_beam("brick wall", brick_wall(), {},
                   {{F::Text1, "6.0"}, {F::Text2, "4.2"}, {F::Text3, "0.55"}}),
       "16.352kN/m"},
      // The width rule over all the openings: 1.5 + 2 × 1.25 reaches the bay of 4.
      {stated_beam("openings as wide as the bay", brick_wall(),
                   {{"1.5", "2.0", "1", "0.2", "木门"}, {"1.25", "1.5", "2", "0.45", ""}}),
       "窗宽≥开间轴线间距，数据错误。请重新输入！"},
      {stated_beam("words", {{"砖", LayerBasis::thickness, "两百", "19"}}, {}),
       "墙体第1层的厚度“两百”不是数，数据错误。请重新输入！"},
      {own_figures, "7.172kN/m^2"},
      {no_width, "除数为零，无法计算"},
  };
  for (const auto& [entry, shown] : rows) {
    const EntryResult r = evaluate(entry);
    EXPECT_EQ(r.valid ? r.caption : r.message, shown) << entry.name;
  }
}

TEST(SummaryAssumptions, SaysTheWallWeightAndOpeningAreaUsed) {
  Book b = stated_book();
  // 200 mm of block at 6 kN/m³ with 30 mm of 20 kN/m³ plaster: 1.8 kN/m².
  b.entries.push_back(stated_beam("block wall",
                                  {{"加气混凝土", LayerBasis::thickness, "200", "6"},
                                   {"水泥砂浆", LayerBasis::thickness, "30", "20"}},
                                  {}));
  const std::string csv = summary_csv(b);
  const char* rows[] = {
      ",结果,单位,墙自重取值(kN/m²),洞口总面积(m²),检查,备注\r\n",
      // 3.8 + 0.5; 1 × 0.9 × 2.1 + 2 × 1.2 × 1.5.
      ",kN/m,4.3,5.49,,\r\n",
      ",kN/m^2,,,,\r\n",
      ",kN/m,1.8,0,,\r\n",
  };
  for (const char* row : rows) EXPECT_NE(csv.find(row), std::string::npos) << row << "\n" << csv;
}

}  // namespace
}  // namespace loadcalc
