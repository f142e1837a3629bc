#include "checks/rules.h"

namespace loadcalc {

namespace {

constexpr bool each_field_has_one_rule() {
  for (std::size_t i = 0; i < field_count; ++i) {
    int rules = 0;
    for (const RangeRule& r : range_rules) rules += r.field == field_at(i);
    for (const DecimalRule& r : decimal_rules) rules += r.field == field_at(i);
    if (rules != 1) return false;
  }
  return true;
}
static_assert(each_field_has_one_rule(), "every field needs exactly one change check");

constexpr bool reset_texts_outside_guard() {
  for (const auto& rule : decimal_rules) {
    for (const auto& guard : leading_zero_list) {
      if (reset_text(rule) == guard.text) return false;
    }
  }
  return true;
}
// A reset text in the guard list would make the guard reset the field again and again.
static_assert(reset_texts_outside_guard());

}  // namespace

const RangeRule* find_range_rule(Field f) noexcept {
  for (const RangeRule& r : range_rules)
    if (r.field == f) return &r;
  return nullptr;
}

const DecimalRule* find_decimal_rule(Field f) noexcept {
  for (const DecimalRule& r : decimal_rules)
    if (r.field == f) return &r;
  return nullptr;
}

}  // namespace loadcalc
