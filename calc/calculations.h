#pragma once
// The calculation table: each load is one row, with the result it writes, the fields it reads,
// its formula, and the legend of its steps. Dispatch, start-up, the working and the sheet loop
// over this table; a new load is a new row (and its fields in the field table).

#include <array>
#include <cstddef>
#include <span>
#include <string_view>

#include "calc/fields.h"
#include "calc/sheet.h"
#include "calc/table.h"
#include "calc/traced.h"

namespace loadcalc {

struct CalcResult {
  CalcStatus status;
  double value;  // meaningful only when status is ok
};

// The entries of each formula, members in field order (the order the table's `reads` lists
// them in). Generic over the number type so that the working can trace the very formula that
// computes the caption.

// Metres, except the two weights in kN/m2.
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
// The same formulas over the entries as read, in the order of the table's `reads`.
CalcResult beam_line_load(std::span<const double> in);
CalcResult beam_line_load(std::span<const Traced> in);
CalcResult stair_dead_load(std::span<const double> in);
CalcResult stair_dead_load(std::span<const Traced> in);

// A field entry converted to metres on the spot: its step is named after the field.
constexpr StepInfo converted(Field f) {
  const FieldInfo& info = field_info(f);
  return {info.quantity, info.term, "m", false, f};
}

// The steps before the result, in the order the formula takes them.
inline constexpr std::array beam_steps{StepInfo{"A_w", "墙体净面积", "m²", true}};
inline constexpr std::array stair_steps{
    converted(Field::Text7),
    converted(Field::Text8),
    converted(Field::Text9),
    converted(Field::Text10),
    StepInfo{"tan α", "梯段坡度", "", false},
    StepInfo{"cos α", "梯段倾角的余弦", "", false},
    StepInfo{"g_p", "板底抹灰（0.34 kN/m²）按水平投影", "kN/m²", true},
    StepInfo{"g_f", "踏步面层", "kN/m²", true},
    StepInfo{"g_s", "踏步及梯段板自重（25 kN/m³）", "kN/m²", true},
};

// Where a formula's fixed figures come from, as the working's legend states it: the load code,
// GB 50009—2012 《建筑结构荷载规范》 附录A (常用材料和构件的自重).
struct FixedFigure {
  std::string_view figure;
  std::string_view source;
};
inline constexpr std::array stair_figures{
    FixedFigure{"25 kN/m³", "钢筋混凝土自重，取 GB 50009—2012 附录A 表A 所列 24～25 kN/m³ 之上限"},
    FixedFigure{"0.34 kN/m²", "板底 20 mm 厚石灰粗砂粉刷，GB 50009—2012 附录A"},
};

// The fields a calculation reads are those that feed it, in field order.
constexpr std::size_t fed_by(Calculation c) {
  std::size_t n = 0;
  for (const FieldInfo& f : fields) n += f.feeds == c;
  return n;
}
template <Calculation c>
inline constexpr auto reads_of = [] {
  std::array<Field, fed_by(c)> out{};
  std::size_t n = 0;
  for (const FieldInfo& f : fields)
    if (f.feeds == c) out[n++] = f.field;
  return out;
}();

struct CalculationInfo {
  Calculation id;
  std::string_view routine;       // what reads the fields and writes the caption
  ResultLabel label;              // the label it writes
  std::string_view name;          // that label's control name, also its caption before start-up
  std::string_view key;           // the result's name where texts are stored by name
  std::string_view quantity;      // symbol of the result, as for the fields
  std::string_view term;          // the result's name, the working's title
  std::string_view unit;          // behind the caption's number, no blank between
  std::string_view working_unit;  // behind the working's figure
  // What a calculation book files an entry of this calculation under: the word in the file, the
  // type the book shows (类型), and the word a member's default name starts with ("梁 3").
  std::string_view kind_word;
  std::string_view kind_name;
  std::string_view member_word;
  std::span<const Field> reads;
  CalcResult (*compute)(std::span<const double>);
  CalcResult (*trace)(std::span<const Traced>);
  std::span<const StepInfo> steps;
  std::span<const FixedFigure> figures;
};

// clang-format off
inline constexpr std::array calculations{
  CalculationInfo{Calculation::MainProgram_1, "MainProgram_1", ResultLabel::Label10, "Label10", "beam_line_load",
                  "q", "框架梁上均布线荷载", "kN/m", "kN/m", "beam", "梁上线荷载", "梁",
                  reads_of<Calculation::MainProgram_1>, beam_line_load, beam_line_load, beam_steps, {}},
  CalculationInfo{Calculation::MainProgram_2, "MainProgram_2", ResultLabel::Label11, "Label11", "stair_dead_load",
                  "g", "楼梯的折算恒荷载", "kN/m^2", "kN/m²", "stair", "楼梯恒荷载", "楼梯",
                  reads_of<Calculation::MainProgram_2>, stair_dead_load, stair_dead_load, stair_steps, stair_figures},
};
// clang-format on
inline constexpr std::size_t result_count = std::size(calculations);
// Every calculation, in table order: what a sheet of them all shows.
inline constexpr auto every_calculation = [] {
  std::array<Calculation, result_count> out{};
  for (std::size_t i = 0; i < result_count; ++i) out[i] = calculations[i].id;
  return out;
}();

constexpr const CalculationInfo& calculation_info(Calculation c) {
  return row_where(calculations, &CalculationInfo::id, c);
}
constexpr const CalculationInfo& result_info(ResultLabel l) {
  return row_where(calculations, &CalculationInfo::label, l);
}
// The label a calculation writes.
constexpr ResultLabel result_label(Calculation c) {
  return calculation_info(c).label;
}

// Read the fields, compute, and write the caption of Label10 / Label11. On a failure no caption
// is written and the status goes back to the caller.
CalcStatus MainProgram_1(Sheet& sheet);
CalcStatus MainProgram_2(Sheet& sheet);

// What a check or a key runs: the calculation, and on a failure the failure text as the caption,
// so that the user never reads a stale or meaningless result.
CalcStatus run_calculation(Sheet& sheet, Calculation c);

// Text shown in a result label when its calculation fails; empty for ok.
std::string_view failure_text(CalcStatus s);

}  // namespace loadcalc
