#pragma once
// How a field's text becomes a number and a computed load becomes a caption. Neither depends on
// the process locale: the decimal separator is always ".".

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "calc/sheet.h"

namespace loadcalc {

// Reads the longest numeric beginning of a UTF-8 text; a text without one reads as 0.
// Blanks, tabs and line feeds are dropped wherever they stand ("1 2" is 12); "&H"/"&O" start a
// hexadecimal/octal whole number; full-width forms of ASCII characters (what a Chinese input
// method types, "３．５") count as their ASCII counterparts and the ideographic space as a blank.
// A decimal number beyond the range of a double saturates to +-infinity, one too small for it
// to +-0, as correctly rounded reading does; the result is never NaN.
double read_number(std::string_view text) noexcept;
// Whether the text has such a numeric beginning: false where read_number gives 0 for want of one
// ("", "abc", ".", "-").
bool holds_number(std::string_view text) noexcept;

// A computed figure as it is written into a field or shown beside one: three decimals, trailing
// zeros and a trailing point dropped ("1.8", "16.35", "2.123", "2"); never "-0".
std::string field_figure(double value);

// floor(1000 * value + 0.5) / 1000, written with at most 15 significant digits, no trailing
// zeros, "E+NN" notation from 1e15 on, and the unit directly behind. None when the value (or its
// rounding) is not finite: there is no honest caption for it.
std::optional<std::string> format_result(double value, std::string_view unit);

// Shortest text that reads back as the same double ("0.1", "8.200000000000001", "1e+300"):
// how the working writes a number as it was entered. Infinities as "∞" and "-∞".
std::string shortest_figure(double value);

// How the working writes a computed figure for reading. Rounding is for the eye only: every step
// computes on the full double, and the caption keeps its own rule (format_result).
//   - 4 significant figures, correctly rounded from the double; trailing zeros are kept, for they
//     state the precision ("6.700", "0.3916");
//   - plain notation from 0.001 to 9999 ("0.001235", "12.61", "1235"), where no zero has to be
//     padded in front of the decimal point; beyond that "1.235e+04", "-1.235e-05" (the exponent
//     with at least two digits), as a caption's 12350 would not say which zeros are figures;
//   - 0 stays "0" (and -0 "-0"), infinities "∞" and "-∞": no figures to count.
inline constexpr int reading_digits = 4;
std::string reading_figure(double value);

// Number of characters (code points) in UTF-8 text.
std::size_t char_count(std::string_view utf8) noexcept;

// The selection that covers the whole text: start 0, length in characters.
Selection select_all(std::string_view text) noexcept;
// Selects the whole current text of a field.
void select_all(Sheet& sheet, Field f);

}  // namespace loadcalc
