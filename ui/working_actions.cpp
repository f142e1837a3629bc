// The working behind each result: its tooltip, its context menu (copy the result, copy the
// working, print the calculation sheet), and the one-page A4 sheet itself.
#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDate>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QShortcut>
#include <QTextDocument>
#include <QToolTip>

#include "calc/fields.h"
#include "calc/working.h"
#include "ui/book_window.h"
#include "ui/form1.h"

namespace loadcalc::ui {

namespace {

QString qstring(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// A whole document, so that a word processor pasting it knows the encoding.
QString html_document(const QString& body) {
  return QStringLiteral("<html><head><meta charset=\"utf-8\"></head><body>") + body +
         QStringLiteral("</body></html>");
}

QString working_document(const Working& w) {
  return html_document(qstring(working_html(w)));
}

// A tooltip is laid out narrow unless told otherwise; a formula broken over lines is hard to read.
QString tooltip_document(const Working& w) {
  return QStringLiteral(
             "<html><head><meta charset=\"utf-8\"></head>"
             "<body style=\"white-space:nowrap\">") +
         qstring(working_html(w)) + QStringLiteral("</body></html>");
}

// Millimetre entries are listed as entered; the working shows them converted.
QString inputs_table(const Form1& form) {
  QString rows;
  const auto group = [&](Calculation c) {
    rows += QStringLiteral("<tr><td colspan=\"4\"><b>%1</b></td></tr>")
                .arg(qstring(result_info(result_label(c)).term));
    for (const FieldInfo& f : fields) {
      if (f.feeds != c) continue;
      QString symbol = qstring(f.quantity).toHtmlEscaped();
      if (const qsizetype under = symbol.indexOf(u'_'); under >= 0)
        symbol =
            QStringLiteral("<i>%1</i><sub>%2</sub>").arg(symbol.left(under), symbol.mid(under + 1));
      else
        symbol = QStringLiteral("<i>%1</i>").arg(symbol);
      rows +=
          QStringLiteral("<tr><td>%1</td><td>%2</td><td align=\"right\">%3</td><td>%4</td></tr>")
              .arg(qstring(f.term), symbol, form.field(f.field)->text().toHtmlEscaped(),
                   qstring(f.unit));
    }
  };
  group(Calculation::MainProgram_1);
  group(Calculation::MainProgram_2);
  return QStringLiteral(
             "<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\">"
             "<tr><th align=\"left\">输入项</th><th>符号</th><th>输入值</th><th>单位</th></tr>%1"
             "</table>")
      .arg(rows);
}

// Writes the working when the tooltip is asked for, not on every change: laying it out costs more
// than the keystroke that changed it, and a tooltip is asked for far less often than a key is
// typed. Being written from the texts at that moment, it is never stale.
class WorkingTip : public QObject {
 public:
  WorkingTip(const Form1& form, ResultLabel l) : QObject(form.result(l)), form_(form), label_(l) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::ToolTip) return false;
    const auto& help = static_cast<const QHelpEvent&>(*event);
    QToolTip::showText(help.globalPos(), form_.working_tooltip(label_),
                       static_cast<QWidget*>(watched));
    return true;
  }

 private:
  const Form1& form_;
  ResultLabel label_;
};

}  // namespace

void Form1::attach_working(ResultLabel l) {
  QLabel* label = result(l);
  label->installEventFilter(new WorkingTip(*this, l));
  label->setContextMenuPolicy(Qt::ActionsContextMenu);
  const auto add = [label](const char* name, const QString& text) {
    auto* action = new QAction(text, label);
    action->setObjectName(QString::fromLatin1(name));
    label->addAction(action);
    return action;
  };
  connect(add("copyResult", QStringLiteral("复制结果")), &QAction::triggered, this,
          [label] { QGuiApplication::clipboard()->setText(label->text()); });
  connect(add("copyWorking", QStringLiteral("复制计算过程")), &QAction::triggered, this,
          [this, l] { copy_working(l); });
  QAction* print = add("printSheet", QStringLiteral("打印计算书…"));
  // Shown in the menu as a reminder; Ctrl+P itself is the window's shortcut.
  print->setShortcut(QKeySequence::Print);
  print->setShortcutContext(Qt::WidgetShortcut);
  connect(print, &QAction::triggered, this, &Form1::open_print_dialog);
  connect(add("addToBook", QStringLiteral("加入计算书…")), &QAction::triggered, this,
          [this, l] { add_to_book(*this, result_info(l).written_by); });
}

void Form1::attach_print_shortcut() {
  auto* shortcut = new QShortcut(QKeySequence::Print, this);
  shortcut->setObjectName(QStringLiteral("printShortcut"));
  connect(shortcut, &QShortcut::activated, this, &Form1::open_print_dialog);
}

QString Form1::working_tooltip(ResultLabel l) const {
  return tooltip_document(working(*this, result_info(l).written_by));
}

void Form1::copy_working(ResultLabel l) const {
  const Working w = working(*this, result_info(l).written_by);
  auto* data = new QMimeData;
  data->setText(qstring(working_text(w)));
  data->setHtml(working_document(w));
  QGuiApplication::clipboard()->setMimeData(data);
}

void Form1::open_print_dialog() {
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setDocName(QStringLiteral("计算书"));
  QPrintDialog dialog(&printer, this);
  dialog.setWindowTitle(QStringLiteral("打印计算书"));
  if (dialog.exec() == QDialog::Accepted) print_sheet(printer);
}

QString Form1::sheet_html() const {
  const Working beam = working(*this, Calculation::MainProgram_1);
  const Working stair = working(*this, Calculation::MainProgram_2);
  // Put together piece by piece: a field's text may hold "%1", which a second arg() would fill.
  const QString date = QDate::currentDate().toString(Qt::ISODate);
  return html_document(
      QStringLiteral("<h2 align=\"center\">") + qstring(program_title) +
      QStringLiteral(" 计算书</h2><p align=\"center\">loadcalc " LOADCALC_VERSION
                     "（V" LOADCALC_BUILD_DATE "）　日期：") +
      date + QStringLiteral("</p><h3>一、输入数据</h3>") + inputs_table(*this) +
      QStringLiteral("<h3>二、计算过程</h3>") + qstring(working_html(beam)) +
      QStringLiteral("<p></p>") + qstring(working_html(stair)) +
      QStringLiteral("<h3>三、计算结果</h3><p>") + qstring(beam.title) + QStringLiteral("：<b>") +
      result(ResultLabel::Label10)->text().toHtmlEscaped() + QStringLiteral("</b><br>") +
      qstring(stair.title) + QStringLiteral("：<b>") +
      result(ResultLabel::Label11)->text().toHtmlEscaped() + QStringLiteral("</b></p>"));
}

void Form1::print_sheet(QPrinter& printer) const {
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setPageMargins(QMarginsF(20, 15, 20, 15), QPageLayout::Millimeter);
  QTextDocument doc;
  doc.documentLayout()->setPaintDevice(&printer);
  QFont font = QApplication::font();
  // A PDF's text is found again through the font's character map. Noto Sans CJK shares many
  // ideographs' glyphs with the Kangxi radicals and shapes some digits into glyphs no character
  // maps to, so a copied or searched sheet would read "⾼" for "高" and lose its version; the
  // WenQuanYi glyphs map back one to one.
  font.setFamilies(QStringList{QStringLiteral("WenQuanYi Zen Hei")} + font.families());
  font.setPointSizeF(10);
  doc.setDefaultFont(font);
  doc.setHtml(sheet_html());
  const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
  doc.setTextWidth(page.width());
  // One page, always: a sheet too long for it is set smaller rather than split.
  qreal scale = 1;
  for (int i = 0; i < 3 && doc.size().height() * scale > page.height(); ++i) {
    scale = page.height() / doc.size().height() * scale;
    doc.setTextWidth(page.width() / scale);
  }
  QPainter painter(&printer);
  painter.scale(scale, scale);
  doc.drawContents(&painter);
}

}  // namespace loadcalc::ui
