// A paste into the book, and an import, as the undo stack sees them: one step, however large.
#include <QSignalSpy>
#include <QUndoStack>
#include <QtTest>

#include "book/schedule_edit.h"
#include "tests/support/entries.h"
#include "ui/book/book_commands.h"
#include "ui/book/book_model.h"

using namespace loadcalc;

class BookPasteTest : public QObject {
  Q_OBJECT

 private slots:
  void a_paste_is_one_undo_step() {
    ui::BookModel model;
    Book book;
    book.entries = {test::beam("KL1"), test::stair("TB1")};
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
