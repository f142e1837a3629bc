#include "calc/calculations.h"

#include <cmath>
#include <utility>

#include "calc/number.h"

namespace loadcalc {
namespace {

CalcResult finite_or_failure(double value) {
  if (!std::isfinite(value)) return {CalcStatus::out_of_range, 0.0};
  return {CalcStatus::ok, value};
}

CalcStatus write_result(Sheet& sheet, ResultLabel label, const CalcResult& r) {
  if (r.status != CalcStatus::ok) return r.status;
  const auto caption = format_result(r.value, result_info(label).unit);
  if (!caption) return CalcStatus::out_of_range;
  sheet.set_caption(label, *caption);
  return CalcStatus::ok;
}

constexpr StepInfo result_step(Calculation c) {
  const CalculationInfo& info = calculation_info(c);
  return {info.quantity, info.term, info.working_unit, true};
}

// The formulas, over double for the captions and over Traced for the working. Written with the
// usual precedence, each operation rounds to double on its own (no contraction in this library)
// and in the order a hand calculation would take; a traced number writes brackets wherever a
// reader's left-to-right evaluation would otherwise differ from the machine's.
template <class N>
CalcResult load(const BeamValues<N>& in) {
  const auto& [net_wall_area] = beam_steps;
  static constexpr StepInfo result = result_step(Calculation::MainProgram_1);
  // The opening is cut out of the wall and weighed at the window's own weight; its area is
  // formed twice, as the hand calculation does.
  const N area = step((in.bay_span - in.column_width) * (in.storey_height - in.beam_depth) -
                          in.opening_width * in.opening_height,
                      net_wall_area);
  const N weight = area * in.wall_weight + in.opening_width * in.opening_height * in.window_weight;
  // The weight spreads over the axis-to-axis bay, not over the narrower panel.
  if (value_of(in.bay_span) == 0.0) return {no_quotient(weight, in.bay_span, result), 0.0};
  return finite_or_failure(value_of(step(weight / in.bay_span, result)));
}

template <class N>
CalcResult load(const StairValues<N>& in) {
  const auto& [b_info, h_info, t_info, f_info, slope, cos_slope, plaster, finish, slab] =
      stair_steps;
  static constexpr StepInfo result = result_step(Calculation::MainProgram_2);
  // Millimetres to metres by division, not by multiplying with 0.001: the two differ in the last
  // bit for some entries.
  const N b = step(in.step_width / 1000, b_info);
  const N h = step(in.step_height / 1000, h_info);
  const N t = step(in.slab_thickness / 1000, t_info);
  const N f = step(in.finish_thickness / 1000, f_info);
  const N& gamma = in.finish_density;
  if (value_of(b) == 0.0) return {no_quotient(h, b, slope), 0.0};

  // The plaster and the slab both divide by cos(atan(h / b)); it is formed once, being the same
  // expression (and correctly rounded, the same value) both times, and it is the dearest step.
  const N tan_alpha = step(h / b, slope);
  const N cos_alpha = step(cosine(arctan(tan_alpha)), cos_slope);
  const N p = step(0.34 / cos_alpha, plaster);
  const N finish_load = step((b + h) / b * f * gamma, finish);
  const N slab_load = step((h / 2 + t / cos_alpha) * 25, slab);
  return finite_or_failure(value_of(step(finish_load + slab_load + p, result)));
}

// The entries as read, in the table's order, become the formula's members in theirs.
template <template <class> class Values, Calculation c, class N>
CalcResult load_of(std::span<const N> in) {
  static constexpr std::size_t count = reads_of<c>.size();
  static_assert(sizeof(Values<double>) == count * sizeof(double),
                "a formula takes exactly the fields that feed it");
  return [&]<std::size_t... I>(std::index_sequence<I...>) {
    return load(Values<N>{in[I]...});
  }
  (std::make_index_sequence<count>{});
}

}  // namespace

CalcResult beam_line_load(const BeamInputs& in) noexcept {
  return load(in);
}
CalcResult stair_dead_load(const StairInputs& in) noexcept {
  return load(in);
}
CalcResult beam_line_load(std::span<const double> in) {
  return load_of<BeamValues, Calculation::MainProgram_1>(in);
}
CalcResult beam_line_load(std::span<const Traced> in) {
  return load_of<BeamValues, Calculation::MainProgram_1>(in);
}
CalcResult stair_dead_load(std::span<const double> in) {
  return load_of<StairValues, Calculation::MainProgram_2>(in);
}
CalcResult stair_dead_load(std::span<const Traced> in) {
  return load_of<StairValues, Calculation::MainProgram_2>(in);
}

namespace {

CalcStatus compute(Sheet& sheet, const CalculationInfo& row) {
  std::array<double, std::size(fields)> values{};
  for (std::size_t i = 0; i < row.reads.size(); ++i)
    values[i] = read_number(sheet.text(row.reads[i]));
  return write_result(sheet, row.label, row.compute(std::span(values).first(row.reads.size())));
}

}  // namespace

CalcStatus MainProgram_1(Sheet& sheet) {
  return compute(sheet, calculation_info(Calculation::MainProgram_1));
}

CalcStatus MainProgram_2(Sheet& sheet) {
  return compute(sheet, calculation_info(Calculation::MainProgram_2));
}

CalcStatus run_calculation(Sheet& sheet, Calculation c) {
  const CalcStatus s = compute(sheet, calculation_info(c));
  if (s != CalcStatus::ok) sheet.set_caption(result_label(c), failure_text(s));
  return s;
}

std::string_view failure_text(CalcStatus s) {
  switch (s) {
    case CalcStatus::ok:
      return {};
    case CalcStatus::zero_divisor:
      return "除数为零，无法计算";
    case CalcStatus::out_of_range:
      return "数值超出范围";
  }
  return {};
}

}  // namespace loadcalc
