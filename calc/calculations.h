#pragma once
// The two loads: pure functions of the entered values, and the sheet routines that read the
// fields and write the result captions.

#include <cstdint>
#include <string_view>

#include "calc/sheet.h"

namespace loadcalc {

enum class CalcStatus : std::uint8_t {
  ok,
  zero_divisor,  // bay span or step width of 0: the formula has no value
  out_of_range,  // the result, or its rounding for the caption, is not a finite double
};

struct CalcResult {
  CalcStatus status;
  double value;  // meaningful only when status is ok
};

// Metres, except the two weights in kN/m2. Generic over the number type so that the working can
// trace the very formula that computes the caption (working.h).
template <class N>
struct BeamValues {
  N bay_span;
  N storey_height;
  N beam_depth;
  N opening_width;
  N opening_height;
  N wall_weight;
  N window_weight;
  N column_width;
};
using BeamInputs = BeamValues<double>;

// As entered: the first four in millimetres, finish_density in kN/m3.
template <class N>
struct StairValues {
  N step_width;
  N step_height;
  N slab_thickness;
  N finish_thickness;
  N finish_density;
};
using StairInputs = StairValues<double>;

// Beam line load in kN/m, evaluated in a fixed operation order so that every caption can be
// reproduced by hand.
CalcResult beam_line_load(const BeamInputs& in) noexcept;
// Stair converted dead load in kN/m2 of plan.
CalcResult stair_dead_load(const StairInputs& in) noexcept;

// Read the fields in their fixed order, compute, and write the caption of Label10 / Label11.
// On a failure no caption is written and the status goes back to the caller.
CalcStatus MainProgram_1(Sheet& sheet);
CalcStatus MainProgram_2(Sheet& sheet);

// What a check or a key runs: the calculation, and on a failure the failure text as the caption,
// so that the user never reads a stale or meaningless result.
CalcStatus run_calculation(Sheet& sheet, Calculation c);

// Text shown in a result label when its calculation fails; empty for ok.
std::string_view failure_text(CalcStatus s);

}  // namespace loadcalc
