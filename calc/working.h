#pragma once
// The working of a calculation, as an engineer writes it in a calculation sheet: the formula in
// symbols, each step with its values put in, and the result. It is traced by the very formula
// that computes the caption (the calculation table's `trace`, the same template as `compute`), so
// the working cannot drift from the caption. working_text.h writes it out.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "calc/calculations.h"
#include "calc/sheet.h"
#include "calc/traced.h"

namespace loadcalc {

// The trace (inputs and steps as far as the calculation got, the whole formula, why it stopped),
// and what the result label makes of it.
struct Working : Trace {
  Calculation calculation{};
  std::string_view title{};  // the result's name, "框架梁上均布线荷载"
  // Every input and step of the whole formula, for the legend: the trace's own quantities, or
  // where the calculation stopped early, those of the formula traced with symbols alone.
  std::vector<Quantity> symbols{};
  std::size_t result = 0;  // index of the result; meaningful only when status is ok
  CalcStatus status = CalcStatus::ok;
  std::string caption{};  // exactly what the result label shows
};

// What the calculation makes of the sheet's texts, step by step.
Working working(const Sheet& sheet, Calculation c);

}  // namespace loadcalc
