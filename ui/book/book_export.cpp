// The book as a printed 计算书: a cover with the project and the summary of every member (the
// table an engineer types into the design software), then each entry's calculation sheet on a
// page of its own. PDF and print paint the same pages; ODT and HTML carry the same content as one
// flowing document (a word processor numbers its own pages).
#include "ui/book/book_export.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>
#include <QTextDocument>
#include <QTextDocumentWriter>
#include <array>
#include <memory>

#include "book/book.h"
#include "book/evaluate.h"
#include "book/file.h"
#include "book/summary.h"
#include "book/xlsx.h"
#include "calc/calculations.h"
#include "calc/fields.h"
#include "calc/report.h"
#include "ui/book/book_model.h"
#include "ui/print_sheets.h"
#include "ui/qt_text.h"

namespace loadcalc::ui {

namespace {

QString escaped(std::string_view s) {
  return qstring(s).toHtmlEscaped();
}

QString cover_html(const Book& book) {
  const Project& p = book.project;
  QString rows;
  for (std::size_t i = 0; i < book.entries.size(); ++i) {
    const Entry& e = book.entries[i];
    const EntryResult r = evaluate(e);
    rows += QStringLiteral("<tr><td align=\"right\">") + QString::number(i + 1) +
            QStringLiteral("</td><td>") + escaped(e.name) + QStringLiteral("</td><td>") +
            escaped(calculation_info(e.kind).kind_name) + QStringLiteral("</td>");
    // A refused entry says why, in the place where a figure would be copied from.
    if (r.valid)
      rows += QStringLiteral("<td align=\"right\">") + escaped(caption_number(r, e.kind)) +
              QStringLiteral("</td><td>") + escaped(result_unit(e.kind)) + QStringLiteral("</td>");
    else
      rows += QStringLiteral("<td colspan=\"2\"><font color=\"#b00020\">无效：") +
              escaped(r.message) + QStringLiteral("</font></td>");
    rows += QStringLiteral("</tr>");
  }
  QString info;
  for (const ProjectFieldInfo& f : project_fields)
    if (!f.signs)
      info += QStringLiteral("<tr><td>") + qstring(f.caption) + QStringLiteral("：</td><td>") +
              escaped(p.*f.member) + QStringLiteral("</td></tr>");
  return QStringLiteral("<h2 align=\"center\">") + escaped(p.name) +
         QStringLiteral(" 计算书</h2><table cellpadding=\"2\">") + info +
         QStringLiteral(
             "</table><h3>构件荷载汇总</h3>"
             "<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\">"
             "<tr><th width=\"6%\">序号</th><th>构件</th><th>类型</th><th>结果</th>"
             "<th width=\"12%\">单位</th></tr>") +
         rows + QStringLiteral("</table>");
}

// A valid entry's page is the calculator's own calculation sheet, headed with the project and
// the member and signed at its foot.
SheetHeader sheet_header(const Book& book, const Entry& e, int page, int pages) {
  SheetHeader header;
  header.title = book.project.name.empty() ? std::string() : book.project.name + " 计算书";
  header.project = book.project;
  header.member = e.name;
  header.program = "loadcalc " LOADCALC_VERSION;
  header.page = page;
  header.pages = pages;
  return header;
}

// Every field's text, the entry's own where it holds one.
std::array<std::string, field_count> sheet_texts(const Entry& e) {
  std::array<std::string, field_count> texts;
  for (const FieldInfo& f : fields) texts[index_of(f.field)] = f.default_text;
  for (const auto& [field, text] : e.texts) texts[index_of(field)] = text;
  return texts;
}

QString sheet_page(const Book& book, const Entry& e, int page, int pages) {
  const Calculation shown[] = {e.kind};
  return qstring(sheet_html(sheet_header(book, e, page, pages), sheet_texts(e), shown));
}

// A word processor numbers its own pages: the sheet without its page line.
QString sheet_part(const Book& book, const Entry& e) {
  const Calculation shown[] = {e.kind};
  return qstring(sheet_fragment(sheet_header(book, e, 1, 1), sheet_texts(e), shown));
}

// An entry the calculator would refuse gets its inputs and the reason, and no working: a working
// would end in a figure, and the book never presents such a figure.
QString refused_html(const Entry& e) {
  QString inputs;
  for (const auto& [field, text] : e.texts) {
    const FieldInfo& f = field_info(field);
    inputs += QStringLiteral("<tr><td>") + qstring(f.term) +
              QStringLiteral("</td><td align=\"right\">") + qstring(text).toHtmlEscaped() +
              QStringLiteral("</td><td>") + qstring(f.unit) + QStringLiteral("</td></tr>");
  }
  QString html = QStringLiteral("<h3>") + escaped(e.name) + QStringLiteral("（") +
                 escaped(calculation_info(e.kind).kind_name) +
                 QStringLiteral(
                     "）</h3><table border=\"1\" cellspacing=\"0\" cellpadding=\"3\">"
                     "<tr><th>输入项</th><th>输入值</th><th>单位</th></tr>") +
                 inputs + QStringLiteral("</table>");
  if (!e.note.empty())
    html += QStringLiteral("<p>备注：") + escaped(e.note) + QStringLiteral("</p>");
  return html + QStringLiteral("<p><font color=\"#b00020\"><b>无效：") +
         escaped(evaluate(e).message) +
         QStringLiteral("</b></font></p><p>此条目未通过计算器的检查，不给出结果。</p>");
}

QString header_html(const Book& book, const QString& member) {
  QString cells;
  for (const ProjectFieldInfo& f : project_fields)
    if (!f.signs)
      cells += QStringLiteral("<td>") + qstring(f.caption) + QStringLiteral("：") +
               escaped(book.project.*f.member) + QStringLiteral("</td>");
  if (!member.isEmpty())
    cells += QStringLiteral("<td>构件：") + member.toHtmlEscaped() + QStringLiteral("</td>");
  return QStringLiteral("<table width=\"100%\"><tr>") + cells + QStringLiteral("</tr></table>");
}

// 计算：… 校对：… 审核：… 日期：…, a line to sign where a name is still missing.
QString signatures_html(const Book& book) {
  QString signatures;
  for (const ProjectFieldInfo& f : project_fields) {
    if (!f.signs) continue;
    const std::string& text = book.project.*f.member;
    signatures += qstring(f.caption) + QStringLiteral("：") +
                  (text.empty() ? QStringLiteral("________") : escaped(text)) +
                  QStringLiteral("　　");
  }
  return signatures;
}

QString footer_html(const Book& book, int page, int pages) {
  return QStringLiteral("<table width=\"100%\"><tr><td>") + signatures_html(book) +
         QStringLiteral("</td><td align=\"right\">第 %1 页 共 %2 页</td></tr></table>")
             .arg(page)
             .arg(pages);
}

// The cover, on as many pages as the summary needs, then a page per entry; every page under the
// project's header band and over the signatures and the page number, except a valid entry's,
// which is its calculation sheet and carries its own.
class BookPages {
 public:
  BookPages(const Book& book, QPagedPaintDevice& device) : book_(book), printer_(device) {
    const QRectF& page = printer_.page();
    band_ = 12 * printer_.millimetre();
    body_ = QRectF(0, band_, page.width(), page.height() - 2 * band_);
  }

  void paint() {
    const auto cover = printer_.document(cover_html(book_));
    cover->setPageSize(body_.size());
    const int cover_pages = cover->pageCount();
    const int pages = cover_pages + static_cast<int>(book_.entries.size());
    for (int p = 0; p < cover_pages; ++p) cover_page(*cover, p, pages);
    for (std::size_t i = 0; i < book_.entries.size(); ++i)
      entry_page(book_.entries[i], cover_pages + static_cast<int>(i) + 1, pages);
  }

 private:
  void cover_page(QTextDocument& cover, int p, int pages) {
    printer_.start_page();
    frame({}, p + 1, pages);
    QPainter& painter = printer_.painter();
    painter.save();
    painter.translate(body_.topLeft() - QPointF(0, p * body_.height()));
    cover.drawContents(&painter, QRectF(0, p * body_.height(), body_.width(), body_.height()));
    painter.restore();
  }

  void entry_page(const Entry& e, int page, int pages) {
    if (evaluate(e).valid) {
      printer_.sheet(sheet_page(book_, e, page, pages));
      return;
    }
    printer_.start_page();
    frame(qstring(e.name), page, pages);
    printer_.fit(refused_html(e), body_);
  }

  void frame(const QString& member, int page, int pages) {
    const qreal width = printer_.page().width();
    printer_.fit(header_html(book_, member), QRectF(0, 0, width, band_));
    printer_.painter().drawLine(QPointF(0, band_ * 0.8), QPointF(width, band_ * 0.8));
    const QRectF bottom(0, printer_.page().height() - band_ * 0.6, width, band_ * 0.6);
    printer_.painter().drawLine(bottom.topLeft(), bottom.topRight());
    printer_.fit(footer_html(book_, page, pages), bottom.translated(0, band_ * 0.1));
  }

  const Book& book_;
  SheetPrinter printer_;
  QRectF body_;
  qreal band_ = 0;
};

// Cover and sheets as one flowing document, each sheet starting a page.
QString flowing_html(const Book& book) {
  QString html = QStringLiteral("<html><head><meta charset=\"utf-8\"><title>") +
                 escaped(book.project.name) + QStringLiteral(" 计算书</title></head><body>") +
                 header_html(book, {}) + cover_html(book) + QStringLiteral("<p>") +
                 signatures_html(book) + QStringLiteral("</p>");
  for (const Entry& e : book.entries) {
    // A sheet starts on a line of its own, as it does in its own page.
    const QString page = evaluate(e).valid ? u'\n' + sheet_part(book, e)
                                           : header_html(book, qstring(e.name)) + refused_html(e);
    html += QStringLiteral("<div style=\"page-break-before:always\"><hr>") + page +
            QStringLiteral("</div>");
  }
  return html + QStringLiteral("</body></html>");
}

// The device's own reason when it did not take all the bytes.
QString written(QIODevice& out, const QByteArray& bytes) {
  return out.write(bytes) == bytes.size() ? QString() : out.errorString();
}
QString written(QIODevice& out, const std::string& bytes) {
  return written(out, QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

QString write_pdf(const Book& book, QIODevice& out) {
  QPdfWriter pdf(&out);
  pdf.setTitle(qstring(book.project.name) + QStringLiteral(" 计算书"));
  pdf.setCreator(QStringLiteral("loadcalc"));
  pdf.setResolution(600);
  BookPages(book, pdf).paint();
  return {};
}

QString write_odt(const Book& book, QIODevice& out) {
  // The ODF writer closes the device it is given, which a QSaveFile forbids: the file is made in
  // memory first.
  const auto doc = sheet_document(flowing_html(book), nullptr);
  QBuffer odt;
  if (!QTextDocumentWriter(&odt, "odf").write(doc.get()))
    return QStringLiteral("无法生成 ODF 文档");
  return written(out, odt.data());
}

QString write_html(const Book& book, QIODevice& out) {
  return written(out, flowing_html(book).toUtf8());
}

QString write_csv(const Book& book, QIODevice& out) {
  return written(out, summary_csv(book));
}

QString write_xlsx(const Book& book, QIODevice& out) {
  std::string bytes;
  if (auto reason = xlsx_workbook(book, bytes)) return qstring(*reason);
  return written(out, bytes);
}

// The book itself: a schedule read on the command line becomes a book the window opens.
QString write_lcbook(const Book& book, QIODevice& out) {
  return written(out, write_book(book));
}

// In the order the message for an unknown extension names them.
constexpr ExportFormat formats[] = {
    {"pdf", "", "PDF", write_pdf},
    {"odt", "", "ODF 文本文档", write_odt},
    {"html", "htm", "HTML", write_html},
    {"csv", "", "CSV", write_csv},
    {"xlsx", "", "Excel 工作簿", write_xlsx},
    {"lcbook", "", "loadcalc 计算书", write_lcbook},
};

QString write_error(const QString& path, const QString& reason) {
  return QStringLiteral("无法写入“%1”：%2").arg(QFileInfo(path).fileName(), reason);
}

}  // namespace

std::span<const ExportFormat> export_formats() {
  return formats;
}

const ExportFormat* export_format_of(const QString& path) {
  const QString suffix = QFileInfo(path).suffix();
  for (const ExportFormat& f : formats)
    for (std::string_view extension : {f.extension, f.also})
      if (!extension.empty() && suffix.compare(qstring(extension), Qt::CaseInsensitive) == 0)
        return &f;
  return nullptr;
}

QString export_filter(const ExportFormat& format) {
  return qstring(format.name) + QStringLiteral(" (*.") + qstring(format.extension) + u')';
}

QString unknown_format_message(const QString& name) {
  QString choices;
  for (std::size_t i = 0; i < std::size(formats); ++i) {
    if (i > 0)
      choices += i + 1 < std::size(formats) ? QStringLiteral("、") : QStringLiteral(" 或 ");
    choices += u'.' + qstring(formats[i].extension);
  }
  return QStringLiteral("不能导出为“%1”：请用 ").arg(name) + choices;
}

void print_book(const Book& book, QPrinter& printer) {
  BookPages(book, printer).paint();
}

QString export_book(const Book& book, const QString& out_path) {
  const ExportFormat* format = export_format_of(out_path);
  if (!format) return unknown_format_message(u'.' + QFileInfo(out_path).suffix().toLower());
  // Written beside the target and renamed over it: a failed export leaves no half a file.
  QSaveFile file(out_path);
  if (!file.open(QIODevice::WriteOnly)) return write_error(out_path, file.errorString());
  if (const QString reason = format->write(book, file); !reason.isEmpty()) {
    file.cancelWriting();
    return write_error(out_path, reason);
  }
  if (!file.commit()) return write_error(out_path, file.errorString());
  return {};
}

}  // namespace loadcalc::ui
