// Blocks of cells as the spreadsheets put them on the clipboard, and as the schedule puts them
// back for a spreadsheet.
#include <QMimeData>
#include <QtTest>
#include <memory>

#include "spreadsheet_clipboard.h"
#include "ui/clipboard_cells.h"

using loadcalc::Cells;
using loadcalc::ui::cells_from_mime;

Q_DECLARE_METATYPE(Cells)

class ClipboardCellsTest : public QObject {
  Q_OBJECT

 private slots:
  void spreadsheet_blocks_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("html");
    QTest::addColumn<Cells>("cells");
    QTest::newRow("Excel") << "" << QString::fromUtf8(loadcalc::test::excel_html)
                           << Cells{{"KL1 <①>", "", "备注"}, {"KL2", "3.60", "首层\n加厚"}};
    QTest::newRow("LibreOffice") << "" << QString::fromUtf8(loadcalc::test::libreoffice_html)
                                 << Cells{{"TB1", "280", ""}};
    // The text is what the spreadsheet meant; its HTML is read only when there is no text.
    QTest::newRow("text first") << "a\tb\r\n"
                                << QString::fromUtf8(loadcalc::test::libreoffice_html)
                                << Cells{{"a", "b"}};
  }
  void spreadsheet_blocks() {
    QFETCH(QString, text);
    QFETCH(QString, html);
    QFETCH(Cells, cells);
    QMimeData mime;
    if (!text.isEmpty()) mime.setText(text);
    mime.setHtml(html);
    QCOMPARE(cells_from_mime(mime), cells);
  }

  // A copied block pastes back as itself, from its text and, alone, from its HTML.
  void copied_blocks_paste_back() {
    const Cells block{{"KL1", "", "层高"}, {"a<b", "x & \"y\"", "two\nlines"}};
    const std::unique_ptr<QMimeData> mime(loadcalc::ui::mime_from_cells(block));
    QCOMPARE(cells_from_mime(*mime), block);
    QMimeData html_only;
    html_only.setHtml(mime->html());
    QCOMPARE(cells_from_mime(html_only), block);
  }
};

QTEST_MAIN(ClipboardCellsTest)
#include "test_clipboard_cells.moc"
