#pragma once
// The input checks: pure tests of a text, and the change checks that run them over a sheet.

#include <array>
#include <optional>
#include <string_view>

#include "calc/fields.h"
#include "calc/sheet.h"
#include "checks/rules.h"

namespace loadcalc {

// The rule's message when the text fails its range field's rule; none when it passes or the
// field has no range rule.
std::optional<std::string_view> range_check(Field f, std::string_view text);

// A decimal field's value test: its value message when the value is below 0 or reaches the upper
// limit; none otherwise.
std::optional<std::string_view> value_check(Field f, std::string_view text);

// Texts of all thirteen fields, by field index.
using FieldTexts = std::array<std::string_view, field_count>;

// A decimal field's cross-field test against the other fields' texts (its own entry in
// `others` is ignored); none when it passes or the field has no cross limit.
std::optional<std::string_view> cross_check(Field f, std::string_view text,
                                            const FieldTexts& others);

// True when the whole text is one of the ten texts of the leading-zero list.
bool leading_zero_guard(std::string_view text);
// Its group, 1 to 4, or 0 when the text is not in the list.
int leading_zero_group(std::string_view text);

// The change checks: read, test, report and reset on failure, recompute always.
void range_change_check(Sheet& sheet, const RangeRule& rule);
void decimal_change_check(Sheet& sheet, const DecimalRule& rule);

// Every field's change reaction: the range or decimal check its rule calls for.
void change_check(Sheet& sheet, Field f);

}  // namespace loadcalc
