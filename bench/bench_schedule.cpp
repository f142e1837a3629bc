// A building's book at its size in the book window: a 10,000-entry book opened and shown, 1,000
// rows pasted, a 10,000-row schedule file imported, each through to the table repainted; and the
// paste and the import without a window, for the book layer's share. Figures for the notes
// (docs/benchmarks.md), offscreen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUndoStack>
#include <string>

#include "book/book.h"
#include "book/schedule.h"
#include "book/schedule_edit.h"
#include "tests/support/entries.h"
#include "ui/application.h"
#include "ui/book/book_commands.h"
#include "ui/book/book_document.h"
#include "ui/book/book_window.h"
#include "ui/book/schedule_view.h"
#include "ui/calculator/form1.h"
#include "ui/text_decoding.h"

namespace {

using namespace loadcalc;

// Three beams to each stair, as a building's book has them.
Book building(int entries) {
  Book book;
  for (int i = 0; i < entries; ++i) {
    const std::string name = "KL" + std::to_string(i + 1);
    book.entries.push_back(i % 4 == 3 ? test::stair(name) : test::beam(name));
  }
  return book;
}

// What a spreadsheet copies from a beam schedule: 构件 and the eight inputs, every tenth row
// with a text the checks refuse.
Cells beam_rows(int rows) {
  Cells out;
  for (int i = 0; i < rows; ++i)
    out.push_back({"WKL" + std::to_string(i + 1), std::to_string(3 + i % 5) + ".2", "3.3", "0.5",
                   i % 10 == 9 ? "9.9" : "1.5", "2.1", "3.0", "0.5", "0.3"});
  return out;
}

// A schedule file of both kinds with a 类型 column, as docs/book-format.md describes it.
std::string schedule_csv(int rows) {
  std::string out =
      "构件,类型,轴线开间尺寸(m),层高(m),框架梁高(m),门窗洞口宽度(m),门窗洞口高度(m),"
      "墙自重(kN/m²),窗重(kN/m²),框架柱宽(m),踏步宽度(mm),踏步高度(mm),楼梯板厚度(mm),"
      "面层厚度(mm),面层容重(kN/m³),备注\r\n";
  for (int i = 0; i < rows; ++i) {
    const std::string n = std::to_string(i + 1);
    out += i % 4 == 3 ? "LT-" + n + ",楼梯,,,,,,,,,280,160,130,30,22.0,\r\n"
                      : "KL" + n + ",梁," + std::to_string(3 + i % 5) +
                            ".2,3.3,0.5,1.5,2.1,3.0,0.5,0.3,,,,,,第 " + n + " 条\r\n";
  }
  return out;
}

struct Window {
  ui::Form1 form;
  ui::BookWindow* book;
  Window() {
    form.show();
    book = new ui::BookWindow(form, &form);
    book->show();
  }
  void paint() {
    book->current_schedule()->viewport()->repaint();
    QApplication::processEvents();
  }
};

// 打开 of a saved book: the file read, every entry evaluated, the table shown and painted.
void BM_OpenAndShow(benchmark::State& state) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("building.lcbook"));
  Window w;
  ui::BookDocument& d = w.book->document();
  d.adopt(building(static_cast<int>(state.range(0))), {});
  if (!d.save_to(path)) state.SkipWithError("cannot save the book");
  for (auto _ : state) {
    state.PauseTiming();
    d.clear();
    w.paint();
    state.ResumeTiming();
    if (!d.open(path).isEmpty()) state.SkipWithError("cannot open the book");
    w.paint();
  }
  state.counters["bytes"] = static_cast<double>(QFile(path).size());
}
BENCHMARK(BM_OpenAndShow)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_PasteBlock(benchmark::State& state) {
  const Book book = building(1000);
  const Cells rows = beam_rows(static_cast<int>(state.range(0)));
  for (auto _ : state)
    benchmark::DoNotOptimize(paste_block(book, Calculation::MainProgram_1, 0, 1, rows));
}
BENCHMARK(BM_PasteBlock)->Arg(1000)->Unit(benchmark::kMillisecond);

// Into a 1,000-entry book from its first beam: 750 beams changed and 250 added, applied as the
// window applies a paste, and the table repainted. The undo that restores the book is not timed.
void BM_PasteIntoWindow(benchmark::State& state) {
  Window w;
  w.book->document().adopt(building(1000), {});
  const Cells rows = beam_rows(static_cast<int>(state.range(0)));
  ui::BookDocument& d = w.book->document();
  for (auto _ : state) {
    auto pasted = paste_block(d.book(), Calculation::MainProgram_1, 0, 1, rows);
    d.undo_stack().push(new ui::SetEntriesCommand(
        d.model(), std::move(std::get<PasteResult>(pasted).entries), QStringLiteral("粘贴")));
    w.paint();
    state.PauseTiming();
    d.undo_stack().undo();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_PasteIntoWindow)->Arg(1000)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_ReadSchedule(benchmark::State& state) {
  const std::string csv = schedule_csv(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    Book book;
    benchmark::DoNotOptimize(import_schedule(std::get<std::string>(ui::decode_text(csv)), book));
  }
  state.counters["bytes"] = static_cast<double>(csv.size());
}
BENCHMARK(BM_ReadSchedule)->Arg(10000)->Unit(benchmark::kMillisecond);

// 文件 ▸ 导入计算表 with the file chosen: read, decoded, imported, applied and shown. The undo that
// empties the book again is not timed.
void BM_ImportIntoWindow(benchmark::State& state) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("schedule.csv"));
  QFile file(path);
  const std::string csv = schedule_csv(static_cast<int>(state.range(0)));
  if (!file.open(QIODevice::WriteOnly) ||
      file.write(csv.data(), static_cast<qint64>(csv.size())) < 0) {
    state.SkipWithError("cannot write the schedule");
    return;
  }
  file.close();
  Window w;
  for (auto _ : state) {
    if (!w.book->import_file(path)) state.SkipWithError("import failed");
    w.paint();
    state.PauseTiming();
    w.book->document().undo_stack().undo();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_ImportIntoWindow)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  ui::configure_application(app);
  // The recovery copies go to a test folder, not the user's.
  QStandardPaths::setTestModeEnabled(true);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
