#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "calc/calculations.h"
#include "calc/fields.h"
#include "calc/memory_sheet.h"
#include "calc/number.h"

namespace loadcalc {
namespace {

constexpr BeamInputs beam_defaults{4.0, 3.6, 0.45, 2.0, 2.2, 3.0, 0.50, 0.0};
constexpr StairInputs stair_defaults{280, 160, 130, 30, 22.0};

std::string caption(const CalcResult& r, std::string_view unit) {
  EXPECT_EQ(r.status, CalcStatus::ok);
  return format_result(r.value, unit).value_or("(none)");
}

struct BeamCase {
  const char* what;
  BeamInputs in;
  const char* expected;
};

BeamInputs beam_with(void (*change)(BeamInputs&)) {
  BeamInputs in = beam_defaults;
  change(in);
  return in;
}

TEST(BeamLineLoad, MatchesHandCalculations) {
  const BeamCase cases[] = {
      {"defaults", beam_defaults, "6.7kN/m"},
      // Dividing by the panel width 3.6 instead of the bay would give 6.394.
      {"column 0.4", beam_with([](BeamInputs& b) { b.column_width = 0.4; }), "5.755kN/m"},
      {"column 2.0", beam_with([](BeamInputs& b) { b.column_width = 2.0; }), "1.975kN/m"},
      {"no opening", beam_with([](BeamInputs& b) { b.opening_width = 0; }), "9.45kN/m"},
      {"weightless window", beam_with([](BeamInputs& b) { b.window_weight = 0; }), "6.15kN/m"},
      {"weightless wall", beam_with([](BeamInputs& b) { b.wall_weight = 0; }), "0.55kN/m"},
      {"bay 6", beam_with([](BeamInputs& b) { b.bay_span = 6; }), "7.617kN/m"},
      {"bay 6, column 0.5", beam_with([](BeamInputs& b) { b.bay_span = 6, b.column_width = 0.5; }),
       "6.829kN/m"},
      {"opening wider than bay", beam_with([](BeamInputs& b) { b.bay_span = 1; }), "-1.55kN/m"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(caption(beam_line_load(c.in), "kN/m"), c.expected) << c.what;
}

struct StairCase {
  const char* what;
  StairInputs in;
  const char* expected;
};

TEST(StairDeadLoad, MatchesHandCalculations) {
  const StairCase cases[] = {
      {"defaults", stair_defaults, "7.172kN/m^2"},
      {"flat", {280, 0, 130, 30, 22}, "4.25kN/m^2"},
      {"no finish", {280, 160, 130, 0, 22}, "6.135kN/m^2"},
      {"weightless finish", {280, 160, 130, 30, 0}, "6.135kN/m^2"},
      {"no slab", {280, 160, 0, 30, 22}, "3.429kN/m^2"},
      {"300/150/120/20/20", {300, 150, 120, 20, 20}, "6.209kN/m^2"},
      {"260/175/150/50/25", {260, 175, 150, 50, 25}, "9.209kN/m^2"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(caption(stair_dead_load(c.in), "kN/m^2"), c.expected) << c.what;
}

TEST(StairDeadLoad, DefaultsComeOutAtTheDocumentedValue) {
  const CalcResult r = stair_dead_load(stair_defaults);
  EXPECT_NEAR(r.value, 7.171929, 1e-6);
}

TEST(Calculations, ReportAZeroDivisorInsteadOfAValue) {
  BeamInputs beam = beam_defaults;
  beam.bay_span = 0;
  EXPECT_EQ(beam_line_load(beam).status, CalcStatus::zero_divisor);
  beam.bay_span = -0.0;
  EXPECT_EQ(beam_line_load(beam).status, CalcStatus::zero_divisor);
  for (double h : {160.0, 0.0}) {
    StairInputs stair = stair_defaults;
    stair.step_width = 0;
    stair.step_height = h;
    EXPECT_EQ(stair_dead_load(stair).status, CalcStatus::zero_divisor) << h;
  }
}

TEST(Calculations, ReportResultsBeyondADoubleAsOutOfRange) {
  const double inf = INFINITY;
  BeamInputs beam = beam_defaults;
  beam.bay_span = inf;  // inf / inf
  EXPECT_EQ(beam_line_load(beam).status, CalcStatus::out_of_range);
  beam = beam_defaults;
  beam.wall_weight = 1e308;
  beam.storey_height = 1e10;
  EXPECT_EQ(beam_line_load(beam).status, CalcStatus::out_of_range);
  StairInputs stair = stair_defaults;
  stair.finish_density = -inf;
  EXPECT_EQ(stair_dead_load(stair).status, CalcStatus::out_of_range);
}

// The sheet routines: the fields they read, the caption they write, and what a failure leaves.
class SheetCalculations : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const FieldInfo& f : fields) sheet.load(f.field, f.default_text);
  }
  MemorySheet sheet;
};

TEST_F(SheetCalculations, WriteOnlyTheirOwnLabel) {
  EXPECT_EQ(MainProgram_1(sheet), CalcStatus::ok);
  EXPECT_EQ(sheet.caption(ResultLabel::Label10), "6.7kN/m");
  EXPECT_EQ(sheet.caption(ResultLabel::Label11), "Label11");
  EXPECT_EQ(MainProgram_2(sheet), CalcStatus::ok);
  EXPECT_EQ(sheet.caption(ResultLabel::Label11), "7.172kN/m^2");
  EXPECT_EQ(sheet.effects().size(), 2u);
}

TEST_F(SheetCalculations, ReadTheTextsAsTheyStand) {
  sheet.load(Field::Text13, "0.4 m");
  sheet.load(Field::Text12, "Text12");
  MainProgram_1(sheet);
  MainProgram_2(sheet);
  EXPECT_EQ(sheet.caption(ResultLabel::Label10), "5.755kN/m");
  EXPECT_EQ(sheet.caption(ResultLabel::Label11), "6.135kN/m^2");
}

TEST_F(SheetCalculations, LeaveTheCaptionOnAZeroDivisor) {
  sheet.load(Field::Text1, "0");
  sheet.load(Field::Text7, "");
  EXPECT_EQ(MainProgram_1(sheet), CalcStatus::zero_divisor);
  EXPECT_EQ(MainProgram_2(sheet), CalcStatus::zero_divisor);
  EXPECT_TRUE(sheet.effects().empty());
  EXPECT_EQ(sheet.caption(ResultLabel::Label10), "Label10");
}

TEST_F(SheetCalculations, RunCalculationShowsTheFailureText) {
  sheet.load(Field::Text1, "1e999");
  sheet.load(Field::Text7, "0");
  EXPECT_EQ(run_calculation(sheet, Calculation::MainProgram_1), CalcStatus::out_of_range);
  EXPECT_EQ(run_calculation(sheet, Calculation::MainProgram_2), CalcStatus::zero_divisor);
  EXPECT_EQ(sheet.caption(ResultLabel::Label10), failure_text(CalcStatus::out_of_range));
  EXPECT_EQ(sheet.caption(ResultLabel::Label11), failure_text(CalcStatus::zero_divisor));
  // A rounding that overflows is a failure too, never "inf".
  sheet.load(Field::Text1, "1e-305");
  EXPECT_EQ(run_calculation(sheet, Calculation::MainProgram_1), CalcStatus::out_of_range);
  EXPECT_EQ(sheet.caption(ResultLabel::Label10), "数值超出范围");
}

}  // namespace
}  // namespace loadcalc
