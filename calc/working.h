#pragma once
// The working of a calculation, as an engineer writes it in a calculation sheet: the formula in
// symbols, each step with its values put in, and the result. It is traced by the very formula
// that computes the caption (the calculation table's `trace`, the same template as `compute`), so
// the working cannot drift from the caption. working_text.h writes it out.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "calc/calculations.h"
#include "calc/sheet.h"
#include "calc/traced.h"

namespace loadcalc {

// A figure the formula takes from a source rather than from a field, as the legend states it:
// the calculator's fixed 25 kN/m³, or a material an entry states.
struct StatedFigure {
  std::string figure;  // "钢筋混凝土容重 25 kN/m³"
  std::string source;  // "GB 50009—2012 附录A 表A 第6项（所列 24～25 kN/m³）", or "设计取值"
  bool outside_range = false;  // the source says outside_range_note
  friend bool operator==(const StatedFigure&, const StatedFigure&) = default;
};

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
  std::string caption{};                // exactly what the result label shows
  std::vector<StatedFigure> figures{};  // for the legend, after the symbols
};

// What the calculation makes of the sheet's texts, step by step.
Working working(const Sheet& sheet, Calculation c);

// A field's entry as a traced formula takes it: an input by its symbol, or, for an entry in
// millimetres that the formula converts at once, the number as entered with its unit.
Traced traced_entry(Trace& t, Field f, double value);

// A working completed from a formula that `run` traces into the given trace: run(t, true) with
// the entries' values, and, when that stops early, run(t, false) with every entry NaN (no test
// for a zero divisor matches it), for the whole formula and its legend. The legend's figures are
// the calculation's fixed figures.
Working completed_working(Calculation c, const std::function<CalcResult(Trace&, bool)>& run);

}  // namespace loadcalc
