// The working: what an engineer checks a result against, so every line is written out here as it
// must read, and the working's result must be the caption, whatever the texts.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "calc/calculations.h"
#include "calc/fields.h"
#include "calc/memory_sheet.h"
#include "calc/number.h"
#include "calc/traced.h"
#include "calc/working.h"
#include "calc/working_text.h"

namespace loadcalc {
namespace {

using Edits = std::vector<std::pair<Field, const char*>>;

MemorySheet sheet_with(const Edits& edits) {
  MemorySheet sheet;
  for (const FieldInfo& f : fields) sheet.load(f.field, f.default_text);
  for (const auto& [field, text] : edits) sheet.load(field, text);
  return sheet;
}

std::string text_of(const Edits& edits, Calculation c) {
  return working_text(working(sheet_with(edits), c));
}

// From the line after "计算：" to the end: the part that changes with the values.
std::string steps_of(const std::string& text) {
  const auto at = text.find("计算：\n");
  return at == std::string::npos ? text : text.substr(at + 10);
}

TEST(Working, BeamDefaultsReadAsACalculationSheet) {
  EXPECT_EQ(
      text_of({}, Calculation::MainProgram_1),
      "框架梁上均布线荷载\n"
      "q = (((L − b_c) × (H − h_b) − b_o × h_o) × g_w + b_o × h_o × g_o) / L\n"
      "式中：\n"
      "L — 轴线开间尺寸，m\n"
      "H — 层高，m\n"
      "h_b — 框架梁高，m\n"
      "b_o — 门窗洞口宽度，m\n"
      "h_o — 门窗洞口高度，m\n"
      "g_w — 墙自重，kN/m²\n"
      "g_o — 窗重，kN/m²\n"
      "b_c — 框架柱宽，m\n"
      "A_w — 墙体净面积，m²\n"
      "计算：\n"
      "A_w = (L − b_c) × (H − h_b) − b_o × h_o = (4 − 0) × (3.6 − 0.45) − 2 × 2.2 = 8.200 m²\n"
      "q = (A_w × g_w + b_o × h_o × g_o) / L = (8.200 × 3 + 2 × 2.2 × 0.5) / 4 = 6.700 kN/m\n"
      "结果：q = 6.7kN/m\n");
}

TEST(Working, StairDefaultsReadAsACalculationSheet) {
  EXPECT_EQ(text_of({}, Calculation::MainProgram_2),
            "楼梯的折算恒荷载\n"
            "g = (b + h) / b × f × γ + (h / 2 + t / cos α) × 25 + 0.34 / cos α\n"
            "式中：\n"
            "b — 踏步宽度，m\n"
            "h — 踏步高度，m\n"
            "t — 楼梯板厚度，m\n"
            "f — 面层厚度，m\n"
            "γ — 面层容重，kN/m³\n"
            "tan α — 梯段坡度\n"
            "cos α — 梯段倾角的余弦\n"
            "g_p — 板底抹灰（0.34 kN/m²）按水平投影，kN/m²\n"
            "g_f — 踏步面层，kN/m²\n"
            "g_s — 踏步及梯段板自重（25 kN/m³），kN/m²\n"
            "25 kN/m³ — 钢筋混凝土自重，取 GB 50009—2012 附录A 表A 所列 24～25 kN/m³ 之上限\n"
            "0.34 kN/m² — 板底 20 mm 厚石灰粗砂粉刷，GB 50009—2012 附录A\n"
            "计算：\n"
            "b = 280 mm / 1000 = 0.28 m\n"
            "h = 160 mm / 1000 = 0.16 m\n"
            "t = 130 mm / 1000 = 0.13 m\n"
            "f = 30 mm / 1000 = 0.03 m\n"
            "tan α = h / b = 0.16 / 0.28 = 0.5714\n"
            "cos α = cos(arctan(tan α)) = cos(arctan(0.5714)) = 0.8682\n"
            "g_p = 0.34 / cos α = 0.34 / 0.8682 = 0.3916 kN/m²\n"
            "g_f = (b + h) / b × f × γ = (0.28 + 0.16) / 0.28 × 0.03 × 22 = 1.037 kN/m²\n"
            "g_s = (h / 2 + t / cos α) × 25 = (0.16 / 2 + 0.13 / 0.8682) × 25 = 5.743 kN/m²\n"
            "g = g_f + g_s + g_p = 1.037 + 5.743 + 0.3916 = 7.172 kN/m²\n"
            "结果：g = 7.172kN/m^2\n");
}

struct StepsCase {
  const char* what;
  Edits edits;
  Calculation calculation;
  const char* steps;  // everything after "计算："
};

TEST(Working, WorkedExamplesStepByStep) {
  const StepsCase cases[] = {
      {"column width 0.4: the bay, not the panel, is the divisor",
       {{Field::Text13, "0.4"}},
       Calculation::MainProgram_1,
       "A_w = (L − b_c) × (H − h_b) − b_o × h_o = (4 − 0.4) × (3.6 − 0.45) − 2 × 2.2 = 6.940 m²\n"
       "q = (A_w × g_w + b_o × h_o × g_o) / L = (6.940 × 3 + 2 × 2.2 × 0.5) / 4 = 5.755 kN/m\n"
       "结果：q = 5.755kN/m\n"},
      {"bay span 6 with column width 0.5",
       {{Field::Text1, "6"}, {Field::Text13, "0.5"}},
       Calculation::MainProgram_1,
       "A_w = (L − b_c) × (H − h_b) − b_o × h_o = (6 − 0.5) × (3.6 − 0.45) − 2 × 2.2 = 12.92 m²\n"
       "q = (A_w × g_w + b_o × h_o × g_o) / L = (12.92 × 3 + 2 × 2.2 × 0.5) / 6 = 6.829 kN/m\n"
       "结果：q = 6.829kN/m\n"},
      {"an opening wider than the bay: a negative area is bracketed where it is put in",
       {{Field::Text1, "1"}},
       Calculation::MainProgram_1,
       "A_w = (L − b_c) × (H − h_b) − b_o × h_o = (1 − 0) × (3.6 − 0.45) − 2 × 2.2 = -1.250 m²\n"
       "q = (A_w × g_w + b_o × h_o × g_o) / L = ((-1.250) × 3 + 2 × 2.2 × 0.5) / 1 = -1.550 kN/m\n"
       "结果：q = -1.55kN/m\n"},
      {"stair 260/175/150/50/25",
       {{Field::Text7, "260"},
        {Field::Text8, "175"},
        {Field::Text9, "150"},
        {Field::Text10, "50"},
        {Field::Text12, "25"}},
       Calculation::MainProgram_2,
       "b = 260 mm / 1000 = 0.26 m\n"
       "h = 175 mm / 1000 = 0.175 m\n"
       "t = 150 mm / 1000 = 0.15 m\n"
       "f = 50 mm / 1000 = 0.05 m\n"
       "tan α = h / b = 0.175 / 0.26 = 0.6731\n"
       "cos α = cos(arctan(tan α)) = cos(arctan(0.6731)) = 0.8296\n"
       "g_p = 0.34 / cos α = 0.34 / 0.8296 = 0.4098 kN/m²\n"
       "g_f = (b + h) / b × f × γ = (0.26 + 0.175) / 0.26 × 0.05 × 25 = 2.091 kN/m²\n"
       "g_s = (h / 2 + t / cos α) × 25 = (0.175 / 2 + 0.15 / 0.8296) × 25 = 6.708 kN/m²\n"
       "g = g_f + g_s + g_p = 2.091 + 6.708 + 0.4098 = 9.209 kN/m²\n"
       "结果：g = 9.209kN/m^2\n"},
      {"values as read: a unit behind the number, a full-width entry",
       {{Field::Text7, "３００mm"}, {Field::Text8, " 150"}},
       Calculation::MainProgram_2,
       "b = 300 mm / 1000 = 0.3 m\n"
       "h = 150 mm / 1000 = 0.15 m\n"
       "t = 130 mm / 1000 = 0.13 m\n"
       "f = 30 mm / 1000 = 0.03 m\n"
       "tan α = h / b = 0.15 / 0.3 = 0.5000\n"
       "cos α = cos(arctan(tan α)) = cos(arctan(0.5000)) = 0.8944\n"
       "g_p = 0.34 / cos α = 0.34 / 0.8944 = 0.3801 kN/m²\n"
       "g_f = (b + h) / b × f × γ = (0.3 + 0.15) / 0.3 × 0.03 × 22 = 0.9900 kN/m²\n"
       "g_s = (h / 2 + t / cos α) × 25 = (0.15 / 2 + 0.13 / 0.8944) × 25 = 5.509 kN/m²\n"
       "g = g_f + g_s + g_p = 0.9900 + 5.509 + 0.3801 = 6.879 kN/m²\n"
       "结果：g = 6.879kN/m^2\n"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(steps_of(text_of(c.edits, c.calculation)), c.steps) << c.what;
}

// A failing calculation shows its working up to the step that fails, and why, in Chinese; its
// result is the failure text that the label shows.
TEST(Working, StopsAtTheFailingStepAndSaysWhy) {
  const StepsCase cases[] = {
      {"bay span 0",
       {{Field::Text1, "0"}},
       Calculation::MainProgram_1,
       "A_w = (L − b_c) × (H − h_b) − b_o × h_o = (0 − 0) × (3.6 − 0.45) − 2 × 2.2 = -4.400 m²\n"
       "q = (A_w × g_w + b_o × h_o × g_o) / L = ((-4.400) × 3 + 2 × 2.2 × 0.5) / 0\n"
       "L = 0，除数为零，无法计算。\n"
       "结果：除数为零，无法计算\n"},
      {"step width 0, step height 0 too",
       {{Field::Text7, ""}, {Field::Text8, "0"}},
       Calculation::MainProgram_2,
       "b = 0 mm / 1000 = 0 m\n"
       "h = 0 mm / 1000 = 0 m\n"
       "t = 130 mm / 1000 = 0.13 m\n"
       "f = 30 mm / 1000 = 0.03 m\n"
       "tan α = h / b = 0 / 0\n"
       "b = 0，除数为零，无法计算。\n"
       "结果：除数为零，无法计算\n"},
      {"an area beyond a double",
       {{Field::Text1, "1e308"}},
       Calculation::MainProgram_1,
       "A_w = (L − b_c) × (H − h_b) − b_o × h_o = (1e+308 − 0) × (3.6 − 0.45) − 2 × 2.2\n"
       "A_w 超出双精度数的范围，无法计算。\n"
       "结果：数值超出范围\n"},
      {"an entry beyond a double",
       {{Field::Text12, "1e999"}},
       Calculation::MainProgram_2,
       "b = 280 mm / 1000 = 0.28 m\n"
       "h = 160 mm / 1000 = 0.16 m\n"
       "t = 130 mm / 1000 = 0.13 m\n"
       "f = 30 mm / 1000 = 0.03 m\n"
       "tan α = h / b = 0.16 / 0.28 = 0.5714\n"
       "cos α = cos(arctan(tan α)) = cos(arctan(0.5714)) = 0.8682\n"
       "g_p = 0.34 / cos α = 0.34 / 0.8682 = 0.3916 kN/m²\n"
       "g_f = (b + h) / b × f × γ = (0.28 + 0.16) / 0.28 × 0.03 × ∞\n"
       "g_f 超出双精度数的范围，无法计算。\n"
       "结果：数值超出范围\n"},
      {"a result too large to round to thousandths",
       {{Field::Text6, "1e306"}},
       Calculation::MainProgram_1,
       "A_w = (L − b_c) × (H − h_b) − b_o × h_o = (4 − 0) × (3.6 − 0.45) − 2 × 2.2 = 8.200 m²\n"
       "q = (A_w × g_w + b_o × h_o × g_o) / L = (8.200 × 1e+306 + 2 × 2.2 × 0.5) / 4 = "
       "2.050e+306 kN/m\n"
       "结果过大，无法取整到千分位。\n"
       "结果：数值超出范围\n"},
  };
  for (const auto& c : cases) {
    const Working w = working(sheet_with(c.edits), c.calculation);
    EXPECT_NE(w.status, CalcStatus::ok) << c.what;
    EXPECT_EQ(steps_of(working_text(w)), c.steps) << c.what;
  }
}

TEST(Working, FailureStillShowsTheWholeFormula) {
  const std::string text = text_of({{Field::Text7, "0"}}, Calculation::MainProgram_2);
  EXPECT_NE(text.find("\ng = (b + h) / b × f × γ + (h / 2 + t / cos α) × 25 + 0.34 / cos α\n"),
            std::string::npos)
      << text;
}

// The working and the label come from the same formula: over any texts, its result is the
// caption, to the bit.
TEST(Working, ResultIsAlwaysTheCaption) {
  std::mt19937 rng(20261207);
  const char* specials[] = {"", "0", "-0", "1e999", "-1e999", "1e-320", "abc", "0.1", "&HFF"};
  std::uniform_real_distribution<double> magnitude(-3, 4);
  std::uniform_int_distribution<int> pick(0, 9);
  for (int run = 0; run < 3000; ++run) {
    MemorySheet sheet;
    for (const FieldInfo& f : fields) {
      const int p = pick(rng);
      if (p < 2) {
        sheet.load(f.field, f.default_text);
      } else if (p < 3) {
        sheet.load(f.field, specials[rng() % std::size(specials)]);
      } else {
        char buf[32];
        const double v = std::pow(10.0, magnitude(rng)) * (pick(rng) == 0 ? -1 : 1);
        const auto end = std::to_chars(buf, buf + sizeof buf, v).ptr;
        sheet.load(f.field, std::string(buf, end));
      }
    }
    for (Calculation c : {Calculation::MainProgram_1, Calculation::MainProgram_2}) {
      const Working w = working(sheet, c);
      run_calculation(sheet, c);
      const std::string& caption = sheet.caption(result_label(c));
      ASSERT_EQ(w.caption, caption) << working_text(w);
      ASSERT_EQ(w.status == CalcStatus::ok, w.failure.empty()) << working_text(w);
      if (w.status != CalcStatus::ok) continue;
      // The result's value, put back through the caption rule, gives the caption.
      EXPECT_EQ(format_result(w.quantities[w.result].value, result_info(result_label(c)).unit),
                caption);
    }
  }
}

// A reader evaluates a written step left to right by the usual precedence; the brackets must make
// that the order the machine took, or the numbers put in give another rounding.
TEST(Working, BracketsFollowTheOrderOfEvaluation) {
  struct Case {
    const char* what;
    Traced (*formula)(const Traced&, const Traced&, const Traced&);
    const char* line;
  };
  const Case cases[] = {
      {"left to right needs none", [](auto& a, auto& b, auto& c) { return a - b - c; },
       "x = 1 − 2 − 4 = -5.000"},
      {"a difference on the right", [](auto& a, auto& b, auto& c) { return a - (b - c); },
       "x = 1 − (2 − 4) = 3.000"},
      {"a sum on the right", [](auto& a, auto& b, auto& c) { return a + (b + c); },
       "x = 1 + (2 + 4) = 7.000"},
      {"a quotient on the right", [](auto& a, auto& b, auto& c) { return a / (b / c); },
       "x = 1 / (2 / 4) = 2.000"},
      {"a product on the right of a quotient",
       [](auto& a, auto& b, auto& c) { return a / (b * c); }, "x = 1 / (2 × 4) = 0.1250"},
      {"a sum inside a product", [](auto& a, auto& b, auto& c) { return (a + b) * c; },
       "x = (1 + 2) × 4 = 12.00"},
      {"a product inside a sum needs none", [](auto& a, auto& b, auto& c) { return a + b * c; },
       "x = 1 + 2 × 4 = 9.000"},
      {"a function binds tightest", [](auto& a, auto&, auto& c) { return cosine(a - a) * c; },
       "x = cos(1 − 1) × 4 = 4.000"},
  };
  for (const auto& c : cases) {
    Working w;
    w.calculation = Calculation::MainProgram_2;
    const Traced a = Traced::entry(w, 1, {});
    const Traced b = Traced::entry(w, 2, {});
    const Traced d = Traced::entry(w, 4, {});
    step(c.formula(a, b, d), StepInfo{"x", "", "", true});
    EXPECT_EQ(steps_of(working_text(w)).substr(0, std::string(c.line).size() + 1),
              std::string(c.line) + "\n")
        << c.what;
  }
}

TEST(Working, NumbersAreTheShortestTextThatReadsBack) {
  const std::pair<double, const char*> cases[] = {
      {0.1, "0.1"},    {0.1 + 0.2, "0.30000000000000004"},
      {8.2, "8.2"},    {1e300, "1e+300"},
      {-0.0, "-0"},    {5e-324, "5e-324"},
      {INFINITY, "∞"}, {-INFINITY, "-∞"},
  };
  for (const auto& [value, expected] : cases) {
    EXPECT_EQ(shortest_figure(value), expected);
    if (std::isfinite(value)) {
      EXPECT_EQ(read_number(shortest_figure(value)), value) << expected;
    }
  }
}

TEST(Working, FiguresAreRoundedForReadingToFourSignificantFigures) {
  const std::pair<double, const char*> cases[] = {
      {6.699999999999999, "6.700"},
      {0.39159537634592956, "0.3916"},
      {12.610000000000001, "12.61"},
      {-1.2500000000000004, "-1.250"},
      {1234.4, "1234"},
      {9999.7, "1.000e+04"},
      {0.00099996, "0.001000"},
      {0.0001234, "1.234e-04"},
      {2.0499999999999998e+306, "2.050e+306"},
      {5e-324, "4.941e-324"},
      {0.0, "0"},
      {-INFINITY, "-∞"},
  };
  for (const auto& [value, expected] : cases) EXPECT_EQ(reading_figure(value), expected);
}

TEST(Working, HtmlWritesSymbolsItalicWithSubscripts) {
  const std::string html = working_html(working(sheet_with({}), Calculation::MainProgram_1));
  const char* pieces[] = {
      "<i>h</i><sub>b</sub> — 框架梁高，m",
      "<tr><td nowrap><i>A</i><sub>w</sub></td><td nowrap>&nbsp;=&nbsp;</td><td nowrap>(<i>L</i> − "
      "<i>b</i><sub>c</sub>) × (<i>H</i> − <i>h</i><sub>b</sub>) − <i>b</i><sub>o</sub> × "
      "<i>h</i><sub>o</sub></td><td nowrap>&nbsp;=&nbsp;</td><td nowrap>(4 − 0) × (3.6 − 0.45) − "
      "2 × 2.2</td><td nowrap>&nbsp;=&nbsp;</td><td nowrap>8.200 m²</td></tr>",
      "<p>结果：<i>q</i> = <b>6.7kN/m</b></p>",
  };
  for (const char* piece : pieces) EXPECT_NE(html.find(piece), std::string::npos) << piece;
  const std::string stair = working_html(working(sheet_with({}), Calculation::MainProgram_2));
  EXPECT_NE(stair.find("cos <i>α</i>"), std::string::npos);
  const std::string failed =
      working_html(working(sheet_with({{Field::Text1, "1e308"}}), Calculation::MainProgram_1));
  EXPECT_NE(failed.find("<p><i>A</i><sub>w</sub> 超出双精度数的范围，无法计算。</p>"),
            std::string::npos)
      << failed;
}

}  // namespace
}  // namespace loadcalc
