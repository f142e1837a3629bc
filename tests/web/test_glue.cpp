// What the page receives from the module: each event's effects in the order the page replays
// them, and the sheet it prints.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <string_view>
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

}  // namespace
