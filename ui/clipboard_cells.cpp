// The HTML is read by QTextDocument, which knows the tables Excel, WPS and LibreOffice write,
// with their styles, comments and merged cells.

#include "ui/clipboard_cells.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

#include "ui/qt_text.h"

namespace loadcalc::ui {
namespace {

std::string utf8(const QString& s) {
  const QByteArray bytes = s.toUtf8();
  return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

QTextTable* first_table(QTextFrame* frame) {
  for (QTextFrame* child : frame->childFrames()) {
    if (auto* table = qobject_cast<QTextTable*>(child)) return table;
    if (QTextTable* inner = first_table(child)) return inner;
  }
  return nullptr;
}

// A cell's text with its line breaks as a spreadsheet's text has them. A break that ends the
// cell is how LibreOffice writes an empty one ("<td><br></td>"), not part of the text.
std::string cell_text(const QTextTableCell& cell) {
  QTextCursor cursor = cell.firstCursorPosition();
  cursor.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
  QString text = cursor.selectedText();
  text.replace(QChar::ParagraphSeparator, u'\n').replace(QChar::LineSeparator, u'\n');
  text.replace(QChar::Nbsp, u' ');
  while (text.endsWith(u'\n')) text.chop(1);
  return utf8(text);
}

Cells table_cells(const QString& html) {
  QTextDocument document;
  document.setHtml(html);
  QTextTable* table = first_table(document.rootFrame());
  if (table == nullptr) return parse_tsv(utf8(document.toPlainText()));
  Cells out(static_cast<std::size_t>(table->rows()));
  for (int r = 0; r < table->rows(); ++r) {
    auto& row = out[static_cast<std::size_t>(r)];
    for (int c = 0; c < table->columns(); ++c) {
      const QTextTableCell cell = table->cellAt(r, c);
      // A merged cell's text is in its first place only, as a spreadsheet pastes it.
      row.push_back(cell.row() == r && cell.column() == c ? cell_text(cell) : std::string());
    }
  }
  return out;
}

}  // namespace

Cells cells_from_mime(const QMimeData& mime) {
  if (mime.hasText() && !mime.text().isEmpty()) return parse_tsv(utf8(mime.text()));
  if (mime.hasHtml()) return table_cells(mime.html());
  return {};
}

QMimeData* mime_from_cells(const Cells& cells) {
  auto* mime = new QMimeData;
  mime->setText(qstring(block_tsv(cells)));
  mime->setHtml(qstring(block_html(cells)));
  return mime;
}

}  // namespace loadcalc::ui
