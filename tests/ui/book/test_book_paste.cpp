// A paste into the book, and an import, as the undo stack sees them: one step, however large.
#include <QSignalSpy>
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
    if (!f.open(QIODevice::WriteOnly) || f.write(text) < 0) return {};
    return path;
  }

 private slots:
  void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

  // Appended after the book's entries; the report counts the rows given default texts and the
  // rows the checks refuse, which are imported all the same.
  void an_import_is_one_undo_step() {
    book()->append(stair("LT-1"));
    const Book before = book()->document().book();
    QUndoStack& stack = book()->document().undo_stack();
    const int steps = stack.count();
    const QString schedule =
        file("walls.csv",
             "构件,类型,bay_span,storey_height,beam_depth,opening_width,"
             "opening_height,wall_weight,window_weight,column_width,step_width\n"
             "KL1,梁,6.0,3.3,0.5,1.5,2.1,3.0,0.5,0.4,\n"
             "KL2,梁,abc,3.3,0.5,1.5,2.1,3.0,0.5,0.4,\n"
             "TB1,楼梯,,,,,,,,,300\n");
    QVERIFY(book()->import_file(schedule));

    QCOMPARE(stack.count(), steps + 1);
    QCOMPARE(stack.undoText(), QStringLiteral("导入计算表"));
    const auto& entries = book()->document().book().entries;
    QCOMPARE(entries.size(), std::size_t(4));
    QCOMPARE(entries[1].name + entries[2].name + entries[3].name, std::string("KL1KL2TB1"));
    QCOMPARE(entries[2].texts.at(Field::Text1), std::string("abc"));
    QCOMPARE(book()->statusBar()->currentMessage(),
             QStringLiteral("导入 3 条计算，其中 1 条缺少输入，已填默认值；1 条未通过检查"));
    stack.undo();
    QVERIFY(book()->document().book() == before);

    // A file that is no schedule changes nothing and says why.
    QVERIFY(!book()->import_file(file("bad.csv", "名称,层高\nKL1,3.3\n")));
    QVERIFY(book()->document().book() == before);
    const QStringList boxes = fx->watcher.take_boxes();
    QCOMPARE(boxes.size(), 1);
    QVERIFY2(boxes[0].startsWith(QStringLiteral("导入计算表 | 第 1 行第 1 列：不认识的列 “名称”")),
             qPrintable(boxes[0]));
  }

  void a_paste_is_one_undo_step() {
    ui::BookModel model;
    Book book;
    book.entries = {beam("KL1"), stair("TB1")};
    model.reset(book);
    QUndoStack stack;

    Cells block{{"KL1", "bad"}};
    for (int i = 2; i <= 1000; ++i) block.push_back({"KL" + std::to_string(i), "5.0"});
    const auto pasted = paste_block(model.book(), Calculation::MainProgram_1, 0, 1, block);
    QVERIFY(std::holds_alternative<PasteResult>(pasted));
    const std::vector<Entry> after = std::get<PasteResult>(pasted).entries;
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    stack.push(new ui::SetEntriesCommand(model, after, QStringLiteral("粘贴")));

    QCOMPARE(stack.count(), 1);
    QCOMPARE(stack.undoText(), QStringLiteral("粘贴"));
    QCOMPARE(reset.count(), 1);
    QCOMPARE(model.rowCount(), 1001);
    QVERIFY(model.book().entries == after);
    // Each entry is judged as pasted: the bad text is flagged, a new beam is not.
    QVERIFY(!model.result(0).valid);
    QVERIFY(model.result(1000).valid);
    QCOMPARE(model.entry(1000).name, std::string("KL1000"));

    stack.undo();
    QVERIFY(model.book() == book);
    QVERIFY(model.result(0).valid);
    stack.redo();
    QVERIFY(model.book().entries == after);
  }
};

QTEST_MAIN(BookPasteTest)
#include "test_book_paste.moc"
