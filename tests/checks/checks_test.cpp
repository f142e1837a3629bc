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
// A caption left empty stands for the result of the texts the sheet ends with.
Effect result(F f, std::string_view caption = "") {
  return {
      .kind = K::caption, .label = result_label(field_info(f).feeds), .text = std::string(caption)};
}

std::string_view reset_of(F f) {
  const RangeRule* r = find_range_rule(f);
  return r ? r->reset_text : find_decimal_rule(f)->reset_text;
}

MemorySheet started(const Loads& loads = {}) {
  MemorySheet sheet{change_check};
  Form_Load(sheet);
  for (const auto& [f, text] : loads) sheet.load(f, text);
  sheet.clear_effects();
  return sheet;
}

void expect_effects(const MemorySheet& sheet, std::vector<Effect> want) {
  for (Effect& e : want) {
    if (e.kind != K::caption || !e.text.empty()) continue;
    MemorySheet copy = sheet;
    copy.set_reaction(nullptr);
    run_calculation(copy, results[index_of(e.label)].written_by);
    e.text = copy.caption(e.label);
  }
  EXPECT_EQ(sheet.effects(), want);
}

enum class O { passes, range, value, cross, beeps };
struct Case {
  F field;
  std::string_view input;
  O outcome;
  Loads loads = {};
  bool reset_breaks_cross = false;
};

std::string_view expected_prompt(F f, O o) {
  if (o == O::range) return find_range_rule(f)->message;
  if (o == O::value) return find_decimal_rule(f)->value_message;
  if (o == O::cross) return find_decimal_rule(f)->cross_message;
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
      want.insert(want.end(), {message(find_decimal_rule(f)->cross_message), typed(f, reset, false),
                               selected(f, reset)});
    };
    if (c.outcome != O::passes) {
      want.insert(want.end(), {message(prompt), typed(f, reset)});
      cross_again();
      want.insert(want.end(), {result(f), selected(f, reset)});
      if (c.outcome == O::value) cross_again();
    }
    want.push_back(result(f));
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
      {F::Text7, "350", O::range}, {F::Text7, "349.9", O::passes}, {F::Text7, "0.001", O::passes},
      {F::Text7, "0", O::range}, {F::Text7, "12abc", O::passes}, {F::Text7, "1e999", O::range},
      {F::Text8, "200", O::range}, {F::Text8, "199.99", O::passes}, {F::Text9, "300", O::range},
      {F::Text10, "100", O::range}, {F::Text12, "50", O::range}, {F::Text1, "100000", O::passes},
      {F::Text2, "100000", O::passes}, {F::Text6, "100000", O::passes}, {F::Text1, "", O::range},
      {F::Text6, ".", O::range}, {F::Text2, "-5", O::range}, {F::Text9, "1 2 9", O::passes},
      {F::Text10, "99,9", O::passes}, {F::Text1, "1e999", O::passes},
      {F::Text1, "-1e999", O::range}, {F::Text2, "1e-999", O::range},
  });
}

TEST(DecimalChecks, ValueCrossAndGuardStagesObjectOnceAndZeroPasses) {
  run_cases({
      {F::Text3, "1.99", O::passes}, {F::Text3, "2", O::value}, {F::Text3, "0", O::passes},
      {F::Text3, "0.", O::passes}, {F::Text3, ".", O::passes}, {F::Text3, "-0", O::passes},
      {F::Text3, "01", O::beeps}, {F::Text3, "02", O::value}, {F::Text3, "0..", O::beeps},
      {F::Text3, "", O::beeps}, {F::Text3, "01.5", O::passes}, {F::Text3, "0..5", O::passes},
      {F::Text11, "9.99", O::passes}, {F::Text11, "10", O::value}, {F::Text11, "07", O::passes},
      {F::Text11, "08", O::passes}, {F::Text11, "05", O::beeps}, {F::Text11, "09", O::beeps},
      {F::Text11, "00", O::beeps}, {F::Text11, " 01", O::passes},
      {F::Text4, "3.99", O::passes}, {F::Text4, "4", O::cross}, {F::Text4, "04", O::cross},
      {F::Text4, "02", O::beeps}, {F::Text4, "-1", O::value}, {F::Text4, "-1e999", O::value},
      {F::Text4, "1e999", O::cross}, {F::Text5, "03", O::beeps},
      {F::Text13, "2", O::passes}, {F::Text13, "2.01", O::cross}, {F::Text13, "-0.1", O::value},
      {F::Text13, "0", O::passes}, {F::Text13, "06", O::cross},
  });
  const Loads storey_3_5{{F::Text2, "3.5"}, {F::Text3, "0.5"}};
  run_cases({{F::Text5, "2.99", O::passes, storey_3_5}, {F::Text5, "3", O::cross, storey_3_5}});
}

TEST(DecimalChecks, ResetTextBreakingTheCrossLimitIsReportedAgainAndNestingStops) {
  const Loads bay_2{{F::Text1, "2.0"}}, panel_2{{F::Text2, "2.5"}, {F::Text3, "0.5"}},
      opening_5{{F::Text4, "5.0"}};
  run_cases({
      {F::Text4, "3", O::cross, bay_2, true}, {F::Text4, "-1", O::value, bay_2, true},
      {F::Text4, "", O::beeps, bay_2, true}, {F::Text4, "01", O::beeps, bay_2, true},
      {F::Text5, "3", O::cross, panel_2, true}, {F::Text5, "-1", O::value, panel_2, true},
      {F::Text5, "", O::beeps, panel_2, true}, {F::Text13, "0.5", O::cross, opening_5, true},
      {F::Text13, "-0.1", O::value, opening_5, true}, {F::Text13, "", O::cross, opening_5, true},
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
    const std::string_view want = f == F::Text11 ? "0.5" : field_info(f).default_text;
    EXPECT_EQ(reset_of(f), want) << field_info(f).name;
    EXPECT_EQ(first_objection(f, want, started()), "") << field_info(f).name;
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
