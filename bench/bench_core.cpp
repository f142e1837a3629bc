// One recompute of each result from the field texts (read, compute, format, write), and the two
// text rules alone. The in-memory sheet records each caption it is given, as the tests need; that
// record is part of the figures, and cleared each round so that it does not grow.
#include <benchmark/benchmark.h>

#include <string>

#include "calc/calculations.h"
#include "calc/memory_sheet.h"
#include "calc/number.h"
#include "calc/startup.h"
#include "checks/checks.h"

namespace {

using namespace loadcalc;

MemorySheet loaded_sheet() {
  MemorySheet sheet(change_check);
  Form_Load(sheet);
  return sheet;
}

// BM_MainProgram_1, BM_MainProgram_2, ...: one per calculation.
const bool recomputes_registered = [] {
  for (const CalculationInfo& c : calculations)
    benchmark::RegisterBenchmark(("BM_" + std::string(c.routine)).c_str(),
                                 [id = c.id](benchmark::State& state) {
                                   MemorySheet sheet = loaded_sheet();
                                   for (auto _ : state) {
                                     benchmark::DoNotOptimize(run_calculation(sheet, id));
                                     sheet.clear_effects();
                                   }
                                 });
  return true;
}();

// A keystroke's whole core path: the change check of a decimal field with its cross-field test.
void BM_change_check_Text13(benchmark::State& state) {
  MemorySheet sheet = loaded_sheet();
  for (auto _ : state) {
    change_check(sheet, Field::Text13);
    sheet.clear_effects();
  }
}
BENCHMARK(BM_change_check_Text13);

void BM_read_number(benchmark::State& state) {
  static constexpr std::string_view texts[] = {"4.0", "0.45", "280", "22.0", " 1 2.5e1m", "３．５"};
  const std::string_view text = texts[state.range(0)];
  state.SetLabel(std::string(text));
  for (auto _ : state) benchmark::DoNotOptimize(read_number(text));
}
BENCHMARK(BM_read_number)->DenseRange(0, 5);

void BM_format_result(benchmark::State& state) {
  static constexpr double values[] = {6.7, 7.171929, -1.55, 1e15};
  const double v = values[state.range(0)];
  for (auto _ : state) benchmark::DoNotOptimize(format_result(v, "kN/m"));
}
BENCHMARK(BM_format_result)->DenseRange(0, 3);

}  // namespace

BENCHMARK_MAIN();
