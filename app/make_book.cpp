// The README's pictures of the calculation book: a small book of one storey, exported to PDF,
// and its window as the user sees it once a spreadsheet's block of five more beams has been
// pasted under them, the pasted rows still selected (scripts/book).
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QItemSelectionModel>
#include <cstdio>

#include "book/book.h"
#include "calc/memory_sheet.h"
#include "ui/application.h"
#include "ui/book/book_document.h"
#include "ui/book/book_export.h"
#include "ui/book/book_window.h"
#include "ui/book/schedule_model.h"
#include "ui/book/schedule_view.h"
#include "ui/calculator/form1.h"

namespace {

using loadcalc::Field;

loadcalc::Entry entry(loadcalc::Calculation kind, std::string name,
                      std::initializer_list<std::pair<Field, std::string_view>> changed) {
  loadcalc::MemorySheet sheet;
  for (const loadcalc::FieldInfo& f : loadcalc::fields) sheet.load(f.field, f.default_text);
  for (const auto& [field, text] : changed) sheet.load(field, text);
  return loadcalc::entry_from_sheet(sheet, kind, std::move(name));
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s BOOK.pdf WINDOW.png\n", argv[0]);
    return 2;
  }
  QApplication app(argc, argv);
  loadcalc::ui::configure_application(app);
  using loadcalc::Calculation;
  loadcalc::Book book;
  book.project = {"滨江花园 3# 住宅楼", "2026-041", "三层框架", "王工", "李工", "", "2026-12-08"};
  book.entries = {
      entry(Calculation::MainProgram_1, "KL3 ③~④轴", {}),
      entry(Calculation::MainProgram_1, "KL5 Ⓐ~Ⓑ轴",
            {{Field::Text1, "6.6"},
             {Field::Text4, "1.8"},
             {Field::Text5, "1.5"},
             {Field::Text13, "0.5"}}),
      entry(Calculation::MainProgram_1, "KL7 ⑥~⑦轴",
            {{Field::Text1, "3.0"}, {Field::Text4, "3.3"}}),
      entry(Calculation::MainProgram_2, "LT-1", {}),
      entry(Calculation::MainProgram_2, "LT-2", {{Field::Text7, "260"}, {Field::Text8, "170"}}),
  };
  if (const QString error = loadcalc::ui::export_book(book, QString::fromLocal8Bit(argv[1]));
      !error.isEmpty()) {
    std::fprintf(stderr, "%s\n", qPrintable(error));
    return 1;
  }
  loadcalc::ui::Form1 form;
  form.show();
  auto* window = new loadcalc::ui::BookWindow(form, &form);
  window->document().adopt(book, QStringLiteral("/home/wang/滨江花园3#.lcbook"));
  window->document().undo_stack().setClean();
  // Wide enough for every column of the beams' table, the refused entry's message included.
  window->resize(1380, 500);
  window->show();
  // As Excel puts a block on the clipboard: tab-separated, a line ending each row. One window
  // (KL12) is taller than its storey allows, and the pasted row is flagged.
  QGuiApplication::clipboard()->setText(
      QStringLiteral("KL9 ⑦~⑧轴\t7.2\t3.6\t0.6\t2.4\t1.8\t2.8\t0.45\t0.5\r\n"
                     "KL10 ⑧~⑨轴\t7.2\t3.6\t0.6\t2.4\t1.8\t2.8\t0.45\t0.5\r\n"
                     "KL11 Ⓑ~Ⓒ轴\t5.4\t3.6\t0.5\t1.5\t2.1\t2.8\t0.2\t0.5\r\n"
                     "KL12 Ⓒ~Ⓓ轴\t5.4\t3.6\t0.5\t1.5\t3.3\t2.8\t0.2\t0.5\r\n"
                     "L11 Ⓓ~Ⓔ轴\t3.9\t3.6\t0.4\t0\t0\t2.8\t0.45\t0.4\r\n"));
  const auto kind = Calculation::MainProgram_1;
  loadcalc::ui::ScheduleView* view = window->schedule(kind);
  const loadcalc::ui::ScheduleModel& model = window->schedule_model(kind);
  const int first = model.rowCount();
  const int name = model.column_of(loadcalc::ScheduleCell::name);
  // Pasted with no cell chosen, below the last row: the block's rows become new entries.
  view->selectionModel()->clearSelection();
  view->setCurrentIndex(QModelIndex());
  window->findChild<QAction*>(QStringLiteral("pasteCells"))->trigger();
  view->selectionModel()->select(
      QItemSelection(model.index(first, name), model.index(model.rowCount() - 1, name + 8)),
      QItemSelectionModel::ClearAndSelect);
  app.processEvents();
  return window->grab().save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
}
