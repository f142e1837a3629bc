// A building's book of 1,000 entries: reading the file, and reading it then evaluating every
// entry through the checks and the formulas, as opening a book does before its table shows.
#include <benchmark/benchmark.h>

#include <string>
#include <variant>

#include "book/evaluate.h"
#include "book/file.h"
#include "book/summary.h"
#include "tests/support/entries.h"

namespace {

using namespace loadcalc;
using test::beam;
using test::stair;

// Every third entry a stair; the beams' bays and openings vary so that no two are alike, and a
// few are refused by a check, as a real book's might be.
std::string thousand_entries() {
  Book book{{"某办公楼", "2026-018", "1# 楼", "张三", "李四", "王五", "2026-12-08"}, {}};
  for (int i = 0; i < 1000; ++i) {
    const std::string n = std::to_string(i);
    if (i % 3 == 2) {
      book.entries.push_back(stair("LT-" + n, {{Field::Text7, std::to_string(250 + i % 60)},
                                               {Field::Text8, std::to_string(140 + i % 40)}}));
    } else {
      book.entries.push_back(
          beam("KL" + n + " ③~④轴", {{Field::Text1, std::to_string(3 + i % 5) + ".2"},
                                     {Field::Text4, "1." + std::to_string(i % 10)},
                                     {Field::Text13, "0.3"}}));
      book.entries.back().note = "第 " + n + " 条";
    }
  }
  return write_book(book);
}

void BM_read_book_1000(benchmark::State& state) {
  const std::string file = thousand_entries();
  for (auto _ : state) benchmark::DoNotOptimize(read_book(file));
  state.counters["bytes"] = static_cast<double>(file.size());
}
BENCHMARK(BM_read_book_1000)->Unit(benchmark::kMillisecond);

void BM_read_and_evaluate_1000(benchmark::State& state) {
  const std::string file = thousand_entries();
  for (auto _ : state) {
    const Book book = std::get<Book>(read_book(file));
    for (const Entry& e : book.entries) benchmark::DoNotOptimize(evaluate(e));
  }
}
BENCHMARK(BM_read_and_evaluate_1000)->Unit(benchmark::kMillisecond);

void BM_summary_csv_1000(benchmark::State& state) {
  const Book book = std::get<Book>(read_book(thousand_entries()));
  for (auto _ : state) benchmark::DoNotOptimize(summary_csv(book));
}
BENCHMARK(BM_summary_csv_1000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
