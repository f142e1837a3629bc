// The calculation book at a building's size: a 100-entry book exported to PDF (cover, one sheet
// per entry), a book of 1,000 and of 10,000 entries put into the book window and shown, and one
// cell of the larger typed into. Figures for the notes (docs/benchmarks.md), run on the offscreen
// platform.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <string>

#include "book/book.h"
#include "tests/support/entries.h"
#include "ui/application.h"
#include "ui/book/book_document.h"
#include "ui/book/book_export.h"
#include "ui/book/book_model.h"
#include "ui/book/book_window.h"
#include "ui/book/schedule_model.h"
#include "ui/book/schedule_view.h"
#include "ui/calculator/form1.h"

namespace {

using namespace loadcalc;

// Every tenth entry is refused by the checks, as a real book under work has a few.
Book building(int entries) {
  Book book;
  book.project = {"基准楼", "B-1", "全楼", "甲", "乙", "丙", "2026-12-08"};
  for (int i = 0; i < entries; ++i) {
    const std::string name = "KL" + std::to_string(i + 1);
    test::Texts changed{{Field::Text1, std::to_string(3 + i % 5) + ".0"}};
    if (i % 10 == 9) changed[Field::Text4] = "9.9";
    book.entries.push_back(i % 4 == 3 ? test::stair(name) : test::beam(name, changed));
  }
  return book;
}

void BM_ExportPdf(benchmark::State& state) {
  const Book book = building(static_cast<int>(state.range(0)));
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("book.pdf"));
  for (auto _ : state)
    if (!ui::export_book(book, path).isEmpty()) state.SkipWithError("export failed");
}
BENCHMARK(BM_ExportPdf)->Arg(100)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ShowInWindow(benchmark::State& state) {
  const Book book = building(static_cast<int>(state.range(0)));
  ui::Form1 form;
  form.show();
  auto* window = new ui::BookWindow(form, &form);
  window->show();
  for (auto _ : state) {
    window->document().adopt(book, {});
    window->current_schedule()->viewport()->repaint();
    QApplication::processEvents();
  }
}
BENCHMARK(BM_ShowInWindow)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(5);

// One cell typed into a building's book, to its row repainted: the undo step, the entry judged
// again, and what the window does on a change of the book.
void BM_EditOneCell(benchmark::State& state) {
  const Book book = building(static_cast<int>(state.range(0)));
  ui::Form1 form;
  form.show();
  auto* window = new ui::BookWindow(form, &form);
  window->show();
  window->document().adopt(book, {});
  ui::ScheduleModel& beams = window->schedule_model(Calculation::MainProgram_1);
  const QModelIndex cell = beams.index(0, beams.column_of(ScheduleCell::input, Field::Text2));
  int n = 0;
  for (auto _ : state) {
    beams.setData(cell, QString::number(3 + n++ % 2), Qt::EditRole);
    window->current_schedule()->viewport()->repaint();
    QApplication::processEvents();
  }
}
BENCHMARK(BM_EditOneCell)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(20);

// The same without the undo stack and what hangs on it (the recovery copy): the entry judged
// again, the schedule told of its row, the row repainted.
void BM_RepaintOneRow(benchmark::State& state) {
  const Book book = building(static_cast<int>(state.range(0)));
  ui::Form1 form;
  form.show();
  auto* window = new ui::BookWindow(form, &form);
  window->show();
  window->document().adopt(book, {});
  ui::BookModel& model = window->document().model();
  int n = 0;
  for (auto _ : state) {
    Entry edited = model.entry(0);
    edited.texts[Field::Text2] = std::to_string(3 + n++ % 2);
    model.replace_entry(0, std::move(edited));
    window->current_schedule()->viewport()->repaint();
    QApplication::processEvents();
  }
}
BENCHMARK(BM_RepaintOneRow)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  ui::configure_application(app);
  // The recovery copy each adoption writes goes to a test folder, not the user's.
  QStandardPaths::setTestModeEnabled(true);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
