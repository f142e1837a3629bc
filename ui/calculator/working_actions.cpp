// The working behind each result: its tooltip, its actions (copy the result, copy the working,
// print the calculation sheet; shown by the result's context menu and by the menus of the fields
// that feed it), and the printing of the one-page A4 sheet.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDate>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPrintDialog>
#include <QPrinter>
#include <QShortcut>
#include <QToolTip>

#include "calc/calculations.h"
#include "calc/fields.h"
#include "calc/report.h"
#include "calc/working.h"
#include "calc/working_text.h"
#include "ui/calculator/accessibility.h"
#include "ui/calculator/form1.h"
#include "ui/print_sheets.h"
#include "ui/qt_text.h"

namespace loadcalc::ui {

namespace {

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
  describe_by_working(label);
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
          [this, l] { emit addToBookRequested(result_info(l).id); });
}

void Form1::attach_print_shortcut() {
  auto* shortcut = new QShortcut(QKeySequence::Print, this);
  shortcut->setObjectName(QStringLiteral("printShortcut"));
  connect(shortcut, &QShortcut::activated, this, &Form1::open_print_dialog);
}

QString Form1::working_tooltip(ResultLabel l) const {
  return tooltip_document(working(*this, result_info(l).id));
}

QString Form1::working_plain(ResultLabel l) const {
  return qstring(working_text(working(*this, result_info(l).id)));
}

void Form1::copy_working(ResultLabel l) const {
  const Working w = working(*this, result_info(l).id);
  auto* data = new QMimeData;
  data->setText(qstring(working_text(w)));
  data->setHtml(working_document(w));
  QGuiApplication::clipboard()->setMimeData(data);
}

void Form1::open_print_dialog() {
  if (!printer_) {
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer_->setPageSize(QPageSize(QPageSize::A4));
    printer_->setDocName(QStringLiteral("计算书"));
  }
  QPrintDialog dialog(printer_.get(), this);
  dialog.setWindowTitle(QStringLiteral("打印计算书"));
  if (dialog.exec() == QDialog::Accepted) print_sheet(*printer_);
}

QString Form1::sheet_html() const {
  SheetHeader header;
  header.title = std::string(program_title) + "书";  // "…计算" + "书": "…计算书"
  header.program = "loadcalc " LOADCALC_VERSION "（V" LOADCALC_BUILD_DATE "）";
  header.project.date = QDate::currentDate().toString(Qt::ISODate).toStdString();
  std::array<std::string, field_count> texts;
  for (std::size_t i = 0; i < field_count; ++i) texts[i] = text(field_at(i));
  return qstring(loadcalc::sheet_html(header, texts, every_calculation));
}

void Form1::print_sheet(QPrinter& printer) const {
  print_sheets(printer, {sheet_html()});
}

}  // namespace loadcalc::ui
