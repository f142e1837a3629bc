// Entries that state their assumptions: the version-2 file, its strict reading, evaluation with the
// stated figures, and the summary's two new columns.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <variant>

#include "book/book.h"
#include "book/evaluate.h"
#include "book/file.h"
#include "book/schedule.h"
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

std::string bytes_of(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(BookFileV2, EachVersionIsWrittenAgainByteForByte) {
  for (const char* name : {"two-members.lcbook", "assumptions.lcbook"}) {
    const std::string original =
        bytes_of(LOADCALC_SOURCE_DIR "/tests/book/data/" + std::string(name));
    ASSERT_FALSE(original.empty()) << name;
    const auto read = read_book(original);
    ASSERT_TRUE(std::holds_alternative<Book>(read)) << std::get<ReadError>(read).message;
    EXPECT_EQ(write_book(std::get<Book>(read)), original) << name;
  }

  // Assumptions of the other kind state nothing for the entry: still the first version.
  Book b{{}, {stair("LT")}};
  b.entries[0].assumptions.wall_layers = brick_wall();
  EXPECT_NE(write_book(b).find("\"version\": 1,"), std::string::npos);
  EXPECT_EQ(write_book(b).find("assumptions"), std::string::npos);
}

Book stated_book() {
  Book b{{"某办公楼", "", "", "", "", "", ""}, {}};
  b.entries.push_back(
      stated_beam("KL7",
                  {{"普通砖（机器制）", LayerBasis::thickness, "200", "19"},
                   {"贴瓷砖墙面", LayerBasis::area, "", "0.50"}},
                  {{"0.9", "2.1", "1", "0.2", "木门"}, {"1.2", "1.5", "2", "0.45", ""}}));
  Entry layers_only = beam("KL8");
  layers_only.assumptions.wall_layers = brick_wall();
  layers_only.texts.erase(F::Text6);
  b.entries.push_back(layers_only);
  b.entries.push_back(beam("KL9"));
  Entry s = stair("LT-1");
  s.assumptions.concrete_unit_weight = "24";
  s.assumptions.soffit_finish = FinishText{"水泥粉刷墙面", "0.36"};
  s.assumptions.extra_loads = {{"栏杆自重", ExtraBasis::line, "1.0", "1.2"},
                               {"防滑条", ExtraBasis::area, "0.05", ""}};
  b.entries.push_back(s);
  return b;
}

TEST(BookFileV2, RoundTripsAsTypedAndLeavesOutTheReplacedTexts) {
  const std::string text = write_book(stated_book());
  const auto read = read_book(text);
  ASSERT_TRUE(std::holds_alternative<Book>(read)) << std::get<ReadError>(read).message;
  EXPECT_EQ(std::get<Book>(read), stated_book());
  EXPECT_EQ(write_book(std::get<Book>(read)), text);
  EXPECT_NE(text.find("\"version\": 2,"), std::string::npos);
  const char* pieces[] = {
      "      \"texts\": {\n        \"bay_span\": \"4.0\",\n        \"storey_height\": \"3.6\",\n"
      "        \"beam_depth\": \"0.45\",\n        \"column_width\": \"0.0\"\n      },\n"
      "      \"assumptions\": {\n        \"wall_layers\": [\n          {\n"
      "            \"material\": \"普通砖（机器制）\",\n            \"thickness\": \"200\",\n"
      "            \"unit_weight\": \"19\"\n          },\n          {\n"
      "            \"material\": \"贴瓷砖墙面\",\n            \"area_weight\": \"0.50\"\n",
      "            \"count\": \"1\",\n            \"weight\": \"0.2\",\n            \"type\": "
      "\"木门\"\n",
      "            \"count\": \"2\",\n            \"weight\": \"0.45\"\n          }\n",
      "        \"concrete_unit_weight\": \"24\",\n        \"soffit_finish\": {\n"
      "          \"material\": \"水泥粉刷墙面\",\n          \"area_weight\": \"0.36\"\n        "
      "},\n",
      "            \"name\": \"栏杆自重\",\n            \"line_weight\": \"1.0\",\n"
      "            \"flight_width\": \"1.2\"\n",
      "      },\n      \"note\": \"\"\n",
  };
  for (const char* piece : pieces) EXPECT_NE(text.find(piece), std::string::npos) << piece;
  // The beam with layers only keeps its opening's texts.
  EXPECT_NE(text.find("\"opening_width\": \"2.0\""), std::string::npos);
}

// A stair entry with `assumptions` as given, in a version-2 file.
std::string stair_with(std::string_view assumptions, std::string_view texts_extra = "",
                       int version = 2) {
  return R"({"format": "loadcalc-book", "version": )" + std::to_string(version) +
         R"(, "project": {"name": "", "number": "",
    "subitem": "", "designer": "", "checker": "", "approver": "", "date": ""}, "entries": [
    {"name": "LT", "kind": "stair", "texts": {"step_width": "280", "step_height": "160",
     "slab_thickness": "130", "finish_thickness": "30", "finish_density": "22")" +
         std::string(texts_extra) + R"(}, "assumptions": )" + std::string(assumptions) +
         R"(, "note": ""}]})";
}

std::string beam_with(std::string_view assumptions, std::string_view texts) {
  return R"({"format": "loadcalc-book", "version": 2, "project": {"name": "", "number": "",
    "subitem": "", "designer": "", "checker": "", "approver": "", "date": ""}, "entries": [
    {"name": "KL", "kind": "beam", "texts": {"bay_span": "4.0", "storey_height": "3.6",
     "beam_depth": "0.45", "column_width": "0.0")" +
         std::string(texts) + R"(}, "assumptions": )" + std::string(assumptions) +
         R"(, "note": ""}]})";
}

constexpr std::string_view opening_texts =
    R"(, "opening_width": "2.0", "opening_height": "2.2", "window_weight": "0.5")";
constexpr std::string_view wall_text = R"(, "wall_weight": "3.0")";

std::string many(std::string_view element, int n) {
  std::string out = "[";
  for (int i = 0; i < n; ++i) out += (i > 0 ? ", " : "") + std::string(element);
  return out + "]";
}

TEST(BookFileV2, EveryBadAssumptionIsRefusedWithItsEntryAndKey) {
  const std::string layer = R"({"material": "普通砖", "thickness": "200", "unit_weight": "18"})";
  const std::string opening = R"({"width": "1", "height": "1", "count": "1", "weight": "0.2"})";
  const std::string extra = R"({"name": "栏杆", "area_weight": "0.1"})";
  const std::pair<std::string, std::string> rows[] = {
      {stair_with("[]"), "第 1 条计算：“assumptions” 应为对象，却是数组"},
      {stair_with(R"({"concrete": "25"})"), "第 1 条计算：“assumptions” 中未知的键 “concrete”"},
      {stair_with(R"({"wall_layers": []})"), "第 1 条计算：“wall_layers” 不是楼梯恒荷载的假定"},
      {beam_with(R"({"extra_loads": []})", wall_text),
       "第 1 条计算：“extra_loads” 不是梁上线荷载的假定"},
      {stair_with(R"({"concrete_unit_weight": null})"),
       "第 1 条计算：“concrete_unit_weight” 应为文本或数字，却是null"},
      {stair_with(R"({"soffit_finish": "0.34"})"),
       "第 1 条计算：“soffit_finish” 应为对象，却是文本"},
      {stair_with(R"({"soffit_finish": {"material": "石灰粗砂粉刷"}})"),
       "第 1 条计算：“soffit_finish”：缺少 “area_weight”"},
      {stair_with(R"({"soffit_finish": {"material": 1, "area_weight": "0.34"}})"),
       "第 1 条计算：“soffit_finish”：“material” 应为文本，却是数字"},
      {stair_with(R"({"soffit_finish": {"material": "", "area_weight": "0.34", "mm": "20"}})"),
       "第 1 条计算：“soffit_finish”：未知的键 “mm”"},
      {stair_with(R"({"extra_loads": {}})"), "第 1 条计算：“extra_loads” 应为数组，却是对象"},
      {stair_with(R"({"extra_loads": [{"name": "栏杆", "line_weight": "1"}]})"),
       "第 1 条计算：“extra_loads” 第 1 项：缺少 “flight_width”"},
      {stair_with(R"({"extra_loads": [{"name": "栏杆", "area_weight": "1", "line_weight": "1"}]})"),
       "第 1 条计算：“extra_loads” 第 1 项：“area_weight” 与 “line_weight”、“flight_width” "
       "只能有一种"},
      {stair_with(R"({"extra_loads": )" + many(extra, 11) + "}"),
       "第 1 条计算：“extra_loads” 有 11 项，超过上限 10 项"},
      {beam_with(R"({"wall_layers": )" + many(layer, 21) + "}", opening_texts),
       "第 1 条计算：“wall_layers” 有 21 层，超过上限 20 层"},
      {beam_with(R"({"wall_layers": [7]})", opening_texts),
       "第 1 条计算：“wall_layers” 第 1 层：应为对象，却是数字"},
      {beam_with(R"({"wall_layers": [{"material": "砖", "thickness": "200"}]})", opening_texts),
       "第 1 条计算：“wall_layers” 第 1 层：缺少 “unit_weight”"},
      {beam_with(R"({"wall_layers": [{"thickness": "200", "unit_weight": "18"}]})", opening_texts),
       "第 1 条计算：“wall_layers” 第 1 层：缺少 “material”"},
      {beam_with(R"({"wall_layers": [{"material": "砖", "area_weight": "1", "thickness": "2"}]})",
                 opening_texts),
       "第 1 条计算：“wall_layers” 第 1 层：“area_weight” 与 “thickness”、“unit_weight” "
       "只能有一种"},
      {beam_with(R"({"wall_layers": [)" + layer + R"(, {"material": "砖", "colour": "red"}]})",
                 opening_texts),
       "第 1 条计算：“wall_layers” 第 2 层：未知的键 “colour”"},
      {beam_with(R"({"openings": )" + many(opening, 51) + "}", wall_text),
       "第 1 条计算：“openings” 有 51 个，超过上限 50 个"},
      {beam_with(R"({"openings": [{"width": "1", "height": "1", "weight": "0.2"}]})", wall_text),
       "第 1 条计算：“openings” 第 1 个：缺少 “count”"},
      {beam_with(R"({"openings": [{"width": "1", "height": "1", "count": "1", "weight": "0.2",
                    "type": 3}]})",
                 wall_text),
       "第 1 条计算：“openings” 第 1 个：“type” 应为文本，却是数字"},
      {beam_with(R"({"openings": [{"width": true, "height": "1", "count": "1", "weight": "0"}]})",
                 wall_text),
       "第 1 条计算：“openings” 第 1 个：“width” 应为文本或数字，却是真假值"},
      // A replaced text present, or one not replaced missing.
      {beam_with(R"({"wall_layers": []})", std::string(opening_texts) + std::string(wall_text)),
       "第 1 条计算：“wall_weight” 已由 “wall_layers” 代替，不应再有此输入"},
      {beam_with(R"({"openings": []})", std::string(wall_text) + R"(, "opening_height": "2.2")"),
       "第 1 条计算：“opening_height” 已由 “openings” 代替，不应再有此输入"},
      {beam_with(R"({"openings": []})", ""), "第 1 条计算：缺少输入 “wall_weight”"},
      {beam_with(R"({"wall_layers": []})", ""), "第 1 条计算：缺少输入 “opening_width”"},
      // The first version knows no assumptions.
      {stair_with("{}", "", 1), "第 1 条计算：未知的键 “assumptions”"},
  };
  for (const auto& [bytes, message] : rows) {
    const auto read = read_book(bytes);
    ASSERT_TRUE(std::holds_alternative<ReadError>(read)) << bytes;
    EXPECT_EQ(std::get<ReadError>(read).message, message) << bytes;
  }
  // The same keys, well formed, are read.
  EXPECT_TRUE(std::holds_alternative<Book>(read_book(beam_with(
      R"({"wall_layers": )" + many(layer, 20) + R"(, "openings": )" + many(opening, 50) + "}",
      ""))));
  EXPECT_TRUE(std::holds_alternative<Book>(
      read_book(stair_with(R"({"extra_loads": )" + many(extra, 10) + "}"))));
}

TEST(EvaluateAssumptions, JudgesTheStatedFiguresThenComputesWithThem) {
  struct Row {
    Entry entry;
    std::string shown;  // the caption, or the message of a refused entry
    std::optional<Field> field;
  };
  const auto one_opening = [](std::string w, std::string h, std::string n, std::string g) {
    return std::vector<OpeningText>{{std::move(w), std::move(h), std::move(n), std::move(g), ""}};
  };
  Entry bare_stair = stair("LT, the calculator's own figures");
  bare_stair.assumptions.concrete_unit_weight = "25";
  bare_stair.assumptions.soffit_finish = FinishText{"石灰粗砂粉刷", "0.34"};
  Entry railing = stair("LT, a railing of 1 kN/m over 1.25 m");
  railing.assumptions.extra_loads = {{"栏杆自重", ExtraBasis::line, "1.0", "1.25"}};
  Entry no_width = stair("LT, a railing over no width");
  no_width.assumptions.extra_loads = {{"栏杆自重", ExtraBasis::line, "1.0", "0"}};
  Entry bad_concrete = stair("LT, concrete as words");
  bad_concrete.assumptions.concrete_unit_weight = "钢筋混凝土";
  Entry long_words = stair("LT, a paste in place of a figure");
  std::string page;
  for (int i = 0; i < 1000; ++i) page += "石灰粗砂粉刷";
  long_words.assumptions.soffit_finish = FinishText{"石灰粗砂粉刷", page};
  const Row rows[] = {
      // (4.2 − 0.55) m of 4.48 kN/m² over a bay with no column: 13.87 + 2.48.
      {stated_beam("brick wall, no opening", brick_wall(), {},
                   {{F::Text1, "6.0"}, {F::Text2, "4.2"}, {F::Text3, "0.55"}}),
       "16.352kN/m",
       {}},
      // One opening of count 1 as the calculator's texts: its figure.
      {stated_beam("the calculator's wall", {{"", LayerBasis::area, "", "3.0"}},
                   one_opening("2.0", "2.2", "1", "0.50")),
       "6.7kN/m",
       {}},
      {stated_beam("two windows of one size", {{"", LayerBasis::area, "", "3.0"}},
                   one_opening("1.0", "2.2", "2", "0.50")),
       "6.7kN/m",
       {}},
      // The width rule over all the openings: 1.5 + 2 × 1.25 reaches the bay of 4.
      {stated_beam("openings as wide as the bay", brick_wall(),
                   {{"1.5", "2.0", "1", "0.2", "木门"}, {"1.25", "1.5", "2", "0.45", ""}}),
       "窗宽≥开间轴线间距，数据错误。请重新输入！", F::Text4},
      {stated_beam("one opening too tall", brick_wall(),
                   {{"0.9", "2.1", "1", "0.2", ""}, {"0.9", "3.15", "1", "0.2", ""}}),
       "窗高≥层高-梁高，数据错误。请重新输入！", F::Text5},
      {stated_beam("the column left no room", brick_wall(),
                   {{"1.0", "2.0", "1", "0.2", ""}, {"1.0", "2.0", "1", "0.2", ""}},
                   {{F::Text13, "2.01"}}),
       "柱宽非法，数据错误。请重新输入！", F::Text13},
      {stated_beam("a layer's thickness as words", {{"砖", LayerBasis::thickness, "两百", "19"}},
                   {}),
       "墙体第1层的厚度“两百”不是数，数据错误。请重新输入！",
       {}},
      {stated_beam("an empty weight", brick_wall(), one_opening("1.0", "1.0", "1", "")),
       "洞口1的门窗自重“”不是数，数据错误。请重新输入！", F::Text11},
      {stated_beam("a negative width", brick_wall(), one_opening("-1", "1.0", "1", "0.2")),
       "窗宽< 0，数据错误。请重新输入！", F::Text4},
      {stated_beam("half a window", brick_wall(), one_opening("1.0", "1.0", "1.5", "0.2")),
       "樘数<1或非整数，数据错误。请重新输入！", F::Text4},
      {stated_beam("a wall of no weight", {}, {}), "墙自重≤0，数据错误。请重新输入！", F::Text6},
      // A text the entry holds is judged as ever.
      {stated_beam("bay 0", brick_wall(), {}, {{F::Text1, "0"}}),
       "轴线间距≤0，数据错误，请重新输入！", F::Text1},
      {bare_stair, "7.172kN/m^2", {}},
      {railing, "7.972kN/m^2", {}},
      {no_width, "除数为零，无法计算", {}},
      {bad_concrete, "混凝土容重“钢筋混凝土”不是数，数据错误。请重新输入！", {}},
      {long_words,
       "板底粉刷的面荷载“石灰粗砂粉刷石灰粗砂粉刷石灰粗砂粉刷石灰…”不是数，数据错误。请重新输入！",
       {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.entry.name);
    const EntryResult r = evaluate(row.entry);
    EXPECT_EQ(r.valid ? r.caption : r.message, row.shown);
    EXPECT_EQ(r.field, row.field);
  }
}

TEST(SummaryAssumptions, SaysTheWallWeightAndOpeningAreaUsedAndReadsBack) {
  Book b = stated_book();
  // 200 mm of block at 6 kN/m³ with 30 mm of 20 kN/m³ plaster: 1.8 kN/m².
  b.entries.push_back(stated_beam("block wall",
                                  {{"加气混凝土", LayerBasis::thickness, "200", "6"},
                                   {"水泥砂浆", LayerBasis::thickness, "30", "20"}},
                                  {}));
  Entry refused = b.entries[1];
  refused.texts[F::Text1] = "0";
  b.entries.push_back(refused);
  const std::string csv = summary_csv(b);
  const char* rows[] = {
      ",结果,单位,墙自重取值(kN/m²),洞口总面积(m²),检查,备注\r\n",
      // 3.8 + 0.5; 1 × 0.9 × 2.1 + 2 × 1.2 × 1.5.
      "\r\n1,KL7,梁上线荷载,4.0,3.6,0.45,,,,,0.0,,,,,,",
      ",kN/m,4.3,5.49,,\r\n",
      // Layers only: 4.48, and the texts' one opening of 2.0 × 2.2.
      ",kN/m,4.48,4.4,,\r\n",
      ",kN/m^2,,,,\r\n",
      ",kN/m,1.8,0,,\r\n",
      ",无效：轴线间距≤0，数据错误，请重新输入！,\r\n",
  };
  for (const char* row : rows) EXPECT_NE(csv.find(row), std::string::npos) << row << "\n" << csv;

  // A schedule reads the summary back, passing over the two columns.
  const auto read = read_schedule(csv);
  ASSERT_TRUE(std::holds_alternative<Schedule>(read)) << std::get<ReadError>(read).message;
  EXPECT_EQ(std::get<Schedule>(read).entries.size(), b.entries.size());
  EXPECT_EQ(std::get<Schedule>(read).entries[2], b.entries[2]);
}

}  // namespace
}  // namespace loadcalc
