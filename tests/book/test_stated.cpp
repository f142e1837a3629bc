// Stating and dropping an entry's assumptions keeps its texts those its calculation reads; the
// calculator is told what it cannot show.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "book/evaluate.h"
#include "book/stated.h"
#include "tests/support/entries.h"

namespace loadcalc {
namespace {

using F = Field;
using test::beam;
using test::stair;

const std::vector<WallLayerText> block_wall{{"加气混凝土", LayerBasis::thickness, "200", "6"},
                                            {"水泥砂浆", LayerBasis::thickness, "30", "20"}};
const OpeningText window{"1.5", "1.8", "1", "0.45", ""};
const OpeningText door{"0.9", "2.1", "2", "0.2", ""};

Assumptions layers(std::vector<WallLayerText> l) {
  Assumptions a;
  a.wall_layers = std::move(l);
  return a;
}
Assumptions openings(std::vector<OpeningText> o) {
  Assumptions a;
  a.openings = std::move(o);
  return a;
}

struct Restate {
  const char* name;
  Assumptions from, to;
  test::Texts texts;  // the kind's replaceable texts afterwards; absent ones are replaced
};

TEST(Restated, KeepsExactlyTheTextsTheCalculationReads) {
  const Restate rows[] = {
      {"layers stated",
       {},
       layers(block_wall),
       {{F::Text4, "2.0"}, {F::Text5, "2.2"}, {F::Text11, "0.50"}}},
      {"layers dropped: their sum",
       layers(block_wall),
       {},
       {{F::Text4, "2.0"}, {F::Text5, "2.2"}, {F::Text6, "1.8"}, {F::Text11, "0.50"}}},
      {"one opening dropped: its texts",
       openings(std::vector{window}),
       {},
       {{F::Text4, "1.5"}, {F::Text5, "1.8"}, {F::Text6, "3.0"}, {F::Text11, "0.45"}}},
      {"two dropped: start-up texts",
       openings(std::vector{window, door}),
       {},
       {{F::Text4, "2.0"}, {F::Text5, "2.2"}, {F::Text6, "3.0"}, {F::Text11, "0.50"}}},
      {"a count of 2 is not the calculator's",
       openings(std::vector{door}),
       {},
       {{F::Text4, "2.0"}, {F::Text5, "2.2"}, {F::Text6, "3.0"}, {F::Text11, "0.50"}}},
      {"openings stated", {}, openings(std::vector<OpeningText>{}), {{F::Text6, "3.0"}}},
  };
  for (const Restate& row : rows) {
    const Entry out = restated(restated(beam("KL1"), row.from), row.to);
    test::Texts replaceable;
    for (F f : {F::Text4, F::Text5, F::Text6, F::Text11})
      if (out.texts.contains(f)) replaceable[f] = out.texts.at(f);
    EXPECT_EQ(replaceable, row.texts) << row.name;
    EXPECT_EQ(out.assumptions, row.to) << row.name;
    EXPECT_EQ(out.texts.at(F::Text1), "4.0") << row.name;
  }
}

struct View {
  const char* name;
  Entry entry;
  test::Texts texts;  // those that differ from the entry's own
  std::vector<std::string> unshown;
};

Entry with(Entry e, Assumptions a) {
  return restated(std::move(e), std::move(a));
}

TEST(CalculatorView, SaysWhatTheCalculatorCannotShow) {
  Assumptions stair_own;
  stair_own.concrete_unit_weight = "24";
  stair_own.soffit_finish = FinishText{"水泥粉刷", "0.36"};
  stair_own.extra_loads = {{"栏杆自重", ExtraBasis::line, "1.0", "1.2"}};
  Assumptions stair_defaults;
  stair_defaults.concrete_unit_weight = "25";
  const View rows[] = {
      {"plain beam", beam("KL1"), {}, {}},
      {"layers: their sum",
       with(beam("KL1"), layers(block_wall)),
       {{F::Text6, "1.8"}},
       {"墙体构造 2 层：计算器只显示其合计 g_w = 1.8 kN/m²"}},
      {"one window",
       with(beam("KL1"), openings(std::vector{window})),
       {{F::Text4, "1.5"}, {F::Text5, "1.8"}, {F::Text11, "0.45"}},
       {}},
      {"no opening",
       with(beam("KL1"), openings(std::vector<OpeningText>{})),
       {{F::Text4, "0"}, {F::Text5, "0"}, {F::Text11, "0.50"}},
       {}},
      {"two openings",
       with(beam("KL1"), openings(std::vector{window, door})),
       {{F::Text4, "1.5"}, {F::Text5, "1.8"}, {F::Text11, "0.45"}},
       {"洞口共 2 项：计算器只显示第 1 项"}},
      {"two doors",
       with(beam("KL1"), openings(std::vector{door})),
       {{F::Text4, "0.9"}, {F::Text5, "2.1"}, {F::Text11, "0.2"}},
       {"洞口 2 樘：计算器只按 1 樘计"}},
      {"stair, its own materials",
       with(stair("AT1"), stair_own),
       {},
       {"混凝土容重 24 kN/m³：计算器按 25 kN/m³", "板底粉刷 0.36 kN/m²：计算器按 0.34 kN/m²",
        "附加荷载 栏杆自重：计算器不计"}},
      {"stair, the calculator's figures stated", with(stair("AT1"), stair_defaults), {}, {}},
  };
  for (const View& row : rows) {
    const CalculatorView view = calculator_view(row.entry);
    test::Texts differing;
    for (const auto& [f, text] : view.texts) {
      const auto own = row.entry.texts.find(f);
      if (own == row.entry.texts.end() || own->second != text) differing[f] = text;
    }
    EXPECT_EQ(differing, row.texts) << row.name;
    EXPECT_EQ(view.unshown, row.unshown) << row.name;
  }
}

// Where the calculator shows everything, its texts compute the entry's own figure.
TEST(CalculatorView, ShownInFullIsTheEntrysFigure) {
  for (const Entry& e : {with(beam("KL1"), openings(std::vector{window})),
                         with(beam("KL1"), openings(std::vector<OpeningText>{}))}) {
    Entry plain = e;
    plain.assumptions = {};
    plain.texts = calculator_view(e).texts;
    EXPECT_EQ(evaluate(plain).caption, evaluate(e).caption);
  }
}

// 更新条目 keeps what the calculator showed unchanged and takes what the user changed there.
TEST(TakenBack, KeepsStatedFiguresTheCalculatorLeftAlone) {
  struct Case {
    const char* name;
    test::Texts calculator;  // the calculator's texts besides the entry's shown ones
    bool layers, openings;   // still stated afterwards
    test::Texts texts;       // the replaceable texts afterwards
  };
  Assumptions both = layers(block_wall);
  both.openings = std::vector{window, door};
  const Entry e = with(beam("KL1"), both);
  const Case cases[] = {
      {"nothing changed", {}, true, true, {}},
      {"the bay changed", {{F::Text1, "6.0"}}, true, true, {}},
      {"the wall weight typed", {{F::Text6, "2.5"}}, false, true, {{F::Text6, "2.5"}}},
      {"the window's height typed",
       {{F::Text5, "1.2"}},
       true,
       false,
       {{F::Text4, "1.5"}, {F::Text5, "1.2"}, {F::Text11, "0.45"}}},
  };
  for (const Case& c : cases) {
    test::Texts calculator = calculator_view(e).texts;
    for (const auto& [f, text] : c.calculator) calculator[f] = text;
    const Entry out = taken_back(e, calculator);
    EXPECT_EQ(out.assumptions.wall_layers.has_value(), c.layers) << c.name;
    EXPECT_EQ(out.assumptions.openings.has_value(), c.openings) << c.name;
    test::Texts replaceable;
    for (F f : {F::Text4, F::Text5, F::Text6, F::Text11})
      if (out.texts.contains(f)) replaceable[f] = out.texts.at(f);
    EXPECT_EQ(replaceable, c.texts) << c.name;
    EXPECT_EQ(out.texts.at(F::Text1), calculator.at(F::Text1)) << c.name;
  }
}

}  // namespace
}  // namespace loadcalc
