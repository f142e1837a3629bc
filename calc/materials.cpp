#include "calc/materials.h"

#include "calc/number.h"

namespace loadcalc {

namespace {

constexpr bool names_unique() {
  for (std::size_t i = 0; i < materials.size(); ++i)
    for (std::size_t j = i + 1; j < materials.size(); ++j)
      if (materials[i].name == materials[j].name) return false;
  return true;
}
static_assert(names_unique(), "a book names a material by its name alone");

constexpr bool ranges_sound() {
  for (const Material& m : materials)
    if (!(m.low > 0 && m.low <= m.high) || !m.citation.starts_with("附录A 表A 第")) return false;
  return true;
}
static_assert(ranges_sound());

// The stair's fixed figures are these rows' defaults, so that an entry stating nothing computes
// exactly as the calculator does.
static_assert(default_weight(stair_concrete) == 25.0 &&
              basis_of(stair_concrete) == WeightBasis::volume);
static_assert(default_weight(stair_soffit_finish) == 0.34 &&
              basis_of(stair_soffit_finish) == WeightBasis::area);

}  // namespace

std::string citation_text(const Material& m) {
  std::string out(load_code);
  out.append(" ").append(m.citation);
  return out;
}

std::string range_text(const Material& m) {
  std::string out = shortest_figure(m.low);
  if (m.high != m.low) out.append("～").append(shortest_figure(m.high));
  out.append(" ").append(unit_of(basis_of(m)));
  return out;
}

}  // namespace loadcalc
