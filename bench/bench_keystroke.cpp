// One keystroke in a field, from the key event to the new result caption, in-process on the
// offscreen platform. Nothing is painted: the event loop never runs inside the timed loop.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>
#include <chrono>
#include <vector>

#include "ui/application.h"
#include "ui/calculator/form1.h"

namespace {

using namespace loadcalc;

// Alternately appends "0" to Text7's "28" and takes it away again: every press is an edit that
// passes the check and rewrites Label11.
struct Keystrokes {
  ui::Form1 form;
  QLineEdit* field = form.field(Field::Text7);
  QKeyEvent zero{QEvent::KeyPress, Qt::Key_0, Qt::NoModifier, QStringLiteral("0")};
  QKeyEvent backspace{QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier, QString()};
  bool append = true;

  explicit Keystrokes(benchmark::State& state) {
    form.show();
    form.set_text(Field::Text7, "28");
    field->setCursorPosition(2);
    const QString before = form.result(ResultLabel::Label11)->text();
    QApplication::sendEvent(field, &zero);
    if (field->text() != QStringLiteral("280") ||
        form.result(ResultLabel::Label11)->text() == before)
      state.SkipWithError("the keystroke did not reach the caption");
    QApplication::sendEvent(field, &backspace);
  }

  void press() {
    QApplication::sendEvent(field, append ? &zero : &backspace);
    append = !append;
  }
};

void BM_KeystrokeToCaption(benchmark::State& state) {
  Keystrokes keys(state);
  for (auto _ : state) keys.press();
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_KeystrokeToCaption)->Repetitions(10)->ReportAggregatesOnly(true);

// The same keystrokes timed one by one, for the spread a mean hides: median and 99th percentile
// in nanoseconds as counters. Five runs, so one disturbed run does not make the figure.
void BM_KeystrokeLatency(benchmark::State& state) {
  Keystrokes keys(state);
  std::vector<double> ns;
  ns.reserve(static_cast<std::size_t>(state.max_iterations));
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    keys.press();
    ns.push_back(
        std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(ns.begin(), ns.end());
  state.counters["median_ns"] = ns[ns.size() / 2];
  state.counters["p99_ns"] = ns[(ns.size() * 99 + 99) / 100 - 1];
}
BENCHMARK(BM_KeystrokeLatency)->Iterations(20000)->Repetitions(5)->ReportAggregatesOnly(true);

// Enter: the field's calculation alone, no check.
void BM_EnterToCaption(benchmark::State& state) {
  ui::Form1 form;
  form.show();
  QLineEdit* field = form.field(Field::Text13);
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
  for (auto _ : state) QApplication::sendEvent(field, &enter);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_EnterToCaption)->Repetitions(10)->ReportAggregatesOnly(true);

// What a screen reader's query for a result's description costs: the stair's working written as
// text. Written on every keystroke it would come on top of the keystroke's own cost, so the
// description is written only when asked for.
void BM_StairDescription(benchmark::State& state) {
  ui::Form1 form;
  form.show();
  for (auto _ : state) benchmark::DoNotOptimize(form.working_plain(ResultLabel::Label11));
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_StairDescription)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ui::configure_application(app);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
