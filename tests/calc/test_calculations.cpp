#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
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
  double expected;  // to the bit
  const char* caption;
};

// The expected values were computed apart from the code under test: the formula's double
// operations in their order, with cos(atan(h/b)) from MPFR at 320 bits, rounded once to a double.
// Rows marked "glibc" are entries where glibc 2.36's own atan and cos give a result a few ulp
// away; "Windows" rows are where the mingw-w64 runtime's do.
TEST(StairDeadLoad, MatchesHandCalculationsToTheBit) {
  const StairCase cases[] = {
      {"defaults", stair_defaults, 0x1.cb00e3e15fadep+2, "7.172kN/m^2"},  // 7.1719293309131142
      {"flat", {280, 0, 130, 30, 22}, 0x1.1p+2, "4.25kN/m^2"},            // 0.34 + 3.25 + 0.66
      {"no finish", {280, 160, 130, 0, 22}, 0x1.88a057723254ap+2, "6.135kN/m^2"},  // 6.13478647377
      {"weightless finish", {280, 160, 130, 30, 0}, 0x1.88a057723254ap+2, "6.135kN/m^2"},
      {"no slab", {280, 160, 0, 30, 22}, 0x1.b6e0e4f9b0881p+1, "3.429kN/m^2"},  // 3.428738233488787
      {"300/150/120/20/20", {300, 150, 120, 20, 20}, 0x1.8d641500029bap+2, "6.209kN/m^2"},
      {"260/175/150/50/25", {260, 175, 150, 50, 25}, 0x1.26b02cd6fed8cp+3, "9.209kN/m^2"},
      // 6.5793920935328263; 4 ulp higher on Windows.
      {"Windows steep", {39.1, 107.5, 57.6, 37.5, 0.2}, 0x1.a514c2935234ap+2, "6.579kN/m^2"},
      // Near-vertical flights: cos(atan(h/b)) is about 3e-12 and any error in it shows in the
      // caption (the Windows cosine gives 112101395459.805 for the first).
      {"Windows near vertical",
       {1e-10, 32.97, 0, 90, 0},
       0x1.a19c38bb90f7ep+36,
       "112101395385.061kN/m^2"},
      {"near vertical with finish",
       {1e-10, 32.97, 0, 90, 22},
       0x1.643011327614cp+39,
       "764907395387.041kN/m^2"},
      {"near vertical with slab",
       {1e-10, 160, 130, 30, 22},
       0x1.8bde4fec79b35p+42,
       "6800967447014.8kN/m^2"},
      {"every field at its edge",
       {0.001, 199.99, 299.99, 99.99, 49.99},
       0x1.396b4916409aep+21,
       "2567529.136kN/m^2"},  // 2567529.1358654117
      // h/b = 2e302: the angle is pi/2 rounded, the cosine 6.1e-17.
      {"ratio near the top of the range",
       {1e-300, 199, 130, 30, 22},
       0x1.883d4fda16e6fp+1003,
       "1.3134E+302kN/m^2"},
      {"flat, tiny tread", {1e-10, 0, 130, 30, 22}, 0x1.1p+2, "4.25kN/m^2"},
      {"tiny riser", {349.99, 1e-10, 130, 30, 22}, 0x1.1000000000653p+2, "4.25kN/m^2"},
      {"tiny everything", {1e-6, 1e-6, 1e-6, 1e-6, 1e-6}, 0x1.ec5f65861556cp-2, "0.481kN/m^2"},
      {"glibc 103.4/173.2",
       {103.4, 173.2, 224.2, 1.4, 46.3},
       0x1.bdf4fda983cc5p+3,
       "13.936kN/m^2"},  // 13.936156111797013
      {"glibc 19/188.9",
       {19, 188.9, 84.8, 14.1, 36.1},
       0x1.041851d9ef19fp+5,
       "32.512kN/m^2"},  // 32.511874868974012
      {"glibc 252.1/173.8",
       {252.1, 173.8, 51.7, 26.8, 42.1},
       0x1.83ef526f48addp+2,
       "6.061kN/m^2"},  // 6.0614820563084466
      {"glibc 42.2/23.3",
       {42.2, 23.3, 130.2, 43.1, 7.1},
       0x1.37dbc49010dc6p+2,
       "4.873kN/m^2"},  // 4.872788563432044
      {"glibc 237.9/173.8",
       {237.9, 173.8, 107.1, 3.4, 22.3},
       0x1.829a8c48eadfbp+2,
       "6.041kN/m^2"},  // 6.0406828605732654
      {"glibc 98.8/157.9",
       {98.8, 157.9, 232.1, 71.3, 8.6},
       0x1.e4b4b3e6926fp+3,
       "15.147kN/m^2"},  // 15.147058439575147
  };
  for (const auto& c : cases) {
    const CalcResult r = stair_dead_load(c.in);
    EXPECT_EQ(std::bit_cast<std::uint64_t>(r.value), std::bit_cast<std::uint64_t>(c.expected))
        << c.what << ": " << std::hexfloat << r.value << " instead of " << c.expected;
    EXPECT_EQ(caption(r, "kN/m^2"), c.caption) << c.what;
  }
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
  EXPECT_EQ(sheet.caption(ResultLabel::Label10), "数值超出范围");
  EXPECT_EQ(sheet.caption(ResultLabel::Label11), "除数为零，无法计算");
  // A rounding that overflows is a failure too, never "inf".
  sheet.load(Field::Text1, "1e-305");
  EXPECT_EQ(run_calculation(sheet, Calculation::MainProgram_1), CalcStatus::out_of_range);
  EXPECT_EQ(sheet.caption(ResultLabel::Label10), "数值超出范围");
}

// A look-up by a value that no row holds is the program's own fault: it stops there rather than
// go on with another row. 255, the most an enumeration's byte holds, stays unheld however the
// tables grow.
TEST(TableLookupDeathTest, StopsOnAValueNoRowHolds) {
  EXPECT_DEATH_IF_SUPPORTED((void)calculation_info(static_cast<Calculation>(255)), "");
  EXPECT_DEATH_IF_SUPPORTED((void)result_info(static_cast<ResultLabel>(255)), "");
  EXPECT_DEATH_IF_SUPPORTED((void)field_info(static_cast<Field>(255)), "");
}

}  // namespace
}  // namespace loadcalc
