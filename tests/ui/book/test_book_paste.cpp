// A paste into the book, and an import, as the undo stack sees them: one step, however large.
#include <QStatusBar>
#include <QtTest>

#include "app/workspace.h"
#include "book/schedule_edit.h"
#include "gui_fixture.h"
#include "ui/book/book_commands.h"
#include "ui/book/book_document.h"
#include "ui/book/book_window.h"

using namespace loadcalc;

class BookPasteTest : public test::WindowTest {
  Q_OBJECT

 private slots:
  void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

  // An import's refused and short rows come in all the same, counted.
  void a_paste_or_an_import_is_one_undo_step() {
    ui::BookWindow* book = (new app::Workspace(*fx->form))->book_window();
    ui::BookDocument& doc = book->document();
    const auto pasted = std::get<PasteResult>(
        paste_block(doc.book(), Calculation::MainProgram_1, 0, 1, Cells(1000, {"KL", "5.0"})));
    doc.undo_stack().push(new ui::SetEntriesCommand(doc.model(), pasted.entries, "粘贴"));
    QTemporaryFile csv(QDir::tempPath() + "/XXXXXX.csv");
    QVERIFY(csv.open() &&
            csv.write("构件,类型,bay_span,storey_height,beam_depth,opening_width,opening_height,"
                      "wall_weight,window_weight,column_width,step_width\n"
                      "KL1,梁,6.0,3.3,0.5,1.5,2.1,3.0,0.5,0.4,\nKL2,梁,abc,3.3,0.5,1.5,2.1,3.0,0.5,"
                      "0.4,\nTB1,楼梯,,,,,,,,,300\n") > 0 &&
            csv.flush());
    QVERIFY(book->import_file(csv.fileName()));
    QCOMPARE(book->statusBar()->currentMessage(),
             QStringLiteral("导入 3 条计算，其中 1 条缺少输入，已填默认值；1 条未通过检查"));
    doc.undo_stack().undo();  // the import, whole, leaving the paste
    QCOMPARE(doc.book().entries.size(), std::size_t(1000));
    doc.undo_stack().undo();
    QVERIFY(doc.book().entries.empty());
  }
};

QTEST_MAIN(BookPasteTest)
#include "test_book_paste.moc"
