#include "calc/assumptions.h"

#include <array>
#include <cmath>
#include <limits>
#include <string_view>
#include <utility>

#include "calc/fields.h"
#include "calc/number.h"

namespace loadcalc {

namespace {

// Texts numbered 1 to Count at compile time ("g_1", "墙体第1层"), so that a step's symbol and
// name, which the trace keeps as views, live as long as the program.
template <std::size_t Count>
struct Numbered {
  std::array<std::array<char, 32>, Count> text{};
  std::array<std::size_t, Count> size{};
  constexpr std::string_view operator[](std::size_t i) const { return {text[i].data(), size[i]}; }
};
template <std::size_t Count>
constexpr Numbered<Count> numbered(std::string_view stem, std::string_view tail) {
  Numbered<Count> out;
  for (std::size_t i = 0; i < Count; ++i) {
    std::size_t n = 0;
    for (char c : stem) out.text[i][n++] = c;
    const std::size_t k = i + 1;
    if (k >= 10) out.text[i][n++] = static_cast<char>('0' + k / 10);
    out.text[i][n++] = static_cast<char>('0' + k % 10);
    for (char c : tail) out.text[i][n++] = c;
    out.size[i] = n;
  }
  return out;
}
static_assert(max_wall_layers < 100 && max_extra_loads < 100);

constexpr auto layer_symbols = numbered<max_wall_layers>("g_", "");
constexpr auto layer_names = numbered<max_wall_layers>("墙体第", "层");
constexpr auto extra_symbols = numbered<max_extra_loads>("g_e", "");
constexpr auto extra_names = numbered<max_extra_loads>("附加荷载", "");

// A layer or an extra beyond the limits (only a program can state one) shares a last, unnumbered
// name rather than reading past the tables.
StepInfo layer_step(std::size_t i) {
  if (i >= max_wall_layers) return {"g_i", "墙体构造层", "kN/m²", false};
  return {layer_symbols[i], layer_names[i], "kN/m²", false};
}
StepInfo extra_step(std::size_t i) {
  if (i >= max_extra_loads) return {"g_e", "附加荷载", "kN/m²", false};
  return {extra_symbols[i], extra_names[i], "kN/m²", false};
}

constexpr StepInfo wall_weight_step{"g_w", "墙自重（按墙体构造）", "kN/m²", false};
constexpr StepInfo opening_area_step{"A_o", "门窗洞口总面积", "m²", false};
constexpr StepInfo openings_weight_step{"G_o", "门窗总重", "kN", false};
constexpr StepInfo stair_own_step{"g_0", "楼梯自重（不含附加荷载）", "kN/m²", true};
// The calculator's names carry its fixed figures; here the figures are the entry's.
constexpr StepInfo soffit_step{"g_p", "板底粉刷按水平投影", "kN/m²", true};
constexpr StepInfo slab_step{"g_s", "踏步及梯段板自重", "kN/m²", true};

constexpr StepInfo result_step(Calculation c) {
  const CalculationInfo& info = calculation_info(c);
  return {info.quantity, info.term, info.working_unit, true};
}

CalcResult finite_or_failure(double value) {
  if (!std::isfinite(value)) return {CalcStatus::out_of_range, 0.0};
  return {CalcStatus::ok, value};
}

// ---- The formulas, over double for the figures and over Traced for the working ----

// An area layer is its weight as stated; a thickness layer a step of its own.
template <class N>
N layer_term(const LayerValues<N>& layer, std::size_t i) {
  if (layer.basis == LayerBasis::area) return layer.weight;
  return step(layer.thickness / 1000 * layer.weight, layer_step(i));
}

// g_w of one layer at least, each layer got by layer(i) as the sum reaches it (so that a traced
// layer's figures are written down in the listed order).
template <class N, class Layer>
N layer_sum(std::size_t count, const Layer& layer) {
  N sum = from_zero(layer_term(layer(0), 0));
  for (std::size_t i = 1; i < count; ++i) sum = sum + layer_term(layer(i), i);
  return sum;
}

template <class N>
struct OpeningSums {
  N area;
  N weight;
};

// Of one opening at least. Each opening's area is formed once and weighed at its own weight, so
// that one opening of count 1 takes the calculator's steps 4, 7 and 8: (1 × w) × h is w × h.
template <class N>
OpeningSums<N> opening_sums(std::span<const OpeningValues<N>> openings) {
  const auto area_of = [](const OpeningValues<N>& o) { return o.count * o.width * o.height; };
  const N first = area_of(openings[0]);
  OpeningSums<N> sums{first, first * openings[0].weight};
  for (std::size_t i = 1; i < openings.size(); ++i) {
    const N area = area_of(openings[i]);
    sums.area = sums.area + area;
    sums.weight = sums.weight + area * openings[i].weight;
  }
  sums.area = step(sums.area, opening_area_step);
  sums.weight = step(sums.weight, openings_weight_step);
  return sums;
}

template <class N>
CalcResult wall_load(const WallValues<N>& in, const std::optional<OpeningSums<N>>& openings) {
  static constexpr StepInfo result = result_step(Calculation::MainProgram_1);
  const StepInfo& net_wall_area = beam_steps[0];
  const N gross = (in.bay_span - in.column_width) * (in.storey_height - in.beam_depth);
  const N area = step(openings ? gross - openings->area : gross, net_wall_area);
  const N wall = area * in.wall_weight;
  const N weight = openings ? wall + openings->weight : wall;
  // The weight spreads over the axis-to-axis bay, as in the calculator.
  if (value_of(in.bay_span) == 0.0) return {no_quotient(weight, in.bay_span, result), 0.0};
  return finite_or_failure(value_of(step(weight / in.bay_span, result)));
}

// The extras are got by extra(i) as the sum reaches them, like the layers.
template <class N, class Extra>
CalcResult stair_load(const StairValues<N>& in, const StairMaterialValues<N>& m,
                      std::size_t extra_count, const Extra& extra) {
  const auto& [b_info, h_info, t_info, f_info, slope, cos_slope, plaster, finish, slab] =
      stair_steps;
  static constexpr StepInfo result = result_step(Calculation::MainProgram_2);
  // The calculator's formula, operation for operation, with its 0.34 and 25 taken from the entry.
  const N b = step(in.step_width / 1000, b_info);
  const N h = step(in.step_height / 1000, h_info);
  const N t = step(in.slab_thickness / 1000, t_info);
  const N f = step(in.finish_thickness / 1000, f_info);
  const N& gamma = in.finish_density;
  if (value_of(b) == 0.0) return {no_quotient(h, b, slope), 0.0};

  const N tan_alpha = step(h / b, slope);
  const N cos_alpha = step(cosine(arctan(tan_alpha)), cos_slope);
  const N p = step(m.soffit_weight / cos_alpha, soffit_step);
  const N finish_load = step((b + h) / b * f * gamma, finish);
  const N slab_load = step((h / 2 + t / cos_alpha) * m.concrete_unit_weight, slab_step);
  const N own = finish_load + slab_load + p;
  if (extra_count == 0) return finite_or_failure(value_of(step(own, result)));

  // The extras come after the calculator's last step, one by one.
  N g = step(own, stair_own_step);
  for (std::size_t i = 0; i < extra_count; ++i) {
    const ExtraLoadValues<N> e = extra(i);
    if (e.basis == ExtraBasis::area) {
      g = g + e.weight;
      continue;
    }
    const StepInfo info = extra_step(i);
    if (value_of(e.flight_width) == 0.0) return {no_quotient(e.weight, e.flight_width, info), 0.0};
    g = g + step(e.weight / e.flight_width, info);
  }
  return finite_or_failure(value_of(step(g, result)));
}

double field_value(const Sheet& sheet, Field f) {
  return read_number(sheet.text(f));
}

std::string figure(double x) {
  return shortest_figure(x);
}

}  // namespace

// ---- The texts ----

bool states_any(const Assumptions& a, Calculation c) {
  if (c == Calculation::MainProgram_1) return a.wall_layers.has_value() || a.openings.has_value();
  return a.concrete_unit_weight.has_value() || a.soffit_finish.has_value() ||
         !a.extra_loads.empty();
}

bool replaces(const Assumptions& a, Field f) {
  switch (f) {
    case Field::Text6:
      return a.wall_layers.has_value();
    case Field::Text4:
    case Field::Text5:
    case Field::Text11:
      return a.openings.has_value();
    default:
      return false;
  }
}

WallLayer layer_value(const WallLayerText& t) {
  return {t.basis, t.basis == LayerBasis::thickness ? read_number(t.thickness) : 0.0,
          read_number(t.weight)};
}
Opening opening_value(const OpeningText& t) {
  return {read_number(t.width), read_number(t.height), read_number(t.count), read_number(t.weight)};
}
ExtraLoad extra_load_value(const ExtraLoadText& t) {
  return {t.basis, read_number(t.weight),
          t.basis == ExtraBasis::line ? read_number(t.flight_width) : 0.0};
}

std::vector<WallLayer> layer_values(std::span<const WallLayerText> t) {
  std::vector<WallLayer> out;
  out.reserve(t.size());
  for (const WallLayerText& x : t) out.push_back(layer_value(x));
  return out;
}
std::vector<Opening> opening_values(std::span<const OpeningText> t) {
  std::vector<Opening> out;
  out.reserve(t.size());
  for (const OpeningText& x : t) out.push_back(opening_value(x));
  return out;
}
std::vector<ExtraLoad> extra_load_values(std::span<const ExtraLoadText> t) {
  std::vector<ExtraLoad> out;
  out.reserve(t.size());
  for (const ExtraLoadText& x : t) out.push_back(extra_load_value(x));
  return out;
}

StairMaterials stair_materials(const Assumptions& a) {
  StairMaterials m = default_stair_materials;
  if (a.concrete_unit_weight) m.concrete_unit_weight = read_number(*a.concrete_unit_weight);
  if (a.soffit_finish) m.soffit_weight = read_number(a.soffit_finish->area_weight);
  return m;
}

Opening field_opening(double opening_width, double opening_height, double window_weight) {
  return {opening_width, opening_height, 1.0, window_weight};
}

// ---- The formulas over double ----

double layer_weight(const WallLayer& layer) noexcept {
  return layer_term(layer, 0);
}

double wall_weight(std::span<const WallLayer> layers) noexcept {
  if (layers.empty()) return 0.0;
  return layer_sum<double>(layers.size(), [layers](std::size_t i) { return layers[i]; });
}

double opening_area(std::span<const Opening> openings) noexcept {
  return openings.empty() ? 0.0 : opening_sums(openings).area;
}

double openings_weight(std::span<const Opening> openings) noexcept {
  return openings.empty() ? 0.0 : opening_sums(openings).weight;
}

double openings_width(std::span<const Opening> openings) noexcept {
  if (openings.empty()) return 0.0;
  double width = openings[0].count * openings[0].width;
  for (std::size_t i = 1; i < openings.size(); ++i)
    width = width + openings[i].count * openings[i].width;
  return width;
}

CalcResult beam_line_load(const WallInputs& wall, std::span<const Opening> openings) noexcept {
  std::optional<OpeningSums<double>> sums;
  if (!openings.empty()) sums = opening_sums(openings);
  return wall_load(wall, sums);
}

CalcResult stair_dead_load(const StairInputs& stair, const StairMaterials& materials,
                           std::span<const ExtraLoad> extras) noexcept {
  return stair_load(stair, materials, extras.size(), [extras](std::size_t i) { return extras[i]; });
}

// ---- An entry ----

CalcResult calculate(const Sheet& sheet, Calculation c, const Assumptions& a) {
  const auto field = [&sheet](Field f) { return field_value(sheet, f); };
  if (!states_any(a, c)) {
    const CalculationInfo& row = calculation_info(c);
    std::vector<double> values;
    for (Field f : row.reads) values.push_back(field(f));
    return row.compute(values);
  }
  if (c == Calculation::MainProgram_1) {
    const WallInputs wall{
        field(Field::Text1), field(Field::Text2), field(Field::Text3), field(Field::Text13),
        a.wall_layers ? wall_weight(layer_values(*a.wall_layers)) : field(Field::Text6)};
    const std::vector<Opening> openings =
        a.openings ? opening_values(*a.openings)
                   : std::vector{field_opening(field(Field::Text4), field(Field::Text5),
                                               field(Field::Text11))};
    return beam_line_load(wall, openings);
  }
  const StairInputs stair{field(Field::Text7), field(Field::Text8), field(Field::Text9),
                          field(Field::Text10), field(Field::Text12)};
  return stair_dead_load(stair, stair_materials(a), extra_load_values(a.extra_loads));
}

CalcStatus run_calculation(Sheet& sheet, Calculation c, const Assumptions& a) {
  if (!states_any(a, c)) return run_calculation(sheet, c);
  const CalculationInfo& row = calculation_info(c);
  CalcResult r = calculate(sheet, c, a);
  std::optional<std::string> caption;
  if (r.status == CalcStatus::ok) caption = format_result(r.value, row.unit);
  if (r.status == CalcStatus::ok && !caption) r.status = CalcStatus::out_of_range;
  sheet.set_caption(row.label, caption ? std::string_view(*caption) : failure_text(r.status));
  return r.status;
}

// ---- Sources ----

FigureSource source_of(std::string_view material, WeightBasis basis, double value) {
  const Material* row = find_material(material);
  if (row == nullptr || basis_of(*row) != basis) return {};
  return {row, outside_range(*row, value)};
}

std::string source_text(const FigureSource& s) {
  if (s.row == nullptr) return std::string(designer_value);
  const std::string listed = citation_text(*s.row);
  if (s.outside_range)
    return std::string(designer_value) + "，" + std::string(outside_range_note) + "（" + listed +
           " 所列 " + range_text(*s.row) + "）";
  if (s.row->low == s.row->high) return listed;
  return listed + "（所列 " + range_text(*s.row) + "）";
}

namespace {

StatedFigure stated(std::string figure_text, const FigureSource& s) {
  return {std::move(figure_text), source_text(s), s.outside_range};
}

// "墙体第1层 普通砖，", or without a name "墙体第1层，".
std::string named(std::string_view label, std::string_view name) {
  std::string out(label);
  if (!name.empty()) out.append(" ").append(name);
  return out + "，";
}

StatedFigure layer_figure(std::size_t i, const WallLayerText& text, const WallLayer& v) {
  std::string out = named(layer_step(i).name, text.material);
  if (v.basis == LayerBasis::thickness) {
    out += figure(v.thickness) + " mm，" + figure(v.weight) + " kN/m³";
    return stated(std::move(out), source_of(text.material, WeightBasis::volume, v.weight));
  }
  out += figure(v.weight) + " kN/m²";
  return stated(std::move(out), source_of(text.material, WeightBasis::area, v.weight));
}

StatedFigure opening_figure(std::size_t i, const OpeningText& text, const Opening& v) {
  std::string out = named("洞口" + std::to_string(i + 1), text.type) + figure(v.weight) + " kN/m²";
  return stated(std::move(out), source_of(text.type, WeightBasis::area, v.weight));
}

std::vector<StatedFigure> stated_stair_figures(const Assumptions& a) {
  const StairMaterials m = stair_materials(a);
  const std::string_view soffit =
      a.soffit_finish ? std::string_view(a.soffit_finish->material) : stair_soffit_finish.name;
  std::vector<StatedFigure> out{
      stated(std::string(stair_concrete.name) + "容重 " + figure(m.concrete_unit_weight) + " kN/m³",
             source_of(stair_concrete.name, WeightBasis::volume, m.concrete_unit_weight)),
      stated(named("板底粉刷", soffit) + figure(m.soffit_weight) + " kN/m²",
             source_of(soffit, WeightBasis::area, m.soffit_weight)),
  };
  for (std::size_t i = 0; i < a.extra_loads.size(); ++i) {
    const ExtraLoadText& text = a.extra_loads[i];
    const ExtraLoad v = extra_load_value(text);
    std::string f = named(extra_step(i).name, text.name) + figure(v.weight);
    f += v.basis == ExtraBasis::area ? " kN/m²" : " kN/m / " + figure(v.flight_width) + " m";
    out.push_back(stated(std::move(f), {}));
  }
  return out;
}

// Each figure NaN when traced with no values.
double or_nan(double x, bool with_values) {
  return with_values ? x : std::numeric_limits<double>::quiet_NaN();
}

Traced plain(Trace& t, double x, bool with_values) {
  return Traced::entry(t, or_nan(x, with_values), "");
}

CalcResult trace_beam(Trace& t, const Sheet& sheet, const Assumptions& a, bool with_values) {
  const auto input = [&](Field f) {
    return traced_entry(t, f, or_nan(field_value(sheet, f), with_values));
  };
  const Traced bay = input(Field::Text1);
  const Traced storey = input(Field::Text2);
  const Traced beam = input(Field::Text3);

  // The calculator's one opening is read where the calculator reads it, around the wall's weight.
  std::vector<Traced> reads{bay, storey, beam};
  if (!a.openings)
    for (Field f : {Field::Text4, Field::Text5}) reads.push_back(input(f));

  std::optional<Traced> g_w;
  if (!a.wall_layers) {
    g_w = input(Field::Text6);
  } else if (a.wall_layers->empty()) {
    g_w = Traced::input(t, {.symbol = wall_weight_step.symbol,
                            .name = wall_weight_step.name,
                            .unit = wall_weight_step.unit,
                            .value = 0.0});
  } else {
    const auto layer = [&](std::size_t i) -> LayerValues<Traced> {
      const WallLayer v = layer_value((*a.wall_layers)[i]);
      if (v.basis == LayerBasis::thickness)
        return {v.basis, Traced::entry(t, or_nan(v.thickness, with_values), "mm"),
                Traced::entry(t, or_nan(v.weight, with_values), "kN/m³")};
      const StepInfo info = layer_step(i);
      return {v.basis, Traced(0.0),
              Traced::input(t, {.symbol = info.symbol,
                                .name = info.name,
                                .unit = info.unit,
                                .value = or_nan(v.weight, with_values)})};
    };
    g_w = step(layer_sum<Traced>(a.wall_layers->size(), layer), wall_weight_step);
  }

  if (!a.openings) {
    reads.push_back(*g_w);
    for (Field f : {Field::Text11, Field::Text13}) reads.push_back(input(f));
    return calculation_info(Calculation::MainProgram_1).trace(reads);
  }

  const WallValues<Traced> wall{bay, storey, beam, input(Field::Text13), *g_w};
  std::optional<OpeningSums<Traced>> sums;
  if (!a.openings->empty()) {
    std::vector<OpeningValues<Traced>> openings;
    for (const OpeningText& o : *a.openings) {
      const Opening v = opening_value(o);
      openings.push_back({plain(t, v.width, with_values), plain(t, v.height, with_values),
                          plain(t, v.count, with_values), plain(t, v.weight, with_values)});
    }
    sums = opening_sums<Traced>(openings);
  }
  return wall_load(wall, sums);
}

CalcResult trace_stair(Trace& t, const Sheet& sheet, const Assumptions& a, bool with_values) {
  const auto input = [&](Field f) {
    return traced_entry(t, f, or_nan(field_value(sheet, f), with_values));
  };
  const StairValues<Traced> stair{input(Field::Text7), input(Field::Text8), input(Field::Text9),
                                  input(Field::Text10), input(Field::Text12)};
  const StairMaterials m = stair_materials(a);
  // Figures of the formula, as the calculator's 25 and 0.34 are: written even with no values.
  const StairMaterialValues<Traced> materials{Traced::entry(t, m.concrete_unit_weight, ""),
                                              Traced::entry(t, m.soffit_weight, "")};
  const auto extra = [&](std::size_t i) -> ExtraLoadValues<Traced> {
    const ExtraLoad v = extra_load_value(a.extra_loads[i]);
    if (v.basis == ExtraBasis::line)
      return {v.basis, Traced::entry(t, or_nan(v.weight, with_values), "kN/m"),
              Traced::entry(t, or_nan(v.flight_width, with_values), "m")};
    const StepInfo info = extra_step(i);
    return {v.basis,
            Traced::input(t, {.symbol = info.symbol,
                              .name = info.name,
                              .unit = info.unit,
                              .value = or_nan(v.weight, with_values)}),
            Traced(0.0)};
  };
  return stair_load<Traced>(stair, materials, a.extra_loads.size(), extra);
}

}  // namespace

Working working(const Sheet& sheet, Calculation c, const Assumptions& a) {
  if (!states_any(a, c)) return working(sheet, c);
  const bool beam = c == Calculation::MainProgram_1;
  Working w = completed_working(c, [&](Trace& t, bool with_values) {
    return beam ? trace_beam(t, sheet, a, with_values) : trace_stair(t, sheet, a, with_values);
  });
  if (!beam) {
    w.figures = stated_stair_figures(a);
    return w;
  }
  w.figures.clear();
  if (a.wall_layers)
    for (std::size_t i = 0; i < a.wall_layers->size(); ++i)
      w.figures.push_back(layer_figure(i, (*a.wall_layers)[i], layer_value((*a.wall_layers)[i])));
  if (a.openings)
    for (std::size_t i = 0; i < a.openings->size(); ++i)
      w.figures.push_back(opening_figure(i, (*a.openings)[i], opening_value((*a.openings)[i])));
  return w;
}

// ---- The sheet's tables ----

BuildUp build_up(std::span<const WallLayerText> layers) {
  BuildUp out;
  std::vector<WallLayer> values = layer_values(layers);
  for (std::size_t i = 0; i < layers.size(); ++i) {
    const WallLayer& v = values[i];
    const WeightBasis basis =
        v.basis == LayerBasis::thickness ? WeightBasis::volume : WeightBasis::area;
    out.layers.push_back(
        {layers[i].material, v, layer_weight(v), source_of(layers[i].material, basis, v.weight)});
  }
  out.wall_weight = wall_weight(values);
  return out;
}

OpeningsTable openings_table(std::span<const OpeningText> openings) {
  OpeningsTable out;
  const std::vector<Opening> values = opening_values(openings);
  for (std::size_t i = 0; i < openings.size(); ++i) {
    const Opening& v = values[i];
    const double area = v.count * v.width * v.height;
    out.rows.push_back({openings[i].type, v, area, area * v.weight,
                        source_of(openings[i].type, WeightBasis::area, v.weight)});
  }
  out.area = opening_area(values);
  out.weight = openings_weight(values);
  return out;
}

}  // namespace loadcalc
