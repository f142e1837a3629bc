// Entries that state their assumptions: the version-2 file, its reading, evaluation, the summary.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
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
Entry stated_beam(std::vector<WallLayerText> layers, std::vector<OpeningText> openings,
                  const test::Texts& changed = {}) {
  Entry e = beam("KL7", changed);
  e.assumptions.wall_layers = std::move(layers);
  e.assumptions.openings = std::move(openings);
  for (Field f : {F::Text4, F::Text5, F::Text6, F::Text11}) e.texts.erase(f);
  return e;
}

// 200 mm of brick at 19 kN/m³ with 20 mm of 17 kN/m³ plaster on both faces: 4.48 kN/m².
const std::vector<WallLayerText> brick_wall{
    {"石灰砂浆", LayerBasis::thickness, "20", "17"},
    {"普通砖（机器制）", LayerBasis::thickness, "200", "19"},
    {"石灰砂浆", LayerBasis::thickness, "20", "17"}};

TEST(BookFileV2, AVersion1FileIsWrittenAgainByteForByte) {
  std::ifstream in(LOADCALC_SOURCE_DIR "/tests/book/data/two-members.lcbook", std::ios::binary);
  const std::string original{std::istreambuf_iterator<char>(in), {}};
  const auto read = read_book(original);
  ASSERT_TRUE(std::holds_alternative<Book>(read)) << std::get<ReadError>(read).message;
  EXPECT_EQ(write_book(std::get<Book>(read)), original);
}

Book stated_book() {
  Book b{{"某办公楼", "", "", "", "", "", ""}, {}};
  b.entries.push_back(
      stated_beam({{"普通砖（机器制）", LayerBasis::thickness, "200", "19"},
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
}

// A stair stating `assumptions` in a file of `version`.
std::string file_with(std::string_view assumptions, int version = 2) {
  return R"({"format": "loadcalc-book", "version": )" + std::to_string(version) +
         R"(, "project": {"name": "", "number": "", "subitem": "", "designer": "", "checker": "",
    "approver": "", "date": ""}, "entries": [{"name": "L", "kind": "stair", "texts": {"step_width":
    "280", "step_height": "160", "slab_thickness": "130", "finish_thickness": "30",
    "finish_density": "22"}, "assumptions": )" +
         std::string(assumptions) + R"(, "note": ""}]})";
}

// The stated beam's file with the wall weight its layers replace typed back in.
std::string with_wall_weight() {
  std::string text = write_book(stated_book());
  return text.insert(text.find(R"("bay_span")"), R"("wall_weight": "3.0", )");
}

TEST(BookFileV2, EveryBadAssumptionIsRefusedWithItsEntryAndKey) {
  const std::pair<std::string, std::string> rows[] = {
      {file_with("[]"), "“assumptions” 应为对象，却是数组"},
      {file_with(R"({"concrete": "25"})"), "“assumptions” 中未知的键 “concrete”"},
      {file_with(R"({"wall_layers": []})"), "“wall_layers” 不是楼梯恒荷载的假定"},
      {file_with(R"({"soffit_finish": {"material": ""}})"), "“soffit_finish”：缺少 “area_weight”"},
      {file_with(R"({"extra_loads": [{"name": "", "area_weight": "1", "line_weight": "1"}]})"),
       "“extra_loads” 第 1 项：“area_weight” 与 “line_weight”、“flight_width” 只能有一种"},
      {with_wall_weight(), "“wall_weight” 已由 “wall_layers” 代替，不应再有此输入"},
      {file_with("{}", 1), "未知的键 “assumptions”"},
  };
  for (const auto& [bytes, message] : rows) {
    const auto read = read_book(bytes);
    ASSERT_TRUE(std::holds_alternative<ReadError>(read)) << bytes;
    EXPECT_EQ(std::get<ReadError>(read).message, "第 1 条计算：" + message) << bytes;
  }
}

TEST(EvaluateAssumptions, JudgesTheStatedFiguresThenComputesWithThem) {
  const auto shown = [](const Entry& e) {
    const EntryResult r = evaluate(e);
    return r.valid ? r.caption : r.message;
  };
  // (4.2 − 0.55) m of 4.48 kN/m² over a bay with no column: 13.87 + 2.48.
  EXPECT_EQ(shown(stated_beam(brick_wall, {},
                              {{F::Text1, "6.0"}, {F::Text2, "4.2"}, {F::Text3, "0.55"}})),
            "16.352kN/m");
  // The width rule over all the openings: 1.5 + 2 × 1.25 reaches the bay of 4.
  EXPECT_EQ(shown(stated_beam(brick_wall, {{"1.5", "2.0", "1", "0.2", "木门"},
                                           {"1.25", "1.5", "2", "0.45", ""}})),
            "窗宽≥开间轴线间距，数据错误。请重新输入！");
}

TEST(SummaryAssumptions, SaysTheWallWeightAndOpeningAreaUsed) {
  const std::string csv = summary_csv(stated_book());
  // 3.8 + 0.5 kN/m² and 1 × 0.9 × 2.1 + 2 × 1.2 × 1.5 m² for the beam; nothing for the stair.
  for (const char* row : {",结果,单位,墙自重取值(kN/m²),洞口总面积(m²),检查,备注\r\n",
                          ",kN/m,4.3,5.49,,\r\n", ",kN/m^2,,,,\r\n"})
    EXPECT_NE(csv.find(row), std::string::npos) << row << "\n" << csv;
}

}  // namespace
}  // namespace loadcalc
