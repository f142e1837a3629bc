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

TEST(Number, HoldsANumberOnlyWhereReadingFindsDigits) {
  const std::pair<const char*, bool> rows[] = {
      {"-.5", true}, {"３．５", true}, {"&H1F", true},  {"20mm", true},
      {"", false},   {" ", false},     {"-", false},    {"+.", false},
      {"e5", false}, {"&O9", false},   {"两百", false},
  };
  for (const auto& [text, holds] : rows) EXPECT_EQ(holds_number(text), holds) << text;
}

TEST(SheetWithAssumptions, TablesReplaceTheFieldsTheyStandFor) {
  std::array<std::string, field_count> texts;
  for (const FieldInfo& f : fields) texts[index_of(f.field)] = f.default_text;
  const Calculation beam[] = {Calculation::MainProgram_1};
  // Stating nothing is the calculator's sheet.
  EXPECT_EQ(sheet_fragment({}, texts, beam, {}), sheet_fragment({}, texts, beam));

  Assumptions a;
  a.wall_layers =
      std::vector<WallLayerText>{{"石灰砂浆", LayerBasis::thickness, "40", "17"},
                                 {"普通砖（机器制）", LayerBasis::thickness, "200", "19"}};
  a.openings = std::vector<OpeningText>{};
  texts[index_of(Field::Text2)] = "4.2";
  texts[index_of(Field::Text3)] = "0.55";
  const std::string html = sheet_fragment({}, texts, beam, a);
  EXPECT_NE(html.find("<td>普通砖（机器制）</td><td align=\"right\">200</td><td "
                      "align=\"right\">19</td><td align=\"right\">3.800</td>"),
            std::string::npos);
  // (4 − 0) × (4.2 − 0.55) × 4.48 / 4.
  EXPECT_NE(html.find("框架梁上均布线荷载：<b>16.352kN/m</b>"), std::string::npos);
  EXPECT_EQ(html.find("<td>墙自重</td>"), std::string::npos);
}

}  // namespace
}  // namespace loadcalc
