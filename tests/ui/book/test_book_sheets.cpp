// A book entry's sheet on paper: a wall of six layers and six openings keeps to one A4 page, a
// longer one flows onto numbered pages, and the sheet shows the build-up and the openings.
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

namespace {

// A beam of `layers` layers and `openings` openings, each small enough for the bay.
Entry wall_of(int layers, int openings) {
  Entry e = beam("KL7 ①~②轴", {{Field::Text1, "8.4"}, {Field::Text2, "4.2"}});
  for (Field f : {Field::Text4, Field::Text5, Field::Text6, Field::Text11}) e.texts.erase(f);
  auto& l = e.assumptions.wall_layers.emplace();
  for (int i = 0; i < layers; ++i)
    l.push_back(i % 2 == 0 ? WallLayerText{"石灰砂浆", LayerBasis::thickness, "20", "17"}
                           : WallLayerText{"贴瓷砖墙面", LayerBasis::area, "", "0.50"});
  auto& o = e.assumptions.openings.emplace();
  for (int i = 0; i < openings; ++i) o.push_back({"0.1", "1.5", "1", "0.45", "钢框玻璃窗"});
  return e;
}

int pages_of(const QByteArray& pdf) {
  return static_cast<int>(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") +
                          pdf.count("/Type /Page/") + pdf.count("/Type /Page>"));
}

class BookSheetsTest : public QObject {
  Q_OBJECT

 private slots:
  void a_sheet_keeps_to_one_page_up_to_six_layers_and_openings_data() {
    QTest::addColumn<int>("layers");
    QTest::addColumn<int>("openings");
    QTest::addColumn<int>("pages");  // the cover's one and the sheet's
    QTest::newRow("none stated") << -1 << -1 << 2;
    QTest::newRow("six and six") << 6 << 6 << 2;
    QTest::newRow("twenty and fifty") << 20 << 50 << 4;
  }
  void a_sheet_keeps_to_one_page_up_to_six_layers_and_openings() {
    QFETCH(int, layers);
    QFETCH(int, openings);
    QFETCH(int, pages);
    Book b;
    b.project.name = "试验楼";
    b.entries = {layers < 0 ? beam("KL1") : wall_of(layers, openings)};
    const QString pdf = dir_.filePath(QStringLiteral("book%1.pdf").arg(pages));
    QCOMPARE(ui::export_book(b, pdf), QString());
    QFile file(pdf);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(pages_of(file.readAll()), pages);
    if (pages < 3 || QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) return;
    // Every page the sheet flows onto is numbered among the book's.
    QProcess tool;
    tool.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    QVERIFY(tool.waitForFinished(30000));
    const QString text = QString::fromUtf8(tool.readAllStandardOutput()).remove(u' ');
    QVERIFY(text.contains(QStringLiteral("第4页共4页")));
    QVERIFY(text.contains(QStringLiteral("框架梁上均布线荷载：")));
  }

  void the_sheet_shows_the_build_up_and_the_openings() {
    Book b;
    b.entries = {wall_of(2, 1)};
    const QString html = dir_.filePath(QStringLiteral("book.html"));
    QCOMPARE(ui::export_book(b, html), QString());
    QFile file(html);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    // 0.02 × 17 + 0.50; one window of 0.1 × 1.5 at 0.45 kN/m².
    for (const char* piece :
         {"石灰砂浆", "贴瓷砖墙面", "GB 50009—2012 附录A 表A 第6项", "0.8400", "钢框玻璃窗",
          "0.1500", "0.06750", "GB 50009—2012 附录A 表A 第12项（所列 0.4～0.45 kN/m²）"})
      QVERIFY2(text.contains(QString::fromUtf8(piece)), piece);
    // The replaced fields are not among the inputs.
    QVERIFY(!text.contains(QStringLiteral("墙自重</td>")));
    QVERIFY(!text.contains(QStringLiteral("门窗洞口宽度")));
  }

 private:
  QTemporaryDir dir_;
};

}  // namespace

QTEST_MAIN(BookSheetsTest)
#include "test_book_sheets.moc"
