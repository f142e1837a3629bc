// The calculation sheet of an entry that states assumptions, and the test of a figure that is no
// number.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <utility>

#include "calc/assumptions.h"
#include "calc/fields.h"
#include "calc/number.h"
#include "calc/report.h"

namespace loadcalc {
namespace {

std::array<std::string, field_count> default_texts() {
  std::array<std::string, field_count> out;
  for (const FieldInfo& f : fields) out[index_of(f.field)] = f.default_text;
  return out;
}

TEST(Number, HoldsANumberOnlyWhereReadingFindsDigits) {
  const std::pair<const char*, bool> rows[] = {
      {"0", true},       {"0.0", true},    {"-0", true},   {".5", true},   {"-.5", true},
      {" 3 ", true},     {"３．５", true}, {"&H1F", true}, {"&o7", true},  {"20mm", true},
      {"", false},       {" ", false},     {".", false},   {"-", false},   {"+.", false},
      {"abc", false},    {"e5", false},    {"&H", false},  {"&O9", false}, {"两百", false},
      {"\u3000", false},
  };
  for (const auto& [text, holds] : rows) EXPECT_EQ(holds_number(text), holds) << text;
}

TEST(SheetWithAssumptions, TablesReplaceTheFieldsTheyStandFor) {
  Assumptions a;
  a.wall_layers =
      std::vector<WallLayerText>{{"石灰砂浆", LayerBasis::thickness, "20", "17"},
                                 {"普通砖（机器制）", LayerBasis::thickness, "200", "19"},
                                 {"石灰砂浆", LayerBasis::thickness, "20", "17"}};
  a.openings = std::vector<OpeningText>{};
  auto texts = default_texts();
  texts[index_of(Field::Text2)] = "4.2";
  texts[index_of(Field::Text3)] = "0.55";
  const Calculation beam[] = {Calculation::MainProgram_1};
  const std::string html = sheet_fragment({}, texts, beam, a);
  const char* present[] = {
      "<td>普通砖（机器制）</td><td align=\"right\">200</td><td align=\"right\">19</td>"
      "<td align=\"right\">3.800</td><td>GB 50009—2012 附录A 表A 第5项</td>",
      "合计 <i>g</i><sub>w</sub></td><td align=\"right\"><b>4.480</b>",
      "门窗洞口：无洞口。",
      // (4 − 0) × (4.2 − 0.55) × 4.48 / 4.
      "框架梁上均布线荷载：<b>16.352kN/m</b>",
  };
  for (const char* piece : present) EXPECT_NE(html.find(piece), std::string::npos) << piece;
  for (const char* replaced : {"门窗洞口宽度", "<td>墙自重</td>", "<td>窗重</td>"})
    EXPECT_EQ(html.find(replaced), std::string::npos) << replaced;

  // Stating nothing is the calculator's sheet, and its legends stay one column.
  const Calculation both[] = {Calculation::MainProgram_1, Calculation::MainProgram_2};
  const std::string plain = sheet_fragment({}, default_texts(), both, {});
  EXPECT_EQ(plain, sheet_fragment({}, default_texts(), both));
  EXPECT_EQ(plain.find("墙体构造"), std::string::npos);
  EXPECT_EQ(plain.find("<td width=\"33%\""), std::string::npos);
  EXPECT_NE(plain.find("门窗洞口宽度"), std::string::npos);
}

}  // namespace
}  // namespace loadcalc
