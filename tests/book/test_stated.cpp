// Stating and dropping an entry's assumptions keeps its texts those its calculation reads; the
// calculator is told what it cannot show, and 更新条目 keeps what the user left alone there.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "book/evaluate.h"
#include "book/stated.h"
#include "tests/support/entries.h"

namespace loadcalc {
namespace {

using F = Field;
using test::beam;

const OpeningText window{"1.5", "1.8", "1", "0.45", ""};
const OpeningText doors{"0.9", "2.1", "2", "0.2", ""};

Assumptions stated(bool layers, std::vector<OpeningText> openings, bool any_openings = true) {
  Assumptions a;
  if (layers)
    a.wall_layers = std::vector<WallLayerText>{{"加气混凝土", LayerBasis::thickness, "200", "6"},
                                               {"水泥砂浆", LayerBasis::thickness, "30", "20"}};
  if (any_openings) a.openings = std::move(openings);
  return a;
}

// Text4, Text5, Text6 and Text11, "-" for a field without a text, joined by "|".
std::string replaceable(const std::map<Field, std::string>& texts) {
  std::string out;
  for (F f : {F::Text4, F::Text5, F::Text6, F::Text11})
    out += (texts.contains(f) ? texts.at(f) : "-") + "|";
  return out;
}

// clang-format off
TEST(Stated, RestatingKeepsTheTextsTheCalculationReads) {
  struct Row { const char* name; Assumptions from, to; std::string texts; };
  const Row rows[] = {
      {"layers dropped: the sum", stated(true, {}, false), {},                "2.0|2.2|1.8|0.50|"},
      {"one window dropped",      stated(false, {window}), {},                "1.5|1.8|3.0|0.45|"},
      {"two doors dropped",       stated(false, {doors}),  {},                "2.0|2.2|3.0|0.50|"},
      {"no opening stated",       {},                      stated(false, {}), "-|-|3.0|-|"},
  };
  for (const Row& r : rows)
    EXPECT_EQ(replaceable(restated(restated(beam("KL1"), r.from), r.to).texts), r.texts) << r.name;
}

TEST(Stated, TheCalculatorSaysWhatItCannotShow) {
  Assumptions stair_own;
  stair_own.concrete_unit_weight = "24";
  stair_own.extra_loads = {{"栏杆自重", ExtraBasis::line, "1.0", "1.2"}};
  struct Row { const char* name; Entry entry; std::string texts; std::vector<std::string> unshown; };
  const Row rows[] = {
      {"no opening", restated(beam("KL1"), stated(false, {})), "0|0|3.0|0.50|", {}},
      {"layers", restated(beam("KL1"), stated(true, {}, false)), "2.0|2.2|1.8|0.50|",
       {"墙体构造 2 层：计算器只显示其合计 g_w = 1.8 kN/m²"}},
      {"two openings", restated(beam("KL1"), stated(false, {window, doors})), "1.5|1.8|3.0|0.45|",
       {"洞口共 2 项：计算器只显示第 1 项"}},
      {"a stair's own", restated(test::stair("AT1"), stair_own), "-|-|-|-|",
       {"混凝土容重 24 kN/m³：计算器按 25 kN/m³", "附加荷载 栏杆自重：计算器不计"}},
  };
  for (const Row& r : rows) {
    const CalculatorView view = calculator_view(r.entry);
    EXPECT_EQ(replaceable(view.texts), r.texts) << r.name;
    EXPECT_EQ(view.unshown, r.unshown) << r.name;
  }
  // A wall with no opening shown as one of no size has the entry's own figure.
  Entry plain = beam("KL1");
  plain.texts = calculator_view(rows[0].entry).texts;
  EXPECT_EQ(evaluate(plain).caption, evaluate(rows[0].entry).caption);
}

TEST(Stated, TakenBackKeepsWhatTheCalculatorLeftAlone) {
  struct Row { const char* name; Field typed; const char* text; bool layers, openings; };
  const Row rows[] = {
      {"the bay changed",           F::Text1, "6.0", true,  true},
      {"the wall weight typed",     F::Text6, "2.5", false, true},
      {"the window's height typed", F::Text5, "1.2", true,  false},
  };
  const Entry e = restated(beam("KL1"), stated(true, {window, doors}));
  for (const Row& r : rows) {
    auto calculator = calculator_view(e).texts;
    calculator[r.typed] = r.text;
    const Entry out = taken_back(e, calculator);
    EXPECT_EQ(out.assumptions.wall_layers.has_value(), r.layers) << r.name;
    EXPECT_EQ(out.assumptions.openings.has_value(), r.openings) << r.name;
    EXPECT_EQ(out.texts.at(r.typed), r.text) << r.name;
  }
}
// clang-format on

}  // namespace
}  // namespace loadcalc
