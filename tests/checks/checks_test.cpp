#include <gtest/gtest.h>

#include <array>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "calc/calculations.h"
#include "calc/memory_sheet.h"
#include "calc/number.h"
#include "calc/startup.h"
#include "checks/checks.h"

namespace loadcalc {

static void PrintTo(const Effect& e, std::ostream* os) {
  static constexpr const char* kinds[] = {"text", "caption", "sel", "tooltip", "message", "beep"};
  *os << kinds[static_cast<int>(e.kind)] << '(' << field_info(e.field).name << '|'
      << result_info(e.label).name << " \"" << e.text << "\" \"" << e.title << "\" "
      << e.selection.start << '+' << e.selection.length << (e.changed ? "" : " unchanged") << ')';
}

namespace {

using F = Field;
using K = Effect::Kind;
using Loads = std::vector<std::pair<F, std::string_view>>;
constexpr std::string_view beep_marker = "(beep)";

Effect typed(F f, std::string_view t, bool changed = true) {
  return {.kind = K::text, .field = f, .text = std::string(t), .changed = changed};
}
Effect message(std::string_view prompt) {
  if (prompt == beep_marker) return {.kind = K::beep};
  return {.kind = K::message, .text = std::string(prompt), .title = "数据检查"};
}
Effect selected(F f, std::string_view text) {
  return {.kind = K::selection, .field = f, .selection = {0, char_count(text)}};
}
Effect result(F f, std::string_view caption) {
  return {
      .kind = K::caption, .label = result_label(field_info(f).feeds), .text = std::string(caption)};
}

// What each field is put back to, and the prompts of its checks: the first stage's (range or
// value) and the cross-field limit's, as the user reads them.
struct FieldRule {
  std::string_view reset, prompt, cross_prompt;
};
// clang-format off
constexpr FieldRule field_rules[] = {
    {"4.0",  "轴线间距≤0，数据错误，请重新输入！", ""},
    {"3.6",  "层高≤0，数据错误。请重新输入！", ""},
    {"0.45", "梁高≤0或梁高≥2，数据错误。请重新输入！", ""},
    {"2.0",  "窗宽< 0，数据错误。请重新输入！", "窗宽≥开间轴线间距，数据错误。请重新输入！"},
    {"2.2",  "窗高< 0，数据错误。请重新输入！", "窗高≥层高-梁高，数据错误。请重新输入！"},
    {"3.0",  "墙自重≤0，数据错误。请重新输入！", ""},
    {"280",  "踏步宽度≤0或≥350，数据错误。请重新输入！", ""},
    {"160",  "踏步高度≤0或≥200，数据错误。请重新输入！", ""},
    {"130",  "梯板厚度≤0或≥300，数据错误。请重新输入！", ""},
    {"30",   "面层厚度≤0或≥100，数据错误。请重新输入！", ""},
    {"0.5",  "窗重≤0或≥10，数据错误。请重新输入！", ""},
    {"22.0", "面层容重≤0或≥50，数据错误。请重新输入！", ""},
    {"0.0",  "柱宽≤0，数据错误。请重新输入！", "柱宽非法，数据错误。请重新输入！"},
};
// clang-format on
std::string_view reset_of(F f) {
  return field_rules[index_of(f)].reset;
}

MemorySheet started(const Loads& loads = {}) {
  MemorySheet sheet{change_check};
  Form_Load(sheet);
  for (const auto& [f, text] : loads) sheet.load(f, text);
  sheet.clear_effects();
  return sheet;
}

// The captions of the start-up defaults.
constexpr std::string_view beam = "6.7kN/m", stair = "7.172kN/m^2";

void expect_effects(const MemorySheet& sheet, const std::vector<Effect>& want) {
  EXPECT_EQ(sheet.effects(), want);
}

enum class O { passes, range, value, cross, beeps };
struct Case {
  F field;
  std::string_view input;
  O outcome;
  std::string_view caption;  // of the field's result, once the change is over
  Loads loads = {};
  bool reset_breaks_cross = false;
};

std::string_view expected_prompt(F f, O o) {
  if (o == O::range || o == O::value) return field_rules[index_of(f)].prompt;
  if (o == O::cross) return field_rules[index_of(f)].cross_prompt;
  return o == O::beeps ? beep_marker : "";
}

// The first stage that objects, asked of the pure checks with the sheet's other texts.
std::string_view first_objection(F f, std::string_view input, const MemorySheet& sheet) {
  std::array<std::string, field_count> texts;
  FieldTexts others;
  for (std::size_t i = 0; i < field_count; ++i) others[i] = texts[i] = sheet.text(field_at(i));
  if (auto m = range_check(f, input)) return *m;
  if (auto m = value_check(f, input)) return *m;
  if (auto m = cross_check(f, input, others)) return *m;
  return leading_zero_guard(input) ? beep_marker : "";
}

// A pass recomputes once; a failure reports or beeps, resets (the nested check recomputes),
// selects and recomputes again. Where the other fields make the reset text break the cross limit
// the nested check reports that too, and its second write of the same text ends the nesting.
void run_cases(std::initializer_list<Case> cases) {
  for (const Case& c : cases) {
    const F f = c.field;
    SCOPED_TRACE(std::string(field_info(f).name) + " \"" + std::string(c.input) + '"');
    MemorySheet sheet = started(c.loads);
    const std::string_view prompt = expected_prompt(f, c.outcome);
    EXPECT_EQ(first_objection(f, c.input, sheet), prompt);
    sheet.set_text(f, c.input);
    const std::string_view reset = reset_of(f);
    const std::string_view kept = c.outcome == O::passes ? c.input : reset;
    std::vector<Effect> want{typed(f, c.input)};
    const auto cross_again = [&] {
      if (!c.reset_breaks_cross) return;
      want.insert(want.end(), {message(field_rules[index_of(f)].cross_prompt),
                               typed(f, reset, false), selected(f, reset)});
    };
    if (c.outcome != O::passes) {
      want.insert(want.end(), {message(prompt), typed(f, reset)});
      cross_again();
      want.insert(want.end(), {result(f, c.caption), selected(f, reset)});
      if (c.outcome == O::value) cross_again();
    }
    want.push_back(result(f, c.caption));
    expect_effects(sheet, want);
    EXPECT_EQ(sheet.text(f), kept);
    if (c.outcome != O::passes) {
      EXPECT_EQ(sheet.selection(f), select_all(reset));
    }
  }
}

// clang-format off
TEST(RangeChecks, FailAtOrBelowZeroAndAtTheUpperLimit) {
  run_cases({
      {F::Text7, "350", O::range, stair}, {F::Text7, "349.9", O::passes, "6.909kN/m^2"},
      {F::Text7, "0.001", O::passes, "680002.66kN/m^2"}, {F::Text7, "0", O::range, stair},
      {F::Text7, "12abc", O::passes, "59.461kN/m^2"}, {F::Text7, "1e999", O::range, stair},
      {F::Text8, "200", O::range, stair}, {F::Text8, "199.99", O::passes, "8.043kN/m^2"},
      {F::Text9, "300", O::range, stair}, {F::Text10, "100", O::range, stair},
      {F::Text12, "50", O::range, stair}, {F::Text1, "100000", O::passes, "9.45kN/m"},
      {F::Text2, "100000", O::passes, "299995.9kN/m"},
      {F::Text6, "100000", O::passes, "205000.55kN/m"}, {F::Text1, "", O::range, beam},
      {F::Text6, ".", O::range, beam}, {F::Text2, "-5", O::range, beam},
      {F::Text9, "1 2 9", O::passes, "7.143kN/m^2"}, {F::Text10, "99,9", O::passes, "9.557kN/m^2"},
      {F::Text1, "1e999", O::passes, "数值超出范围"}, {F::Text1, "-1e999", O::range, beam},
      {F::Text2, "1e-999", O::range, beam},
  });
}

TEST(DecimalChecks, ValueCrossAndGuardStagesObjectOnceAndZeroPasses) {
  run_cases({
      {F::Text3, "1.99", O::passes, "2.08kN/m"}, {F::Text3, "2", O::value, beam},
      {F::Text3, "0", O::passes, "8.05kN/m"}, {F::Text3, "0.", O::passes, "8.05kN/m"},
      {F::Text3, ".", O::passes, "8.05kN/m"}, {F::Text3, "-0", O::passes, "8.05kN/m"},
      {F::Text3, "01", O::beeps, beam}, {F::Text3, "02", O::value, beam},
      {F::Text3, "0..", O::beeps, beam}, {F::Text3, "", O::beeps, beam},
      {F::Text3, "01.5", O::passes, "3.55kN/m"}, {F::Text3, "0..5", O::passes, "8.05kN/m"},
      {F::Text11, "9.99", O::passes, "17.139kN/m"}, {F::Text11, "10", O::value, beam},
      {F::Text11, "07", O::passes, "13.85kN/m"}, {F::Text11, "08", O::passes, "14.95kN/m"},
      {F::Text11, "05", O::beeps, beam}, {F::Text11, "09", O::beeps, beam},
      {F::Text11, "00", O::beeps, beam}, {F::Text11, " 01", O::passes, "7.25kN/m"},
      {F::Text4, "3.99", O::passes, "3.964kN/m"}, {F::Text4, "4", O::cross, beam},
      {F::Text4, "04", O::cross, beam}, {F::Text4, "02", O::beeps, beam},
      {F::Text4, "-1", O::value, beam}, {F::Text4, "-1e999", O::value, beam},
      {F::Text4, "1e999", O::cross, beam}, {F::Text5, "03", O::beeps, beam},
      {F::Text13, "2", O::passes, "1.975kN/m"}, {F::Text13, "2.01", O::cross, beam},
      {F::Text13, "-0.1", O::value, beam}, {F::Text13, "0", O::passes, beam},
      {F::Text13, "06", O::cross, beam},
  });
  const Loads storey_3_5{{F::Text2, "3.5"}, {F::Text3, "0.5"}};
  run_cases({{F::Text5, "2.99", O::passes, "5.262kN/m", storey_3_5},
             {F::Text5, "3", O::cross, "6.25kN/m", storey_3_5}});
}

TEST(DecimalChecks, ResetTextBreakingTheCrossLimitIsReportedAgainAndNestingStops) {
  const Loads bay_2{{F::Text1, "2.0"}}, panel_2{{F::Text2, "2.5"}, {F::Text3, "0.5"}},
      opening_5{{F::Text4, "5.0"}};
  run_cases({
      {F::Text4, "3", O::cross, "3.95kN/m", bay_2, true},
      {F::Text4, "-1", O::value, "3.95kN/m", bay_2, true},
      {F::Text4, "", O::beeps, "3.95kN/m", bay_2, true},
      {F::Text4, "01", O::beeps, "3.95kN/m", bay_2, true},
      {F::Text5, "3", O::cross, "3.25kN/m", panel_2, true},
      {F::Text5, "-1", O::value, "3.25kN/m", panel_2, true},
      {F::Text5, "", O::beeps, "3.25kN/m", panel_2, true},
      {F::Text13, "0.5", O::cross, "2.575kN/m", opening_5, true},
      {F::Text13, "-0.1", O::value, "2.575kN/m", opening_5, true},
      {F::Text13, "", O::cross, "2.575kN/m", opening_5, true},
  });
}
// clang-format on

TEST(LeadingZeroGuard, MatchesTheTenWholeTextsInTheirGroups) {
  const std::pair<std::string_view, int> cases[] = {
      {"01", 1},  {"02", 1},  {"", 1},   {"0..", 1}, {"03", 2}, {"04", 2},   {"05", 3},
      {"06", 3},  {"09", 4},  {"00", 4}, {"07", 0},  {"08", 0}, {"0..5", 0}, {"010", 0},
      {" 01", 0}, {"01 ", 0}, {"0", 0},  {"0.", 0},  {"1", 0},  {"0...", 0},
  };
  for (const auto& [text, group] : cases) {
    EXPECT_EQ(leading_zero_group(text), group) << '"' << text << '"';
    EXPECT_EQ(leading_zero_guard(text), group != 0) << '"' << text << '"';
  }
}

TEST(RuleTables, ResetTextsAreTheDefaultsButText11sAndEachPassesItsOwnField) {
  for (std::size_t i = 0; i < field_count; ++i) {
    const F f = field_at(i);
    const RangeRule* r = find_range_rule(f);
    EXPECT_EQ(r ? reset_text(*r) : reset_text(*find_decimal_rule(f)), reset_of(f)) << i;
    EXPECT_EQ(first_objection(f, reset_of(f), started()), "") << i;
  }
}

TEST(ChangeCheck, ShowsTheUsersPromptsAndCaptions) {
  MemorySheet sheet = started();
  sheet.set_text(F::Text2, "0");
  expect_effects(sheet, {typed(F::Text2, "0"), message("层高≤0，数据错误。请重新输入！"),
                         typed(F::Text2, "3.6"), result(F::Text2, "6.7kN/m"),
                         selected(F::Text2, "3.6"), result(F::Text2, "6.7kN/m")});
  sheet.clear_effects();
  sheet.set_text(F::Text2, "3");
  expect_effects(sheet, {typed(F::Text2, "3"), result(F::Text2, "4.9kN/m")});

  // Every prompt of both rule tables, as the user reads it.
  const std::pair<std::pair<F, std::string_view>, std::string_view> prompts[] = {
      {{F::Text1, "0"}, "轴线间距≤0，数据错误，请重新输入！"},
      {{F::Text6, "0"}, "墙自重≤0，数据错误。请重新输入！"},
      {{F::Text7, "350"}, "踏步宽度≤0或≥350，数据错误。请重新输入！"},
      {{F::Text8, "200"}, "踏步高度≤0或≥200，数据错误。请重新输入！"},
      {{F::Text9, "300"}, "梯板厚度≤0或≥300，数据错误。请重新输入！"},
      {{F::Text10, "100"}, "面层厚度≤0或≥100，数据错误。请重新输入！"},
      {{F::Text12, "50"}, "面层容重≤0或≥50，数据错误。请重新输入！"},
      {{F::Text3, "2"}, "梁高≤0或梁高≥2，数据错误。请重新输入！"},
      {{F::Text4, "4"}, "窗宽≥开间轴线间距，数据错误。请重新输入！"},
      {{F::Text4, "-1"}, "窗宽< 0，数据错误。请重新输入！"},
      {{F::Text5, "9"}, "窗高≥层高-梁高，数据错误。请重新输入！"},
      {{F::Text5, "-1"}, "窗高< 0，数据错误。请重新输入！"},
      {{F::Text11, "10"}, "窗重≤0或≥10，数据错误。请重新输入！"},
      {{F::Text13, "2.01"}, "柱宽非法，数据错误。请重新输入！"},
      {{F::Text13, "-0.1"}, "柱宽≤0，数据错误。请重新输入！"},
  };
  for (const auto& [change, prompt] : prompts) {
    MemorySheet s = started();
    s.set_text(change.first, change.second);
    ASSERT_GE(s.effects().size(), 2u);
    EXPECT_EQ(s.effects()[1], message(prompt)) << change.second;
  }
}

TEST(ChangeCheck, BayBeyondADoubleIsAcceptedAndTheResultSaysItCannotBeComputed) {
  MemorySheet sheet = started();
  sheet.set_text(F::Text1, "1e999");
  EXPECT_EQ(sheet.text(F::Text1), "1e999");
  EXPECT_EQ(sheet.caption(ResultLabel::Label10), failure_text(CalcStatus::out_of_range));
}

TEST(ChangeCheck, StartUpPassesEveryDefaultAndRecomputesAsItGoes) {
  MemorySheet sheet{change_check};
  Form_Load(sheet);
  std::vector<std::string> captions;
  for (const Effect& e : sheet.effects()) {
    EXPECT_TRUE(e.kind != K::message && e.kind != K::beep) << e.text;
    if (e.kind == K::caption) captions.push_back(e.text);
  }
  EXPECT_EQ(captions, (std::vector<std::string>{
                          "0kN/m", "0kN/m", "0kN/m", "0kN/m", "0kN/m", "6.15kN/m", "0.34kN/m^2",
                          "2.392kN/m^2", "6.135kN/m^2", "6.135kN/m^2", "6.7kN/m", "7.172kN/m^2",
                          "6.7kN/m", "6.7kN/m", "7.172kN/m^2"}));
}

}  // namespace
}  // namespace loadcalc
