#pragma once
// The input rules as constant tables. Every message is shown to the user exactly as written here.

#include <array>
#include <optional>
#include <string_view>

#include "calc/fields.h"
#include "calc/sheet.h"

namespace loadcalc {

// A field that must be above 0 and, where upper_limit is set, below it.
struct RangeRule {
  Field field;
  std::optional<double> upper_limit;  // a value equal to or above it fails
  std::string_view message;
};

// clang-format off
inline constexpr std::array range_rules = std::to_array<RangeRule>({
  {Field::Text1,  std::nullopt, "轴线间距≤0，数据错误，请重新输入！"},
  {Field::Text2,  std::nullopt, "层高≤0，数据错误。请重新输入！"},
  {Field::Text6,  std::nullopt, "墙自重≤0，数据错误。请重新输入！"},
  {Field::Text7,  350.0,        "踏步宽度≤0或≥350，数据错误。请重新输入！"},
  {Field::Text8,  200.0,        "踏步高度≤0或≥200，数据错误。请重新输入！"},
  {Field::Text9,  300.0,        "梯板厚度≤0或≥300，数据错误。请重新输入！"},
  {Field::Text10, 100.0,        "面层厚度≤0或≥100，数据错误。请重新输入！"},
  {Field::Text12, 50.0,         "面层容重≤0或≥50，数据错误。请重新输入！"},
});
// clang-format on

// The limit a decimal field is held against: value(minuend) - value(subtrahend), read from the
// other fields in that order at the moment of the check.
struct CrossLimit {
  Field minuend;
  std::optional<Field> subtrahend;
  bool equal_fails;  // inclusive limit: a value equal to it fails too
};

// A field that must not be below 0 (0 itself passes) nor reach upper_limit, and may be held
// against a limit computed from other fields.
struct DecimalRule {
  Field field;
  std::optional<double> upper_limit;
  std::string_view value_message;
  std::optional<CrossLimit> cross_limit;
  std::string_view cross_message;
  // What a failed check writes back where it is not the field's default: Text11 resets to "0.5"
  // although start-up writes "0.50".
  std::optional<std::string_view> own_reset;
};

// clang-format off
inline constexpr std::array decimal_rules = std::to_array<DecimalRule>({
  {Field::Text3,  2.0,          "梁高≤0或梁高≥2，数据错误。请重新输入！", std::nullopt,
   "", std::nullopt},
  {Field::Text4,  std::nullopt, "窗宽< 0，数据错误。请重新输入！",
   CrossLimit{Field::Text1, std::nullopt, true},
   "窗宽≥开间轴线间距，数据错误。请重新输入！", std::nullopt},
  {Field::Text5,  std::nullopt, "窗高< 0，数据错误。请重新输入！",
   CrossLimit{Field::Text2, Field::Text3, true},
   "窗高≥层高-梁高，数据错误。请重新输入！", std::nullopt},
  {Field::Text11, 10.0,         "窗重≤0或≥10，数据错误。请重新输入！", std::nullopt,
   "", "0.5"},
  {Field::Text13, std::nullopt, "柱宽≤0，数据错误。请重新输入！",
   CrossLimit{Field::Text1, Field::Text4, false},
   "柱宽非法，数据错误。请重新输入！", std::nullopt},
});
// clang-format on

// Whole texts answered with a beep and a reset, tested group by group (groups 1 to 4). "07" and
// "08" are deliberately absent.
struct GuardText {
  std::string_view text;
  int group;
};
// clang-format off
inline constexpr std::array leading_zero_list = std::to_array<GuardText>({
    {"01", 1}, {"02", 1}, {"", 1}, {"0..", 1},
    {"03", 2}, {"04", 2},
    {"05", 3}, {"06", 3},
    {"09", 4}, {"00", 4},
});
// clang-format on
inline constexpr int leading_zero_group_count = 4;

// What a failed check writes back into its field: the field's default text (the field table's),
// unless the rule has its own.
constexpr std::string_view reset_text(const RangeRule& rule) {
  return field_info(rule.field).default_text;
}
constexpr std::string_view reset_text(const DecimalRule& rule) {
  return rule.own_reset.value_or(field_info(rule.field).default_text);
}

// Lookups: null for a field the table does not hold.
const RangeRule* find_range_rule(Field f) noexcept;
const DecimalRule* find_decimal_rule(Field f) noexcept;

}  // namespace loadcalc
