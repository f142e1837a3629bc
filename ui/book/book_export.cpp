// The book as a printed 计算书: a cover with the project and the summary of every member (the
// table an engineer types into the design software), then each entry's calculation sheet on a
// page of its own. PDF and print paint the same pages; ODT and HTML carry the same content as one
// flowing document (a word processor numbers its own pages).
#include "ui/book/book_export.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QDate>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>
#include <QTextDocument>
#include <QTextDocumentWriter>
#include <array>
#include <memory>
#include <span>

#include "book/book.h"
#include "book/evaluate.h"
#include "book/summary.h"
#include "calc/calculations.h"
#include "calc/fields.h"
#include "calc/report.h"
#include "ui/book/book_model.h"
#include "ui/qt_text.h"

namespace loadcalc::ui {

namespace {

QString escaped(std::string_view s) {
  return qstring(s).toHtmlEscaped();
}

// As the calculator's printed sheet: WenQuanYi first, whose glyphs map back to their characters,
// so that a PDF's text can be searched and copied.
QFont document_font() {
  QFont font = QGuiApplication::font();
  font.setFamilies(QStringList{QStringLiteral("WenQuanYi Zen Hei")} + font.families());
  font.setPointSizeF(10);
  return font;
}

std::unique_ptr<QTextDocument> document(const QString& html, QPaintDevice* device) {
  auto doc = std::make_unique<QTextDocument>();
  if (device) doc->documentLayout()->setPaintDevice(device);
  doc->setDefaultFont(document_font());
  doc->setDocumentMargin(0);
  doc->setHtml(html);
  return doc;
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
QString sheet_page(const Book& book, const Entry& e, int page, int pages) {
  SheetHeader header;
  header.title = book.project.name.empty() ? std::string() : book.project.name + " 计算书";
  header.project = book.project;
  header.member = e.name;
  header.program = "loadcalc " LOADCALC_VERSION;
  header.page = page;
  header.pages = pages;
  std::array<std::string, field_count> texts;
  for (const FieldInfo& f : fields) texts[index_of(f.field)] = f.default_text;
  for (const auto& [field, text] : e.texts) texts[index_of(field)] = text;
  const Calculation shown[] = {e.kind};
  return qstring(sheet_html(header, texts, shown));
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

class PagePainter {
 public:
  PagePainter(const Book& book, QPagedPaintDevice& device) : book_(book), device_(device) {
    device.setPageSize(QPageSize(QPageSize::A4));
    device.setPageMargins(QMarginsF(20, 15, 20, 15), QPageLayout::Millimeter);
    page_ = QRectF(QPointF(0, 0), device.pageLayout().paintRectPixels(device.logicalDpiX()).size());
    const qreal mm = device.logicalDpiX() / 25.4;
    band_ = 12 * mm;
    body_ = QRectF(0, band_, page_.width(), page_.height() - 2 * band_);
  }

  void paint() {
    auto cover = document(cover_html(book_), &device_);
    cover->setPageSize(body_.size());
    const int cover_pages = cover->pageCount();
    const int pages = cover_pages + static_cast<int>(book_.entries.size());
    QPainter painter(&device_);
    for (int p = 0; p < cover_pages; ++p) {
      if (p > 0) device_.newPage();
      frame(painter, {}, p + 1, pages);
      painter.save();
      painter.translate(body_.topLeft() - QPointF(0, p * body_.height()));
      cover->drawContents(&painter, QRectF(0, p * body_.height(), body_.width(), body_.height()));
      painter.restore();
    }
    for (std::size_t i = 0; i < book_.entries.size(); ++i) {
      device_.newPage();
      const Entry& e = book_.entries[i];
      const int page = cover_pages + static_cast<int>(i) + 1;
      if (evaluate(e).valid) {
        fit(painter, *document(sheet_page(book_, e, page, pages), &device_), page_);
        continue;
      }
      frame(painter, qstring(e.name), page, pages);
      fit(painter, *document(refused_html(e), &device_), body_);
    }
  }

 private:
  void frame(QPainter& painter, const QString& member, int page, int pages) {
    const QRectF top(0, 0, page_.width(), band_);
    fit(painter, *document(header_html(book_, member), &device_), top);
    painter.drawLine(QPointF(0, band_ * 0.8), QPointF(page_.width(), band_ * 0.8));
    const QRectF bottom(0, page_.height() - band_ * 0.6, page_.width(), band_ * 0.6);
    painter.drawLine(bottom.topLeft(), bottom.topRight());
    fit(painter, *document(footer_html(book_, page, pages), &device_),
        bottom.translated(0, band_ * 0.1));
  }

  // One page, always: a document too long for its place is set smaller rather than split.
  static void fit(QPainter& painter, QTextDocument& doc, const QRectF& place) {
    doc.setTextWidth(place.width());
    qreal scale = 1;
    for (int i = 0; i < 3 && doc.size().height() * scale > place.height(); ++i) {
      scale = place.height() / doc.size().height() * scale;
      doc.setTextWidth(place.width() / scale);
    }
    painter.save();
    painter.translate(place.topLeft());
    painter.scale(scale, scale);
    doc.drawContents(&painter);
    painter.restore();
  }

  const Book& book_;
  QPagedPaintDevice& device_;
  QRectF page_, body_;
  qreal band_ = 0;
};

// Cover and sheets as one flowing document, each sheet starting a page.
QString flowing_html(const Book& book) {
  QString html = QStringLiteral("<html><head><meta charset=\"utf-8\"><title>") +
                 escaped(book.project.name) + QStringLiteral(" 计算书</title></head><body>") +
                 header_html(book, {}) + cover_html(book) + QStringLiteral("<p>") +
                 signatures_html(book) + QStringLiteral("</p>");
  for (const Entry& e : book.entries) {
    QString page;
    if (evaluate(e).valid) {
      // A word processor numbers its own pages: the sheet's body without its page line.
      const QString sheet = sheet_page(book, e, 1, 1);
      const qsizetype body = sheet.indexOf(QStringLiteral("<body>")) + 6;
      page = sheet.mid(body, sheet.lastIndexOf(QStringLiteral("</body>")) - body)
                 .remove(QStringLiteral("<p align=\"center\">第 1 页 共 1 页</p>\n"));
    } else {
      page = header_html(book, qstring(e.name)) + refused_html(e);
    }
    html += QStringLiteral("<div style=\"page-break-before:always\"><hr>") + page +
            QStringLiteral("</div>");
  }
  return html + QStringLiteral("</body></html>");
}

QString write_error(const QString& path, const QString& reason) {
  return QStringLiteral("无法写入“%1”：%2").arg(QFileInfo(path).fileName(), reason);
}

}  // namespace

void print_book(const Book& book, QPrinter& printer) {
  PagePainter(book, printer).paint();
}

QString export_book(const Book& book, const QString& out_path) {
  const QString suffix = QFileInfo(out_path).suffix().toLower();
  if (suffix != u"pdf" && suffix != u"odt" && suffix != u"html" && suffix != u"htm" &&
      suffix != u"csv")
    return QStringLiteral("不能导出为“.%1”：请用 .pdf、.odt、.html 或 .csv").arg(suffix);
  // Written beside the target and renamed over it: a failed export leaves no half a file.
  QSaveFile file(out_path);
  if (!file.open(QIODevice::WriteOnly)) return write_error(out_path, file.errorString());
  bool written = true;
  if (suffix == u"pdf") {
    QPdfWriter pdf(&file);
    pdf.setTitle(qstring(book.project.name) + QStringLiteral(" 计算书"));
    pdf.setCreator(QStringLiteral("loadcalc"));
    pdf.setResolution(600);
    PagePainter(book, pdf).paint();
  } else if (suffix == u"odt") {
    // The ODF writer closes the device it is given, which a QSaveFile forbids: the file is
    // made in memory first.
    const auto doc = document(flowing_html(book), nullptr);
    QBuffer odt;
    written = QTextDocumentWriter(&odt, "odf").write(doc.get()) &&
              file.write(odt.data()) == odt.data().size();
  } else if (suffix == u"csv") {
    const std::string csv = summary_csv(book);
    written =
        file.write(csv.data(), static_cast<qint64>(csv.size())) == static_cast<qint64>(csv.size());
  } else {
    const QByteArray html = flowing_html(book).toUtf8();
    written = file.write(html) == html.size();
  }
  if (!written) {
    file.cancelWriting();
    return write_error(out_path, file.errorString());
  }
  if (!file.commit()) return write_error(out_path, file.errorString());
  return {};
}

}  // namespace loadcalc::ui
