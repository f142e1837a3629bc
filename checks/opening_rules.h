#pragma once
// The cross-field rules of the opening for a wall with any number of openings, and the rules of
// the figures that the assumptions put in place of fields. With one opening of count 1 they are
// the calculator's own rules of Text4, Text5 and Text13, operation for operation, and an entry
// that breaks one is refused with that field's message.

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

#include "calc/assumptions.h"
#include "calc/sheet.h"

namespace loadcalc {

struct OpeningRefusal {
  Field field;                         // whose rule it is: Text4, Text5 or Text13
  std::optional<std::size_t> opening;  // for Text5's rule, the (first) opening too tall
  std::string_view message;            // that field's cross_message
};

// In field order, as an entry's fields are judged: the openings' total width Σ count × width
// below bay_span (Text4's rule); each opening's height below storey_height − beam_depth (Text5's,
// in the listed order); column_width at most bay_span − Σ count × width (Text13's). None when
// all hold. With no opening the width is 0, and the column must still fit in the bay. The wall's
// weight is not looked at.
std::optional<OpeningRefusal> opening_cross_check(const WallInputs& wall,
                                                  std::span<const Opening> openings);

// An opening's count must be a whole number of at least 1.
inline constexpr std::string_view count_message = "樘数<1或非整数，数据错误。请重新输入！";
std::optional<std::string_view> count_check(std::string_view text);

// A wall weight from layers is held to Text6's rule (above 0), with its message.
std::optional<std::string_view> wall_weight_check(double wall_weight);

}  // namespace loadcalc
