// A paste into the book, and an import, as the undo stack sees them: one step, however large.
#include <QStatusBar>
#include <QTemporaryDir>
#include <QUndoStack>
#include <QtTest>

#include "app/workspace.h"
#include "book/schedule_edit.h"
#include "gui_fixture.h"
#include "tests/support/entries.h"
#include "ui/book/book_commands.h"
#include "ui/book/book_document.h"
#include "ui/book/book_model.h"
#include "ui/book/book_window.h"

using namespace loadcalc;
using namespace loadcalc::test;

class BookPasteTest : public WindowTest {
  Q_OBJECT

  QTemporaryDir dir_;

  ui::BookWindow* book() {
    auto* w = fx->form->findChild<app::Workspace*>();
    return (w ? *w : *new app::Workspace(*fx->form)).book_window();
  }
  QString file(const char* name, const char* text) {
    const QString path = dir_.filePath(QString::fromLatin1(name));
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(text) >= 0 ? path : QString();
  }

 private slots:
  void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

  // Refused and short rows come in all the same, counted; a file that is no schedule says why.
  void an_import_is_one_undo_step() {
    book()->append(stair("LT-1"));
    const Book before = book()->document().book();
    QUndoStack& stack = book()->document().undo_stack();
    QVERIFY(book()->import_file(file("walls.csv",
                                     "构件,类型,bay_span,storey_height,beam_depth,opening_width,"
                                     "opening_height,wall_weight,window_weight,column_width,"
                                     "step_width\n"
                                     "KL1,梁,6.0,3.3,0.5,1.5,2.1,3.0,0.5,0.4,\n"
                                     "KL2,梁,abc,3.3,0.5,1.5,2.1,3.0,0.5,0.4,\n"
                                     "TB1,楼梯,,,,,,,,,300\n")));
    QCOMPARE(book()->document().book().entries.size(), std::size_t(4));
    QCOMPARE(book()->statusBar()->currentMessage(),
             QStringLiteral("导入 3 条计算，其中 1 条缺少输入，已填默认值；1 条未通过检查"));
    stack.undo();
    QVERIFY(book()->document().book() == before);

    QVERIFY(!book()->import_file(file("bad.csv", "名称,层高\nKL1,3.3\n")));
    QVERIFY(book()->document().book() == before);
    QVERIFY(fx->watcher.take_boxes().join(u'\n').startsWith(
        QStringLiteral("导入计算表 | 第 1 行第 1 列：不认识的列 “名称”")));
  }

  void a_thousand_row_paste_is_one_undo_step() {
    ui::BookModel model;
    Book book;
    book.entries = {beam("KL1"), stair("TB1")};
    model.reset(book);
    Cells block;
    for (int i = 1; i <= 1000; ++i) block.push_back({"KL" + std::to_string(i), "5.0"});
    const auto pasted = paste_block(model.book(), Calculation::MainProgram_1, 0, 1, block);
    QVERIFY(std::holds_alternative<PasteResult>(pasted));
    QUndoStack stack;
    stack.push(new ui::SetEntriesCommand(model, std::get<PasteResult>(pasted).entries,
                                         QStringLiteral("粘贴")));
    QCOMPARE(model.rowCount(), 1001);
    stack.undo();
    QVERIFY(model.book() == book);
  }
};

QTEST_MAIN(BookPasteTest)
#include "test_book_paste.moc"
