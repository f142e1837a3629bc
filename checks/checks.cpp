#include "checks/checks.h"

#include <string>

#include "calc/calculations.h"
#include "calc/fields.h"
#include "calc/number.h"

namespace loadcalc {

namespace {

// Comparisons are written so that a value that is not a number fails.
bool above_zero(double x) {
  return x > 0;
}
bool not_below_zero(double x) {
  return x >= 0;
}
bool below(double x, std::optional<double> upper) {
  return !upper || x < *upper;
}

void reset(Sheet& sheet, Field f, std::string_view reset_text) {
  sheet.set_text(f, reset_text);
  select_all(sheet, f);
}

void report_and_reset(Sheet& sheet, Field f, std::string_view message,
                      std::string_view reset_text) {
  sheet.show_message(message, message_title);
  reset(sheet, f, reset_text);
}

}  // namespace

std::optional<std::string_view> range_check(Field f, std::string_view text) {
  const RangeRule* rule = find_range_rule(f);
  if (rule == nullptr) return std::nullopt;
  const double x = read_number(text);
  if (above_zero(x) && below(x, rule->upper_limit)) return std::nullopt;
  return rule->message;
}

std::optional<std::string_view> value_check(Field f, std::string_view text) {
  const DecimalRule* rule = find_decimal_rule(f);
  if (rule == nullptr) return std::nullopt;
  const double x = read_number(text);
  if (not_below_zero(x) && below(x, rule->upper_limit)) return std::nullopt;
  return rule->value_message;
}

std::optional<std::string_view> cross_check(Field f, std::string_view text,
                                            const FieldTexts& others) {
  const DecimalRule* rule = find_decimal_rule(f);
  if (rule == nullptr || !rule->cross_limit) return std::nullopt;
  const CrossLimit& cross = *rule->cross_limit;
  double limit = read_number(others[index_of(cross.minuend)]);
  if (cross.subtrahend) limit -= read_number(others[index_of(*cross.subtrahend)]);
  const double x = read_number(text);
  const bool passes = cross.equal_fails ? x < limit : x <= limit;
  if (passes) return std::nullopt;
  return rule->cross_message;
}

int leading_zero_group(std::string_view text) {
  for (const GuardText& guard : leading_zero_list) {
    if (guard.text == text) return guard.group;
  }
  return 0;
}

bool leading_zero_guard(std::string_view text) {
  return leading_zero_group(text) != 0;
}

void range_change_check(Sheet& sheet, const RangeRule& rule) {
  if (auto message = range_check(rule.field, sheet.text(rule.field))) {
    report_and_reset(sheet, rule.field, *message, reset_text(rule));
  }
  run_calculation(sheet, field_info(rule.field).feeds);
}

void decimal_change_check(Sheet& sheet, const DecimalRule& rule) {
  const Field f = rule.field;

  if (auto message = value_check(f, sheet.text(f))) {
    report_and_reset(sheet, f, *message, reset_text(rule));
  }

  if (rule.cross_limit) {
    FieldTexts texts{};
    const std::string minuend = sheet.text(rule.cross_limit->minuend);
    texts[index_of(rule.cross_limit->minuend)] = minuend;
    std::string subtrahend;
    if (rule.cross_limit->subtrahend) {
      subtrahend = sheet.text(*rule.cross_limit->subtrahend);
      texts[index_of(*rule.cross_limit->subtrahend)] = subtrahend;
    }
    const std::string own = sheet.text(f);
    if (auto message = cross_check(f, own, texts)) {
      report_and_reset(sheet, f, *message, reset_text(rule));
    }
  }

  // Group by group, each against the text as it stands now: a reset by an earlier group is
  // judged again by the later ones.
  for (int group = 1; group <= leading_zero_group_count; ++group) {
    if (leading_zero_group(sheet.text(f)) == group) {
      sheet.beep();
      reset(sheet, f, reset_text(rule));
    }
  }

  run_calculation(sheet, field_info(rule.field).feeds);
}

void change_check(Sheet& sheet, Field f) {
  if (const RangeRule* rule = find_range_rule(f)) {
    range_change_check(sheet, *rule);
  } else if (const DecimalRule* rule = find_decimal_rule(f)) {
    decimal_change_check(sheet, *rule);
  }
}

}  // namespace loadcalc
