#include "checks/opening_rules.h"

#include <cmath>

#include "calc/number.h"
#include "checks/rules.h"

namespace loadcalc {

namespace {

std::string_view cross_message(Field f) {
  return find_decimal_rule(f)->cross_message;
}

}  // namespace

std::optional<OpeningRefusal> opening_cross_check(const WallInputs& wall,
                                                  std::span<const Opening> openings) {
  // The comparisons are the calculator's: a value that is not a number fails.
  const double width = openings_width(openings);
  if (!(width < wall.bay_span))
    return OpeningRefusal{Field::Text4, {}, cross_message(Field::Text4)};
  const double clear_height = wall.storey_height - wall.beam_depth;
  for (std::size_t i = 0; i < openings.size(); ++i)
    if (!(openings[i].height < clear_height))
      return OpeningRefusal{Field::Text5, i, cross_message(Field::Text5)};
  if (!(wall.column_width <= wall.bay_span - width))
    return OpeningRefusal{Field::Text13, {}, cross_message(Field::Text13)};
  return std::nullopt;
}

std::optional<std::string_view> count_check(std::string_view text) {
  const double n = read_number(text);
  if (n >= 1 && std::isfinite(n) && n == std::floor(n)) return std::nullopt;
  return count_message;
}

std::optional<std::string_view> wall_weight_check(double wall_weight) {
  if (wall_weight > 0) return std::nullopt;
  return find_range_rule(Field::Text6)->message;
}

}  // namespace loadcalc
