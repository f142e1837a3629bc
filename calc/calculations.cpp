#include "calc/calculations.h"

#include <cmath>

#include "calc/crmath.h"
#include "calc/fields.h"
#include "calc/number.h"

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

}  // namespace

// Each step is its own statement so that every intermediate is rounded to double exactly as a
// hand calculation in double precision would be; the opening area is deliberately formed twice.
CalcResult beam_line_load(const BeamInputs& in) noexcept {
  const double t1 = in.bay_span - in.column_width;
  const double t2 = in.storey_height - in.beam_depth;
  const double t3 = t1 * t2;
  const double t4 = in.opening_width * in.opening_height;
  const double t5 = t3 - t4;
  const double t6 = t5 * in.wall_weight;
  const double t7 = in.opening_width * in.opening_height;
  const double t8 = t7 * in.window_weight;
  const double t9 = t6 + t8;
  // The weight spreads over the axis-to-axis bay, not over the narrower panel.
  if (in.bay_span == 0.0) return {CalcStatus::zero_divisor, 0.0};
  return finite_or_failure(t9 / in.bay_span);
}

CalcResult stair_dead_load(const StairInputs& in) noexcept {
  // Millimetres to metres by division, not by multiplying with 0.001: the two differ in the last
  // bit for some entries.
  const double b = in.step_width / 1000;
  const double h = in.step_height / 1000;
  const double t = in.slab_thickness / 1000;
  const double f = in.finish_thickness / 1000;
  const double gamma = in.finish_density;
  if (b == 0.0) return {CalcStatus::zero_divisor, 0.0};

  // Correctly rounded, so that the same entries give the same figure on every platform. The
  // plaster and the slab both divide by cos(atan(h / b)); it is formed once, being the same
  // expression (and correctly rounded, the same value) both times, and it is the dearest step.
  const double cos_alpha = cr_cos(cr_atan(h / b));
  const double p = 0.34 / cos_alpha;  // plaster under the slab, per plan area
  const double w1 = b + h;
  const double w2 = w1 / b;
  const double w3 = w2 * f;
  const double w4 = w3 * gamma;
  const double w5 = h / 2;
  const double w6 = t / cos_alpha;
  const double w7 = w5 + w6;
  const double w8 = w7 * 25;
  const double w9 = w4 + w8;
  return finite_or_failure(w9 + p);
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
