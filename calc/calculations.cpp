#include "calc/calculations.h"

#include <cmath>

#include "calc/crmath.h"
#include "calc/fields.h"
#include "calc/number.h"
#include "calc/traced.h"

namespace loadcalc {
namespace {

CalcResult finite_or_failure(double value) {
  if (!std::isfinite(value)) return {CalcStatus::out_of_range, 0.0};
  return {CalcStatus::ok, value};
}

double read(const Sheet& sheet, Field f) {
  return read_number(sheet.text(f));
}

CalcStatus write_result(Sheet& sheet, ResultLabel label, const CalcResult& r) {
  if (r.status != CalcStatus::ok) return r.status;
  const auto caption = format_result(r.value, result_info(label).unit);
  if (!caption) return CalcStatus::out_of_range;
  sheet.set_caption(label, *caption);
  return CalcStatus::ok;
}

// The plain side of the formulas: a step is just its value, a division by zero just a status.
double step(double x, const StepInfo&) {
  return x;
}
CalcResult no_quotient(double, double, const StepInfo&) {
  return {CalcStatus::zero_divisor, 0.0};
}
double value_of(double x) {
  return x;
}
double value_of(const Traced& x) {
  return x.value();
}

constexpr StepInfo converted(Field f) {
  const FieldInfo& info = field_info(f);
  return {info.quantity, info.term, "m", false, f};
}
constexpr StepInfo result_step(ResultLabel l, std::string_view unit) {
  const ResultInfo& info = result_info(l);
  return {info.quantity, info.term, unit, true};
}

// The formulas, over double for the captions and over Traced for the working. Written with the
// usual precedence, each operation rounds to double on its own (no contraction in this library)
// and in the order a hand calculation would take; a traced number writes brackets wherever a
// reader's left-to-right evaluation would otherwise differ from the machine's.
template <class N>
CalcResult beam_formula(const BeamValues<N>& in) {
  static constexpr StepInfo net_wall_area{"A_w", "墙体净面积", "m²", true};
  static constexpr StepInfo load = result_step(ResultLabel::Label10, "kN/m");
  // The opening is cut out of the wall and weighed at the window's own weight; its area is
  // formed twice, as the hand calculation does.
  const N area = step((in.bay_span - in.column_width) * (in.storey_height - in.beam_depth) -
                          in.opening_width * in.opening_height,
                      net_wall_area);
  const N weight = area * in.wall_weight + in.opening_width * in.opening_height * in.window_weight;
  // The weight spreads over the axis-to-axis bay, not over the narrower panel.
  if (value_of(in.bay_span) == 0.0) return no_quotient(weight, in.bay_span, load);
  return finite_or_failure(value_of(step(weight / in.bay_span, load)));
}

template <class N>
CalcResult stair_formula(const StairValues<N>& in) {
  static constexpr StepInfo b_info = converted(Field::Text7);
  static constexpr StepInfo h_info = converted(Field::Text8);
  static constexpr StepInfo t_info = converted(Field::Text9);
  static constexpr StepInfo f_info = converted(Field::Text10);
  static constexpr StepInfo slope{"tan α", "梯段坡度", "", false};
  static constexpr StepInfo cos_slope{"cos α", "梯段倾角的余弦", "", false};
  static constexpr StepInfo plaster{"g_p", "板底抹灰（0.34 kN/m²）按水平投影", "kN/m²", true};
  static constexpr StepInfo finish{"g_f", "踏步面层", "kN/m²", true};
  static constexpr StepInfo slab{"g_s", "踏步及梯段板自重（25 kN/m³）", "kN/m²", true};
  static constexpr StepInfo load = result_step(ResultLabel::Label11, "kN/m²");
  // Millimetres to metres by division, not by multiplying with 0.001: the two differ in the last
  // bit for some entries.
  const N b = step(in.step_width / 1000, b_info);
  const N h = step(in.step_height / 1000, h_info);
  const N t = step(in.slab_thickness / 1000, t_info);
  const N f = step(in.finish_thickness / 1000, f_info);
  const N& gamma = in.finish_density;
  if (value_of(b) == 0.0) return no_quotient(h, b, slope);

  // The plaster and the slab both divide by cos(atan(h / b)); it is formed once, being the same
  // expression (and correctly rounded, the same value) both times, and it is the dearest step.
  const N tan_alpha = step(h / b, slope);
  const N cos_alpha = step(cosine(arctan(tan_alpha)), cos_slope);
  const N p = step(0.34 / cos_alpha, plaster);
  const N finish_load = step((b + h) / b * f * gamma, finish);
  const N slab_load = step((h / 2 + t / cos_alpha) * 25, slab);
  return finite_or_failure(value_of(step(finish_load + slab_load + p, load)));
}

}  // namespace

// Correctly rounded, so that the same entries give the same figure on every platform.
double arctan(double x) noexcept {
  return cr_atan(x);
}
double cosine(double x) noexcept {
  return cr_cos(x);
}

CalcResult beam_line_load(const BeamInputs& in) noexcept {
  return beam_formula(in);
}
CalcResult stair_dead_load(const StairInputs& in) noexcept {
  return stair_formula(in);
}
CalcResult beam_line_load(const BeamValues<Traced>& in) {
  return beam_formula(in);
}
CalcResult stair_dead_load(const StairValues<Traced>& in) {
  return stair_formula(in);
}

CalcStatus MainProgram_1(Sheet& sheet) {
  BeamInputs in{};
  in.bay_span = read(sheet, Field::Text1);
  in.storey_height = read(sheet, Field::Text2);
  in.beam_depth = read(sheet, Field::Text3);
  in.opening_width = read(sheet, Field::Text4);
  in.opening_height = read(sheet, Field::Text5);
  in.wall_weight = read(sheet, Field::Text6);
  in.window_weight = read(sheet, Field::Text11);
  in.column_width = read(sheet, Field::Text13);
  return write_result(sheet, ResultLabel::Label10, beam_line_load(in));
}

CalcStatus MainProgram_2(Sheet& sheet) {
  StairInputs in{};
  in.step_width = read(sheet, Field::Text7);
  in.step_height = read(sheet, Field::Text8);
  in.slab_thickness = read(sheet, Field::Text9);
  in.finish_thickness = read(sheet, Field::Text10);
  in.finish_density = read(sheet, Field::Text12);
  return write_result(sheet, ResultLabel::Label11, stair_dead_load(in));
}

CalcStatus run_calculation(Sheet& sheet, Calculation c) {
  const CalcStatus s =
      c == Calculation::MainProgram_1 ? MainProgram_1(sheet) : MainProgram_2(sheet);
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
