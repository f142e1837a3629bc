#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "calc/calculations.h"
#include "calc/fields.h"
#include "calc/memory_sheet.h"
#include "calc/startup.h"

namespace loadcalc {
namespace {

// Stands in for the checks, all of which pass on the defaults: each change runs the calculation
// that the field feeds.
void recompute_fed(Sheet& sheet, Field f) {
  run_calculation(sheet, field_info(f).feeds);
}

TEST(FormLoad, FillsTheDefaultsAndBothResults) {
  MemorySheet sheet(recompute_fed);
  Form_Load(sheet);
  const char* const defaults[] = {"4.0", "3.6", "0.45", "2.0",  "2.2",  "3.0", "280",
                                  "160", "130", "30",   "0.50", "22.0", "0.0"};
  for (std::size_t i = 0; i < std::size(defaults); ++i)
    EXPECT_EQ(sheet.text(field_at(i)), defaults[i]) << "Text" << i + 1;
  EXPECT_EQ(sheet.caption(ResultLabel::Label10), "6.7kN/m");
  EXPECT_EQ(sheet.caption(ResultLabel::Label11), "7.172kN/m^2");
  EXPECT_EQ(sheet.selection(Field::Text1), (Selection{0, 3}));
  EXPECT_EQ(sheet.tooltip(), tooltip_text);
}

TEST(FormLoad, TooltipIsTwoLinesEachEndedByALineFeed) {
  const std::string_view t = tooltip_text;
  ASSERT_FALSE(t.empty());
  EXPECT_EQ(t.back(), '\n');
  EXPECT_EQ(std::count(t.begin(), t.end(), '\n'), 2);
}

// Each write's reaction runs inside the write and sees the fields written so far with their
// defaults and the later ones still as the window was built. (The captions this gives are
// asserted with the real checks in tests/checks.)
TEST(FormLoad, EachReactionSeesTheFieldsWrittenSoFar) {
  static std::vector<std::string> seen;
  seen.clear();
  MemorySheet sheet([](Sheet& s, Field) {
    std::string texts;
    for (const FieldInfo& f : fields) texts += s.text(f.field) + '|';
    seen.push_back(texts);
  });
  Form_Load(sheet);
  ASSERT_EQ(seen.size(), field_count);
  EXPECT_EQ(seen[0], "4.0| | | | | | | | | |Text11|Text12|Text13|");
  EXPECT_EQ(seen[6], "4.0|3.6|0.45|2.0|2.2|3.0|280| | | |Text11|Text12|Text13|");
  EXPECT_EQ(seen[12], "4.0|3.6|0.45|2.0|2.2|3.0|280|160|130|30|0.50|22.0|0.0|");
}

TEST(FormLoad, WritesInFieldOrderThenSelectsThenTooltipThenComputes) {
  MemorySheet sheet;  // no reactions: only Form_Load's own steps
  Form_Load(sheet);
  const auto& fx = sheet.effects();
  ASSERT_EQ(fx.size(), field_count + 4);
  for (std::size_t i = 0; i < field_count; ++i) {
    EXPECT_EQ(fx[i].kind, Effect::Kind::text);
    EXPECT_EQ(fx[i].field, field_at(i));
    EXPECT_TRUE(fx[i].changed);
  }
  EXPECT_EQ(fx[13].kind, Effect::Kind::selection);
  EXPECT_EQ(fx[14].kind, Effect::Kind::tooltip);
  EXPECT_EQ(fx[15].label, ResultLabel::Label10);
  EXPECT_EQ(fx[16].label, ResultLabel::Label11);
}

TEST(MemorySheetWrites, UnchangedWriteRunsNothing) {
  static int runs = 0;
  MemorySheet sheet([](Sheet&, Field) { ++runs; });
  sheet.set_text(Field::Text2, "3.6");
  sheet.set_text(Field::Text2, "3.6");
  EXPECT_EQ(runs, 1);
  ASSERT_EQ(sheet.effects().size(), 2u);
  EXPECT_TRUE(sheet.effects()[0].changed);
  EXPECT_FALSE(sheet.effects()[1].changed);
}

}  // namespace
}  // namespace loadcalc
