// A book entry's sheet on paper: six layers and six openings keep to one A4 page, a longer wall
// flows onto pages numbered among the book's.
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include "book/book.h"
#include "tests/support/entries.h"
#include "ui/book/book_export.h"

using namespace loadcalc;
using namespace loadcalc::test;

class BookSheetsTest : public QObject {
  Q_OBJECT
  QTemporaryDir dir_;

 private slots:
  void a_sheet_keeps_to_one_page_up_to_six_layers_and_openings_data() {
    QTest::addColumn<int>("layers");
    QTest::addColumn<int>("openings");
    QTest::addColumn<int>("pages");  // the cover's one and the sheet's
    QTest::addColumn<QString>("footer");
    QTest::newRow("six and six") << 6 << 6 << 2 << "第2页共2页";
    QTest::newRow("twenty and fifty") << 20 << 50 << 4 << "第4页共4页";
  }
  void a_sheet_keeps_to_one_page_up_to_six_layers_and_openings() {
    QFETCH(int, layers);
    QFETCH(int, openings);
    QFETCH(int, pages);
    QFETCH(QString, footer);
    Entry e = beam("KL7 ①~②轴", {{Field::Text1, "8.4"}, {Field::Text2, "4.2"}});
    for (Field f : {Field::Text4, Field::Text5, Field::Text6, Field::Text11}) e.texts.erase(f);
    auto& stated_layers = e.assumptions.wall_layers.emplace();
    auto& stated_openings = e.assumptions.openings.emplace();
    // Plaster by thickness and tiles by area, as a wall's two faces are finished.
    for (int i = 0; i < layers; ++i)
      stated_layers.push_back(i % 2 == 0
                                  ? WallLayerText{"石灰砂浆", LayerBasis::thickness, "20", "17"}
                                  : WallLayerText{"贴瓷砖墙面", LayerBasis::area, "", "0.50"});
    for (int i = 0; i < openings; ++i)
      stated_openings.push_back({"0.1", "1.5", "1", "0.45", "钢框玻璃窗"});
    Book b;
    b.entries = {e};
    const QString pdf = dir_.filePath(QStringLiteral("book%1.pdf").arg(pages));
    QCOMPARE(ui::export_book(b, pdf), QString());
    QFile file(pdf);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QCOMPARE(bytes.count("/Type /Page\n") + bytes.count("/Type /Page>") +
                 bytes.count("/Type /Page/") + bytes.count("/Type /Page\r"),
             pages);
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) return;
    QProcess tool;
    tool.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    QVERIFY(tool.waitForFinished(30000));
    QVERIFY(QString::fromUtf8(tool.readAllStandardOutput()).remove(u' ').contains(footer));
  }
};

QTEST_MAIN(BookSheetsTest)
#include "test_book_sheets.moc"
