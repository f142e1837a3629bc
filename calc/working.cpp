#include "calc/working.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "calc/fields.h"
#include "calc/number.h"

namespace loadcalc {

Traced traced_entry(Trace& t, Field f, double value) {
  const FieldInfo& info = field_info(f);
  // An entry in millimetres is converted to metres by the formula at once: it is written as
  // entered, and the converted value is the quantity.
  if (info.unit == "mm") return Traced::entry(t, value, info.unit);
  return Traced::input(t, {.symbol = info.quantity,
                           .name = info.term,
                           .unit = info.unit,
                           .value = value,
                           .field = info.field});
}

Working working(const Sheet& sheet, Calculation c) {
  const CalculationInfo& row = calculation_info(c);
  std::vector<double> values;
  for (Field f : row.reads) values.push_back(read_number(sheet.text(f)));
  return completed_working(c, [&](Trace& t, bool with_values) {
    std::vector<Traced> in;
    in.reserve(row.reads.size());
    for (std::size_t i = 0; i < row.reads.size(); ++i)
      in.push_back(traced_entry(
          t, row.reads[i], with_values ? values[i] : std::numeric_limits<double>::quiet_NaN()));
    return row.trace(in);
  });
}

Working completed_working(Calculation c, const std::function<CalcResult(Trace&, bool)>& run) {
  const CalculationInfo& row = calculation_info(c);
  Working w;
  w.calculation = c;
  w.title = row.term;
  for (const FixedFigure& f : row.figures)
    w.figures.push_back({std::string(f.figure), std::string(f.source)});
  const CalcResult r = run(w, true);
  w.status = r.status;

  if (r.status == CalcStatus::ok) {
    w.result = w.quantities.size() - 1;
    if (auto caption = format_result(r.value, row.unit)) {
      w.caption = std::move(*caption);
    } else {
      w.status = CalcStatus::out_of_range;
      w.failure = "结果过大，无法取整到千分位。";
    }
  } else if (r.status == CalcStatus::out_of_range) {
    // The first step without a finite value is where the calculation lost its footing.
    const auto bad = std::find_if(w.quantities.begin(), w.quantities.end(), [](const Quantity& q) {
      return is_step(q) && !std::isfinite(q.value);
    });
    if (bad != w.quantities.end()) {
      w.failure = std::string(bad->symbol) + " 超出双精度数的范围，无法计算。";
      w.culprit = static_cast<std::size_t>(bad - w.quantities.begin());
      w.quantities.erase(bad + 1, w.quantities.end());
    }
  }

  if (r.status == CalcStatus::ok) {
    w.symbols = w.quantities;
  } else {
    // Traced with no values, the formula runs to its end whatever the entries, and writes itself
    // down whole.
    Trace symbolic;
    run(symbolic, false);
    w.formula = std::move(symbolic.formula);
    w.symbols = std::move(symbolic.quantities);
  }
  if (w.status != CalcStatus::ok) {
    if (w.failure.empty()) w.failure = std::string(failure_text(w.status)) + "。";
    w.caption = failure_text(w.status);
  }
  return w;
}

}  // namespace loadcalc
