// The book as a printed 计算书: a cover with the project and the summary of every member (the
// table an engineer types into the design software), then each entry's calculation sheet on a
// page of its own. PDF and print paint the same pages; ODT and HTML carry the same content as one
// flowing document (a word processor numbers its own pages).
#include "ui/book/book_export.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>
#include <QTextDocument>
#include <QTextDocumentWriter>
#include <array>
#include <cerrno>
#include <memory>
#include <string_view>
#include <vector>

#include "book/book.h"
#include "book/evaluate.h"
#include "book/file.h"
#include "book/summary.h"
#include "book/system_error.h"
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
// the member.
SheetHeader sheet_header(const Book& book, const Entry& e) {
  SheetHeader header;
  header.title = book.project.name.empty() ? std::string() : book.project.name + " 计算书";
  header.project = book.project;
  header.member = e.name;
  header.program = "loadcalc " LOADCALC_VERSION;
  return header;
}

// Every field's text, the entry's own where it holds one.
std::array<std::string, field_count> sheet_texts(const Entry& e) {
  std::array<std::string, field_count> texts;
  for (const FieldInfo& f : fields) texts[index_of(f.field)] = f.default_text;
  for (const auto& [field, text] : e.texts) texts[index_of(field)] = text;
  return texts;
}

// On a page of the book, whose foot carries the signatures and the page number.
QString sheet_body(const Book& book, const Entry& e) {
  const Calculation shown[] = {e.kind};
  SheetHeader header = sheet_header(book, e);
  header.signatures = false;
  return qstring(sheet_fragment(header, sheet_texts(e), shown, e.assumptions));
}

// A word processor numbers its own pages: the sheet without its page line.
QString sheet_part(const Book& book, const Entry& e) {
  const Calculation shown[] = {e.kind};
  return qstring(sheet_fragment(sheet_header(book, e), sheet_texts(e), shown, e.assumptions));
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

// The cover, on as many pages as the summary needs, then a page per entry (a valid entry's is its
// calculation sheet); every page under the project's header band and over the signatures and the
// page number at its foot.
class BookPages {
 public:
  BookPages(const Book& book, QPagedPaintDevice& device, const ExportProgress& progress = {})
      : book_(book), printer_(device), progress_(progress) {
    const QRectF& page = printer_.page();
    band_ = 12 * printer_.millimetre();
    body_ = QRectF(0, band_, page.width(), page.height() - 2 * band_);
  }

  // False when told to stop.
  bool paint() {
    const auto cover = printer_.document(cover_html(book_));
    cover->setPageSize(body_.size());
    const int cover_pages = cover->pageCount();
    // A sheet too long for one page flows onto more, so every entry is laid out before the first
    // page is numbered. Its text is made again to be painted rather than kept for a whole book.
    std::vector<SheetPrinter::Flow> flows;
    int pages = cover_pages;
    for (const Entry& e : book_.entries) {
      flows.push_back(printer_.flow(entry_html(e), body_));
      pages += flows.back().pages;
    }
    for (int p = 0; p < cover_pages; ++p) {
      if (progress_ && !progress_(p, pages)) return false;
      cover_page(*cover, p, pages);
    }
    int page = cover_pages;
    for (std::size_t i = 0; i < book_.entries.size(); ++i) {
      for (int part = 0; part < flows[i].pages; ++part) {
        if (progress_ && !progress_(page, pages)) return false;
        printer_.start_page();
        frame(qstring(book_.entries[i].name), ++page, pages);
        printer_.flow_page(entry_html(book_.entries[i]), body_, flows[i], part);
      }
    }
    return !progress_ || progress_(pages, pages);
  }

 private:
  QString entry_html(const Entry& e) const {
    return evaluate(e).valid ? sheet_body(book_, e) : refused_html(e);
  }

  void cover_page(QTextDocument& cover, int p, int pages) {
    printer_.start_page();
    frame({}, p + 1, pages);
    QPainter& painter = printer_.painter();
    painter.save();
    painter.translate(body_.topLeft() - QPointF(0, p * body_.height()));
    cover.drawContents(&painter, QRectF(0, p * body_.height(), body_.width(), body_.height()));
    painter.restore();
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
  ExportProgress progress_;
  QRectF body_;
  qreal band_ = 0;
};

// Cover and sheets as one flowing document, each sheet starting a page; empty when told to stop.
QString flowing_html(const Book& book, const ExportProgress& progress) {
  QString html = QStringLiteral("<html><head><meta charset=\"utf-8\"><title>") +
                 escaped(book.project.name) + QStringLiteral(" 计算书</title></head><body>") +
                 header_html(book, {}) + cover_html(book) + QStringLiteral("<p>") +
                 signatures_html(book) + QStringLiteral("</p>");
  const int steps = static_cast<int>(book.entries.size());
  for (int i = 0; i < steps; ++i) {
    if (progress && !progress(i, steps)) return {};
    const Entry& e = book.entries[static_cast<std::size_t>(i)];
    // A sheet starts on a line of its own, as it does in its own page.
    const QString page = evaluate(e).valid ? u'\n' + sheet_part(book, e)
                                           : header_html(book, qstring(e.name)) + refused_html(e);
    html += QStringLiteral("<div style=\"page-break-before:always\"><hr>") + page +
            QStringLiteral("</div>");
  }
  if (progress && !progress(steps, steps)) return {};
  return html + QStringLiteral("</body></html>");
}

// The device's own reason when it did not take all the bytes.
QString written(QIODevice& out, const QByteArray& bytes) {
  return out.write(bytes) == bytes.size() ? QString() : out.errorString();
}
QString written(QIODevice& out, const std::string& bytes) {
  return written(out, QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

// What a write says when `progress` stopped it; export_book words the message itself.
QString stopped_reason() {
  return QStringLiteral("已取消");
}

QString write_pdf(const Book& book, QIODevice& out, const ExportProgress& progress) {
  QPdfWriter pdf(&out);
  pdf.setTitle(qstring(book.project.name) + QStringLiteral(" 计算书"));
  pdf.setCreator(QStringLiteral("loadcalc"));
  pdf.setResolution(600);
  return BookPages(book, pdf, progress).paint() ? QString() : stopped_reason();
}

QString write_odt(const Book& book, QIODevice& out, const ExportProgress& progress) {
  const QString html = flowing_html(book, progress);
  if (html.isEmpty()) return stopped_reason();
  // The ODF writer closes the device it is given, which a QSaveFile forbids: the file is made in
  // memory first.
  const auto doc = sheet_document(html, nullptr);
  QBuffer odt;
  if (!QTextDocumentWriter(&odt, "odf").write(doc.get()))
    return QStringLiteral("无法生成 ODF 文档");
  return written(out, odt.data());
}

QString write_html(const Book& book, QIODevice& out, const ExportProgress& progress) {
  const QByteArray html = flowing_html(book, progress).toUtf8();
  if (html.isEmpty()) return stopped_reason();
  return written(out, html);
}

// A summary, a workbook or the book file is made in a moment: one step.
QString write_csv(const Book& book, QIODevice& out, const ExportProgress& progress) {
  if (progress && !progress(0, 1)) return stopped_reason();
  return written(out, summary_csv(book));
}

QString write_xlsx(const Book& book, QIODevice& out, const ExportProgress& progress) {
  if (progress && !progress(0, 1)) return stopped_reason();
  std::string bytes;
  if (auto reason = xlsx_workbook(book, bytes)) return qstring(*reason);
  return written(out, bytes);
}

// The book itself: a schedule read on the command line becomes a book the window opens.
QString write_lcbook(const Book& book, QIODevice& out, const ExportProgress& progress) {
  if (progress && !progress(0, 1)) return stopped_reason();
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

// A file that could not be made: when the folder is at fault (missing, read-only, full), the
// message names the folder and says why in Chinese.
QString open_error(const QString& path, int error, const QString& reason) {
  if (!folder_error(error)) return write_error(path, reason);
  return QStringLiteral("无法写入文件夹 “%1”：%2")
      .arg(QDir::toNativeSeparators(QFileInfo(path).absolutePath()),
           qstring(system_error_text(error)));
}

// Characters no file name may hold on Windows, where a book is as likely to go.
constexpr std::u16string_view not_in_file_names = u"\\/:*?\"<>|";

QString file_name_from(const std::string& text) {
  QString name;
  for (const QChar c : qstring(text))
    name += c.unicode() < 0x20 || not_in_file_names.find(c.unicode()) != std::u16string_view::npos
                ? u'_'
                : c;
  // Windows drops a name's trailing dots and spaces; a name of only those is no name.
  while (name.endsWith(u'.') || name.endsWith(u' ')) name.chop(1);
  return name.trimmed();
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

QString proposed_path(const QString& book_path, const std::string& project_name,
                      const QString& folder, const QString& extension) {
  QString name =
      book_path.isEmpty() ? file_name_from(project_name) : QFileInfo(book_path).completeBaseName();
  if (name.isEmpty()) name = QStringLiteral("未命名");
  const QString dir = book_path.isEmpty() ? folder : QFileInfo(book_path).absolutePath();
  return QDir(dir).filePath(name + u'.' + extension);
}

void print_book(const Book& book, QPrinter& printer) {
  BookPages(book, printer).paint();
}

QString export_book(const Book& book, const QString& out_path, const ExportProgress& progress) {
  const ExportFormat* format = export_format_of(out_path);
  if (!format) return unknown_format_message(u'.' + QFileInfo(out_path).suffix().toLower());
  // Written beside the target and renamed over it: a failed export leaves no half a file.
  bool stopped = false;
  ExportProgress watched;
  if (progress)
    watched = [&](int step, int steps) {
      stopped = !progress(step, steps);
      return !stopped;
    };
  QSaveFile file(out_path);
  errno = 0;
  if (!file.open(QIODevice::WriteOnly)) {
    // Windows reports through its own error codes, not errno: a missing folder is seen directly.
    const int error = QFileInfo(QFileInfo(out_path).absolutePath()).isDir() ? errno : ENOENT;
    return open_error(out_path, error, file.errorString());
  }
  if (const QString reason = format->write(book, file, watched); !reason.isEmpty()) {
    file.cancelWriting();
    if (stopped) return QStringLiteral("已取消导出，未写入文件");
    return write_error(out_path, reason);
  }
  if (!file.commit()) return write_error(out_path, file.errorString());
  return {};
}

}  // namespace loadcalc::ui
