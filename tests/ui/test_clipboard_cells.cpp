// Blocks of cells as a spreadsheet puts them on the clipboard, and as the schedule puts them back.
#include <QMimeData>
#include <QtTest>
#include <memory>
#include <tuple>

#include "spreadsheet_clipboard.h"
#include "ui/clipboard_cells.h"

using namespace loadcalc;

class ClipboardCellsTest : public QObject {
  Q_OBJECT

 private slots:
  // The text is what the spreadsheet meant; its HTML is read only when there is no text.
  void spreadsheet_blocks() {
    const std::tuple<QString, const char*, Cells> rows[] = {
        {"", test::excel_html, {{"KL1 <①>", "", "备注"}, {"KL2", "3.60", "首层\n加厚"}}},
        {"", test::libreoffice_html, {{"TB1", "280", ""}}},
        {"a\tb\r\n", test::excel_html, {{"a", "b"}}},
    };
    for (const auto& [text, html, cells] : rows) {
      QMimeData mime;
      if (!text.isEmpty()) mime.setText(text);
      mime.setHtml(QString::fromUtf8(html));
      QCOMPARE(ui::cells_from_mime(mime), cells);
    }
  }

  // A copied block pastes back as itself, from its text and, alone, from its HTML.
  void copied_blocks_paste_back() {
    const Cells block{{"KL1", "", "层高"}, {"a<b", "x & \"y\"", "two\nlines"}};
    const std::unique_ptr<QMimeData> mime(ui::mime_from_cells(block));
    QCOMPARE(ui::cells_from_mime(*mime), block);
    mime->removeFormat(QStringLiteral("text/plain"));
    QCOMPARE(ui::cells_from_mime(*mime), block);
  }
};

QTEST_MAIN(ClipboardCellsTest)
#include "test_clipboard_cells.moc"
