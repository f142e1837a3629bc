#include "checks/rules.h"

namespace loadcalc {

namespace {

// Field -> position in a rule table, or -1; built at compile time so that the lookup on every
// keystroke is an index, not a search.
template <auto& table>
constexpr std::array<int, field_count> index_by_field() {
  std::array<int, field_count> index{};
  index.fill(-1);
  for (std::size_t i = 0; i < table.size(); ++i) {
    index[index_of(table[i].field)] = static_cast<int>(i);
  }
  return index;
}

constexpr auto range_index = index_by_field<range_rules>();
constexpr auto decimal_index = index_by_field<decimal_rules>();

constexpr bool each_field_has_one_rule() {
  for (std::size_t i = 0; i < field_count; ++i) {
    if ((range_index[i] >= 0) == (decimal_index[i] >= 0)) return false;
  }
  return true;
}
static_assert(each_field_has_one_rule(), "every field needs exactly one change check");

constexpr bool reset_texts_outside_guard() {
  for (const auto& rule : decimal_rules) {
    for (const auto& guard : leading_zero_list) {
      if (rule.reset_text == guard.text) return false;
    }
  }
  return true;
}
// A reset text in the guard list would make the guard reset the field again and again.
static_assert(reset_texts_outside_guard());

template <auto& table>
auto find_rule(const std::array<int, field_count>& index, Field f) noexcept -> decltype(&table[0]) {
  const std::size_t i = index_of(f);
  if (i >= field_count || index[i] < 0) return nullptr;
  return &table[static_cast<std::size_t>(index[i])];
}

}  // namespace

const RangeRule* find_range_rule(Field f) noexcept {
  return find_rule<range_rules>(range_index, f);
}

const DecimalRule* find_decimal_rule(Field f) noexcept {
  return find_rule<decimal_rules>(decimal_index, f);
}

}  // namespace loadcalc
