// What the page receives from the module: each event's effects in the order the page replays
// them, and the sheet it prints.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "web/glue.h"

namespace {

std::string output(const char* p) {
  return {p, lc_output_size()};
}

std::string edit(int field, std::string_view text, const char* (*event)(int) = lc_edit) {
  std::memcpy(lc_input(text.size()), text.data(), text.size());
  return output(event(field));
}

struct Edit {
  int field;  // 0 for Text1
  std::string_view text;
};

struct EffectsRow {
  const char* name;
  std::vector<Edit> before;  // edits made first, their effects not checked
  Edit edit;
  std::string_view effects;
};

// clang-format off
const EffectsRow effects_rows[] = {
  {"passing change recomputes once", {}, {1, "3"}, R"([["caption","Label10","4.9kN/m"]])"},
  {"unchanged text is checked all the same", {}, {1, "3.6"}, R"([["caption","Label10","6.7kN/m"]])"},
  {"no such field", {}, {13, "5"}, "[]"},
  {"rejected: message, reset, nested recompute, selection, recompute", {}, {1, "0"},
   R"([["message","层高≤0，数据错误。请重新输入！","数据检查"],["text","Text2","3.6"],)"
   R"(["caption","Label10","6.7kN/m"],["selection","Text2",0,3],["caption","Label10","6.7kN/m"]])"},
  {"leading zero: beep, then the reset", {{2, "0"}}, {2, "01"},
   R"([["beep"],["text","Text3","0.45"],["caption","Label10","6.7kN/m"],)"
   R"(["selection","Text3",0,4],["caption","Label10","6.7kN/m"]])"},
  {"reset text failing its own cross limit: the message twice", {{0, "2"}}, {3, "3"},
   R"([["message","窗宽≥开间轴线间距，数据错误。请重新输入！","数据检查"],["text","Text4","2.0"],)"
   R"(["message","窗宽≥开间轴线间距，数据错误。请重新输入！","数据检查"],["selection","Text4",0,3],)"
   R"(["caption","Label10","3.95kN/m"],["selection","Text4",0,3],["caption","Label10","3.95kN/m"]])"},
  {"the same text typed again meets the narrowed bay", {{3, "3"}, {0, "2"}}, {3, "3"},
   R"([["message","窗宽≥开间轴线间距，数据错误。请重新输入！","数据检查"],["text","Text4","2.0"],)"
   R"(["message","窗宽≥开间轴线间距，数据错误。请重新输入！","数据检查"],["selection","Text4",0,3],)"
   R"(["caption","Label10","3.95kN/m"],["selection","Text4",0,3],["caption","Label10","3.95kN/m"]])"},
};
// clang-format on

TEST(Glue, EffectsComeInTheOrderTheChecksMadeThem) {
  for (const EffectsRow& row : effects_rows) {
    lc_start();
    for (const Edit& e : row.before) edit(e.field, e.text);
    EXPECT_EQ(edit(row.edit.field, row.edit.text), row.effects) << row.name;
  }
}

TEST(Glue, StartUpWritesTheDefaultsAndEndsWithBothCaptions) {
  const std::string start = output(lc_start());
  EXPECT_EQ(start.rfind(R"([["text","Text1","4.0"],["caption","Label10","0kN/m"],)", 0), 0u);
  // Line feeds escaped, so that the page can parse the answer as JSON.
  EXPECT_NE(
      start.find(
          R"(["tooltip","框架梁均布线荷载及楼梯折算恒荷载计算\u000a编制：loadcalc 开发组\u000a"])"),
      std::string::npos);
  EXPECT_TRUE(
      start.ends_with(R"(["caption","Label10","6.7kN/m"],["caption","Label11","7.172kN/m^2"]])"));
}

// A browser may report an input method's commit twice; the second changes nothing.
TEST(Glue, ACommitIsCheckedOnlyWhenItChangedTheText) {
  lc_start();
  EXPECT_EQ(edit(1, "3", lc_commit), R"([["caption","Label10","4.9kN/m"]])");
  EXPECT_EQ(edit(1, "3", lc_commit), "[]");
}

TEST(Glue, EnterRecomputesOnlyItsFieldsResult) {
  lc_start();
  EXPECT_EQ(output(lc_enter(6)), R"([["caption","Label11","7.172kN/m^2"]])");
  EXPECT_EQ(output(lc_enter(12)), R"([["caption","Label10","6.7kN/m"]])");
}

TEST(Glue, KeyFilterTakesCodePoints) {
  const int rows[][2] = {{'5', '5'},  {'.', '.'},       {'e', 0},
                         {'-', 0},    {13, 13},         {0x4E2D, 0},
                         {0x9F8D, 0}, {0xFF15, 0xFF15}, {0x9F8D - 0x10000, 0}};
  for (const auto& [code, handed_back] : rows) EXPECT_EQ(lc_key_filter(code), handed_back) << code;
}

TEST(Glue, NamesTheControlsTheNumbersStandFor) {
  EXPECT_EQ(output(lc_controls()),
            R"({"fields":["Text1","Text2","Text3","Text4","Text5","Text6","Text7","Text8","Text9",)"
            R"("Text10","Text11","Text12","Text13"],"results":["Label10","Label11"]})");
}

TEST(Glue, WorkingOfEachCalculationAndOfNone) {
  lc_start();
  EXPECT_EQ(output(lc_working(0, 0)).rfind("框架梁上均布线荷载\n", 0), 0u);
  EXPECT_EQ(output(lc_working(1, 0)).rfind("楼梯的折算恒荷载\n", 0), 0u);
  EXPECT_EQ(output(lc_working(2, 0)), "");
  EXPECT_EQ(output(lc_working(-1, 1)), "");
}

TEST(Glue, PrintedSheetShowsAPastedTextAsText) {
  lc_start();
  edit(6, "12<b>\"&");
  const std::string sheet = output(lc_sheet_html());
  EXPECT_NE(sheet.find("12&lt;b&gt;\"&amp;"), std::string::npos);
  EXPECT_EQ(sheet.find("<b>\"&"), std::string::npos);
  EXPECT_NE(sheet.find("楼梯的折算恒荷载：<b>59.461kN/m^2</b>"), std::string::npos);
}

// The generalised formulas, fed as the page feeds them: numbers into lc_numbers' buffer.
std::string with_numbers(std::vector<double> numbers, const char* (*formula)(int), int rows) {
  std::memcpy(lc_numbers(numbers.size()), numbers.data(), numbers.size() * sizeof(double));
  return output(formula(rows));
}

TEST(Glue, WallWeightIsTheLayersSum) {
  const auto wall = [](std::vector<double> layers) {
    std::memcpy(lc_numbers(layers.size()), layers.data(), layers.size() * sizeof(double));
    return lc_wall_weight(static_cast<int>(layers.size() / 3));
  };
  // Layers of basis (0 thickness, 1 area), mm or nothing, and kN/m³ or kN/m².
  EXPECT_EQ(wall({0, 200, 19, 0, 20, 17, 0, 20, 17}), 0.2 * 19 + 0.02 * 17 + 0.02 * 17);
  EXPECT_NEAR(wall({0, 200, 6, 0, 30, 20}), 1.8, 1e-12);
  EXPECT_NEAR(wall({0, 200, 6, 1, 999, 0.36}), 1.56, 1e-12);
  // A basis the page has no name for, and a count beyond what it handed in.
  EXPECT_TRUE(std::isnan(wall({2, 200, 6})));
  EXPECT_TRUE(std::isnan(lc_wall_weight(2)));
}

TEST(Glue, GeneralisedFormulasGiveTheCalculatorsCaptions) {
  const auto beam = lc_beam_line_load, stair = lc_stair_dead_load;
  // Beam: bay, storey, beam depth, column, wall weight; openings of width, height, count, weight.
  // Stair: step width and height, slab, finish (mm), its density, concrete, soffit; extras of
  // basis, weight, flight width. An empty caption is a refusal.
  const std::tuple<const char* (*)(int), std::vector<double>, int, std::string_view> rows[] = {
      {beam, {6, 4.2, 0.55, 0, 0.2 * 19 + 0.02 * 17 + 0.02 * 17}, 0, "16.352kN/m"},
      {beam, {4, 3.6, 0.45, 0.4, 3, 0.9, 1.5, 2, 0.45, 1, 2.1, 1, 0.2}, 2, "5.314kN/m"},
      {beam, {0, 3.6, 0.45, 0, 3}, 0, "除数为零，无法计算"},
      {beam, {4, 3.6, 0.45, 0, 3, 2, 2.2, 1}, 1, ""},
      {stair, {280, 160, 130, 30, 22, 24, 0.5, 0, 0.5, 0, 1, 1.2, 1.5}, 2, "8.426kN/m^2"},
      {stair, {280, 160, 130, 30, 22, 25, 0.34, 1, 1, 0}, 1, "除数为零，无法计算"},
  };
  for (const auto& [formula, numbers, count, caption] : rows) {
    EXPECT_EQ(with_numbers(numbers, formula, count), caption);
    EXPECT_EQ(std::isnan(lc_value()), !caption.ends_with("^2") && !caption.ends_with("kN/m"));
  }
  // The calculator's one window and its stair materials give its figures to the bit.
  EXPECT_EQ(with_numbers({4, 3.6, 0.45, 0, 3, 2, 2.2, 1, 0.5}, beam, 1), "6.7kN/m");
  EXPECT_EQ(lc_value(), 6.6999999999999993);
  EXPECT_EQ(with_numbers({280, 160, 130, 30, 22, 25, 0.34}, stair, 0), "7.172kN/m^2");
  EXPECT_EQ(lc_value(), 7.1719293309131142);
}

}  // namespace
