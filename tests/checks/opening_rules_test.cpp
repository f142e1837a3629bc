// The opening's cross-field rules for any number of openings: with one opening of count 1 they
// must judge exactly as the calculator's rules of Text4, Text5 and Text13 do.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "calc/assumptions.h"
#include "calc/number.h"
#include "checks/checks.h"
#include "checks/opening_rules.h"

namespace loadcalc {
namespace {

// The calculator's cross messages of Text4, Text5 and Text13.
std::string_view message_of(Field f) {
  if (f == Field::Text4) return "窗宽≥开间轴线间距，数据错误。请重新输入！";
  if (f == Field::Text5) return "窗高≥层高-梁高，数据错误。请重新输入！";
  return "柱宽非法，数据错误。请重新输入！";
}

struct Row {
  const char* what;
  WallInputs wall;  // bay, storey, beam, column, wall weight
  std::vector<Opening> openings;
  std::optional<Field> field;  // none: every rule holds
  std::optional<std::size_t> opening;
};

TEST(OpeningRules, SeveralOpenings) {
  // clang-format off
  const Row rows[] = {
      {"window and two doors",  {6, 3.6, 0.6, 0.4, 3}, {{1.5, 2.1, 1, 0.45}, {0.9, 2.1, 2, 0.2}}, {}, {}},
      {"widths fill the bay",   {6, 3.6, 0.6, 0, 3},   {{3, 2, 1, 0.4}, {1.5, 2, 2, 0.4}}, Field::Text4, {}},
      // The counted width is what fills the bay: 4 × 1.6 = 6.4.
      {"count makes it too wide", {6, 3.6, 0.6, 0, 3}, {{1.6, 2, 4, 0.4}}, Field::Text4, {}},
      // Heights are held to 3.6 − 0.6 = 3, exclusive.
      {"second as tall as the wall", {6, 3.6, 0.6, 0, 3}, {{1, 2, 1, 0.4}, {1, 3.0, 1, 0.4}}, Field::Text5, 1u},
      {"third taller",          {6, 3.6, 0.6, 0, 3},   {{1, 2, 1, 0.4}, {1, 2.9, 1, 0.4}, {1, 3.1, 1, 0.4}}, Field::Text5, 2u},
      // 0.5 ≤ 6 − 5.5 holds with equality; 0.5 ≤ 6 − 5.6 does not.
      {"column just fits",      {6, 3.6, 0.6, 0.5, 3}, {{2.5, 2, 1, 0.4}, {1.5, 2, 2, 0.4}}, {}, {}},
      {"column does not fit",   {6, 3.6, 0.6, 0.5, 3}, {{2.6, 2, 1, 0.4}, {1.5, 2, 2, 0.4}}, Field::Text13, {}},
      // Judged in field order: the width before the height.
      {"too wide and too tall", {6, 3.6, 0.6, 0, 3},   {{4, 3.5, 1, 0.4}, {2, 2, 1, 0.4}}, Field::Text4, {}},
      {"no opening",            {6, 3.6, 0.6, 0.4, 3}, {}, {}, {}},
      {"no opening, column wider than the bay", {6, 3.6, 0.6, 6.5, 3}, {}, Field::Text13, {}},
  };
  // clang-format on
  for (const Row& r : rows) {
    const auto refusal = opening_cross_check(r.wall, r.openings);
    ASSERT_EQ(refusal.has_value(), r.field.has_value()) << r.what;
    if (!refusal) continue;
    EXPECT_EQ(refusal->field, *r.field) << r.what;
    EXPECT_EQ(refusal->opening, r.opening) << r.what;
    EXPECT_EQ(refusal->message, message_of(*r.field)) << r.what;
  }
}

// The calculator's first failing cross-field test, in field order.
std::optional<Field> calculator_refusal(const FieldTexts& texts) {
  for (Field f : {Field::Text4, Field::Text5, Field::Text13})
    if (cross_check(f, texts[index_of(f)], texts)) return f;
  return std::nullopt;
}

TEST(OpeningRules, OneOpeningIsTheCalculatorsRules) {
  std::mt19937_64 random(2022);
  // Few decimals, so that equality at a limit comes up often.
  const auto text = [&random](int tenths) {
    const int n = std::uniform_int_distribution<int>(0, tenths)(random);
    return std::to_string(n / 10) + "." + std::to_string(n % 10);
  };
  int refused = 0;
  for (int i = 0; i < 20000; ++i) {
    const std::string bay = text(60), storey = text(40), beam = text(10), width = text(60),
                      height = text(40), column = text(20);
    FieldTexts texts{};
    texts[index_of(Field::Text1)] = bay;
    texts[index_of(Field::Text2)] = storey;
    texts[index_of(Field::Text3)] = beam;
    texts[index_of(Field::Text4)] = width;
    texts[index_of(Field::Text5)] = height;
    texts[index_of(Field::Text13)] = column;
    const WallInputs wall{read_number(bay), read_number(storey), read_number(beam),
                          read_number(column), 3.0};
    const std::vector openings{field_opening(read_number(width), read_number(height), 0.5)};
    const auto general = opening_cross_check(wall, openings);
    const auto calculator = calculator_refusal(texts);
    ASSERT_EQ(general.has_value(), calculator.has_value())
        << bay << " " << storey << " " << beam << " " << width << " " << height << " " << column;
    if (!general) continue;
    ++refused;
    ASSERT_EQ(general->field, *calculator);
    ASSERT_EQ(general->message, *cross_check(*calculator, texts[index_of(*calculator)], texts));
  }
  EXPECT_GT(refused, 1000);  // the rules were exercised, not only passed
}

TEST(OpeningRules, CountIsAWholeNumberFromOne) {
  struct Case {
    const char* text;
    bool passes;
  };
  const Case cases[] = {{"1", true},  {"2", true},   {"12", true},    {"3.0", true},
                        {"2 ", true}, {"0", false},  {"1.5", false},  {"-1", false},
                        {"", false},  {"樘", false}, {"1e400", false}};
  for (const Case& c : cases) EXPECT_EQ(!count_check(c.text).has_value(), c.passes) << c.text;
  EXPECT_EQ(count_check("0"), count_message);
}

TEST(OpeningRules, WallWeightFromLayersKeepsItsFieldsRule) {
  EXPECT_EQ(wall_weight_check(1.8), std::nullopt);
  for (double bad : {0.0, -0.0, -1.0, std::nan("")})
    EXPECT_EQ(wall_weight_check(bad), "墙自重≤0，数据错误。请重新输入！") << bad;
}

}  // namespace
}  // namespace loadcalc
