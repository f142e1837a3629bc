// Blocks of cells as the spreadsheets put them on the clipboard, and as the schedule puts them
// back for a spreadsheet.
#include <QMimeData>
#include <QtTest>
#include <memory>

#include "spreadsheet_clipboard.h"
#include "ui/clipboard_cells.h"

using loadcalc::Cells;
using loadcalc::ui::cells_from_mime;
using loadcalc::ui::mime_from_cells;

Q_DECLARE_METATYPE(Cells)

class ClipboardCellsTest : public QObject {
  Q_OBJECT

 private slots:
  void spreadsheet_html_without_text_data() {
    QTest::addColumn<QString>("html");
    QTest::addColumn<Cells>("cells");
    QTest::newRow("Excel") << QString::fromUtf8(loadcalc::test::excel_html)
                           << Cells{{"构件", "层高(m)", "备注"},
                                    {"KL1 <①>", "3.60", "首层\n加厚"},
                                    {"KL2", "3.3", ""}};
    QTest::newRow("LibreOffice") << QString::fromUtf8(loadcalc::test::libreoffice_html)
                                 << Cells{{"TB1", "280", ""}, {"TB2", "300", "注 & 说明"}};
  }
  void spreadsheet_html_without_text() {
    QFETCH(QString, html);
    QFETCH(Cells, cells);
    QMimeData mime;
    mime.setHtml(html);
    QCOMPARE(cells_from_mime(mime), cells);
  }

  // The text is what the spreadsheet meant; its HTML is read only when there is no text.
  void text_comes_first() {
    QMimeData mime;
    mime.setText(QStringLiteral("a\tb\r\n"));
    mime.setHtml(QString::fromUtf8(loadcalc::test::libreoffice_html));
    QCOMPARE(cells_from_mime(mime), (Cells{{"a", "b"}}));
    QCOMPARE(cells_from_mime(QMimeData()), Cells{});
  }

  // A copied block pastes back as itself, from its text and, alone, from its HTML.
  void copied_blocks_paste_back() {
    const Cells block{
        {"KL1", "4.0", ""}, {"a<b", "x & \"y\"", "层高"}, {"two\nlines", "\"q\"", "5"}};
    const std::unique_ptr<QMimeData> mime(mime_from_cells(block));
    QCOMPARE(cells_from_mime(*mime), block);
    QMimeData html_only;
    html_only.setHtml(mime->html());
    QCOMPARE(cells_from_mime(html_only), block);
  }
};

QTEST_MAIN(ClipboardCellsTest)
#include "test_clipboard_cells.moc"
