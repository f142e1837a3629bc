// The working behind each result as the user meets it: the tooltip, the result's context menu,
// the clipboard, the print dialog and the printed sheet.
#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QToolTip>
#include <QtTest>

#include "gui_fixture.h"

using namespace loadcalc;
using namespace loadcalc::test;

namespace {

// What a poppler tool prints for a file; empty when the tool is missing or fails.
QString run_tool(const QString& tool, const QStringList& args) {
  QProcess p;
  p.start(tool, args);
  if (!p.waitForFinished(30000) || p.exitCode() != 0) return {};
  return QString::fromUtf8(p.readAllStandardOutput());
}

// Hovers over a label as the mouse would and reads the tooltip that comes up.
QString hover(QLabel* label) {
  QToolTip::hideText();
  const QPoint at(2, 2);
  QHelpEvent event(QEvent::ToolTip, at, label->mapToGlobal(at));
  QApplication::sendEvent(label, &event);
  return QToolTip::isVisible() ? QToolTip::text() : QString();
}

}  // namespace

class WorkingTest : public WindowTest {
  Q_OBJECT

  QLabel* label(ResultLabel l) { return fx->form->result(l); }

 private slots:
  void tooltip_follows_every_edit() {
    QLineEdit* storey = fx->form->edit("Text2");
    storey->setFocus();
    type(storey, QStringLiteral("3"));
    const QString beam = hover(label(ResultLabel::Label10));
    QVERIFY2(beam.contains(QStringLiteral("<td nowrap>(4 − 0) × (3 − 0.45) − 2 × 2.2</td>"
                                          "<td nowrap>&nbsp;=&nbsp;</td><td nowrap>5.800 m²</td>")),
             qPrintable(beam));
    QVERIFY(beam.contains(QStringLiteral("结果：<i>q</i> = <b>4.9kN/m</b>")));
    QVERIFY(beam.contains(QStringLiteral("<i>h</i><sub>b</sub> — 框架梁高，m")));
    // The stair's working is not the beam's business.
    QVERIFY(hover(label(ResultLabel::Label11))
                .contains(QStringLiteral("结果：<i>g</i> = <b>7.172kN/m^2</b>")));

    // A reset by the check leaves the working of the text put back.
    type(storey, QStringLiteral("\b"));
    QVERIFY(fx->watcher.take_boxes().size() == 1);
    QVERIFY(hover(label(ResultLabel::Label10)).contains(QStringLiteral("<b>6.7kN/m</b>")));
  }

  void each_result_has_its_menu_data() {
    QTest::addColumn<int>("label");
    QTest::newRow("Label10") << int(ResultLabel::Label10);
    QTest::newRow("Label11") << int(ResultLabel::Label11);
  }
  void each_result_has_its_menu() {
    QFETCH(int, label);
    QLabel* l = this->label(static_cast<ResultLabel>(label));
    QCOMPARE(l->contextMenuPolicy(), Qt::ActionsContextMenu);
    QStringList shown;
    // The result's own, then the book's, which every result shares.
    for (QAction* a : l->actions())
      shown << (a->parent() == l ? QString() : QStringLiteral("shared ")) + a->objectName() + u'=' +
                   a->text();
    QCOMPARE(shown, (QStringList{"copyResult=复制结果", "copyWorking=复制计算过程",
                                 "printSheet=打印计算书…", "addToBook=加入计算书…",
                                 "shared =", "shared openBookFile=打开计算书…",
                                 "shared recentBooks=最近的计算书", "shared showBook=显示计算书"}));
  }

  // Every way a field's menu is asked for; the platform makes the event of the menu key (and on
  // Windows of Shift+F10), the window makes Shift+F10's itself.
  void field_menu_adds_its_results_actions_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("reason");  // a QContextMenuEvent::Reason, or -1 for Shift+F10 typed
    QTest::addColumn<QString>("result");
    QTest::newRow("mouse") << "Text1" << int(QContextMenuEvent::Mouse) << "Label10";
    QTest::newRow("menu key") << "Text12" << int(QContextMenuEvent::Keyboard) << "Label11";
    QTest::newRow("Shift+F10") << "Text7" << -1 << "Label11";
  }
  void field_menu_adds_its_results_actions() {
    QFETCH(QString, field);
    QFETCH(int, reason);
    QFETCH(QString, result);
    QLineEdit* edit = fx->form->edit(field.toStdString());
#ifdef Q_OS_WIN
    if (reason < 0) QSKIP("Windows makes the context-menu event of Shift+F10");
#endif
    QContextMenuEvent event(QContextMenuEvent::Reason(std::max(reason, 0)), QPoint(4, 4),
                            edit->mapToGlobal(QPoint(4, 4)));
    if (reason < 0)
      QTest::keyClick(edit, Qt::Key_F10, Qt::ShiftModifier);
    else
      QApplication::sendEvent(edit, &event);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(menu);
    QStringList shown;
    for (QAction* a : menu->actions())
      shown << (a->isSeparator()
                    ? QStringLiteral("|")
                    : a->parent()->objectName() + u'/' + a->text().section(u'\t', 0, 0));
    menu->close();
    const QString qt = QStringLiteral("qt_edit_menu/"), r = result + u'/';
    QCOMPARE(shown,
             (QStringList{qt + "撤消(&U)", qt + "重做(&R)", "|", qt + "剪切(&T)", qt + "复制(&C)",
                          qt + "粘贴(&P)", qt + "删除", "|", qt + "全选", "|", r + "复制结果",
                          r + "复制计算过程", r + "打印计算书…", r + "加入计算书…", "|",
                          "/打开计算书…", "/最近的计算书", "/显示计算书"}));
  }

  void copying_puts_text_and_formatted_working_on_the_clipboard() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    label(ResultLabel::Label11)->findChild<QAction*>(QStringLiteral("copyResult"))->trigger();
    QCOMPARE(clipboard->text(), QStringLiteral("7.172kN/m^2"));

    fx->form->set_text(Field::Text13, "0.4");
    label(ResultLabel::Label10)->findChild<QAction*>(QStringLiteral("copyWorking"))->trigger();
    const QMimeData* data = clipboard->mimeData();
    QVERIFY(data->hasText() && data->hasHtml());
    const QString text = data->text();
    QVERIFY2(text.startsWith(QStringLiteral("框架梁上均布线荷载\nq = (((L − b_c) × (H − h_b) − "
                                            "b_o × h_o) × g_w + b_o × h_o × g_o) / L\n式中：\n")),
             qPrintable(text));
    QVERIFY(text.endsWith(QStringLiteral(
        "计算：\n"
        "A_w = (L − b_c) × (H − h_b) − b_o × h_o = (4 − 0.4) × (3.6 − 0.45) − 2 × 2.2 = 6.940 m²\n"
        "q = (A_w × g_w + b_o × h_o × g_o) / L = (6.940 × 3 + 2 × 2.2 × 0.5) / 4 = 5.755 kN/m\n"
        "结果：q = 5.755kN/m\n")));
    const QString html = data->html();
    QVERIFY(html.contains(QStringLiteral("<meta charset=\"utf-8\">")));
    QVERIFY(html.contains(QStringLiteral("<i>b</i><sub>c</sub>")));
    QVERIFY(html.contains(QStringLiteral("<b>5.755kN/m</b>")));
  }

  // Each way in opens the platform's print dialog; the watcher dismisses it, so nothing prints.
  void print_dialog_opens_from_the_menu_and_from_ctrl_p() {
#ifdef Q_OS_WIN
    QSKIP("Windows' print dialog is the system's own, not a Qt widget the test can see");
#endif
    label(ResultLabel::Label10)->findChild<QAction*>(QStringLiteral("printSheet"))->trigger();
    QCOMPARE(fx->watcher.take_boxes(), QStringList{"unexpected modal widget QPrintDialog"});
    QVERIFY(fx->activate());
    QLineEdit* stair = fx->form->edit("Text9");
    stair->setFocus();
    QTest::keyClick(stair, Qt::Key_P, Qt::ControlModifier);
    QCOMPARE(fx->watcher.take_boxes(), QStringList{"unexpected modal widget QPrintDialog"});
    QCOMPARE(stair->text(), QStringLiteral("130"));
  }

  // What the user chose last in the dialog is what it offers next, for the window's lifetime.
  void print_dialog_remembers_the_last_choice() {
#ifdef Q_OS_WIN
    QSKIP("Windows' print dialog is the system's own, not a Qt widget the test can see");
#endif
    fx->watcher.snapshot = [] {
      QPrinter* printer = static_cast<QPrintDialog*>(QApplication::activeModalWidget())->printer();
      const QString offered =
          printer->outputFileName() + u'|' + QString::number(printer->copyCount());
      printer->setOutputFileName(QStringLiteral("/tmp/梁 KL-3.pdf"));
      printer->setCopyCount(2);
      return offered;
    };
    for (ResultLabel l : {ResultLabel::Label10, ResultLabel::Label11})
      label(l)->findChild<QAction*>(QStringLiteral("printSheet"))->trigger();
    QCOMPARE(fx->watcher.take_boxes().size(), 2);
    QCOMPARE(fx->watcher.take_snapshots().value(1), QStringLiteral("/tmp/梁 KL-3.pdf|2"));
  }

  void printed_sheet_holds_inputs_workings_and_results() {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
      QSKIP("pdftotext (poppler-utils) is not installed");
    fx->form->set_text(Field::Text7, "260<b>");  // passes as 260, and must print as typed
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("sheet.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    fx->form->print_sheet(printer);

    const QString info = run_tool(QStringLiteral("pdfinfo"), {pdf});
    QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages: +1\n"))), qPrintable(info));
    QVERIFY2(info.contains(QStringLiteral("x 842 pts (A4)")), qPrintable(info));
    // The Chinese is text in an embedded font, not pictures of glyphs.
    const QString fonts = run_tool(QStringLiteral("pdffonts"), {pdf});
    QVERIFY2(fonts.contains(QRegularExpression(QStringLiteral("(CJK|Zen ?Hei).* yes "))),
             qPrintable(fonts));

    const QString text = run_tool(QStringLiteral("pdftotext"),
                                  {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    const QString expected[] = {
        QStringLiteral("框架梁均布线荷载及楼梯折算恒荷载计算"), QStringLiteral("loadcalc 1.0.0"),
        QDate::currentDate().toString(Qt::ISODate),
        // The thirteen inputs as entered, with their names.
        QStringLiteral("轴线开间尺寸"), QStringLiteral("4.0"), QStringLiteral("层高"),
        QStringLiteral("3.6"), QStringLiteral("框架梁高"), QStringLiteral("0.45"),
        QStringLiteral("门窗洞口宽度"), QStringLiteral("2.0"), QStringLiteral("门窗洞口高度"),
        QStringLiteral("2.2"), QStringLiteral("墙自重"), QStringLiteral("3.0"),
        QStringLiteral("窗重"), QStringLiteral("0.50"), QStringLiteral("框架柱宽"),
        QStringLiteral("0.0"), QStringLiteral("踏步宽度"), QStringLiteral("260<b>"),
        QStringLiteral("踏步高度"), QStringLiteral("160"), QStringLiteral("楼梯板厚度"),
        QStringLiteral("130"), QStringLiteral("面层厚度"), QStringLiteral("30"),
        QStringLiteral("面层容重"), QStringLiteral("22.0"),
        // Both workings and both results.
        QStringLiteral("(4 − 0) × (3.6 − 0.45) − 2 × 2.2"), QStringLiteral("260 mm / 1000"),
        QStringLiteral("6.7kN/m"), fx->form->caption(ResultLabel::Label11),
        // The header and the footer, to be filled in by hand.
        QStringLiteral("工程名称"), QStringLiteral("构件 / 部位"), QStringLiteral("计算程序"),
        QStringLiteral("计算"), QStringLiteral("校对"), QStringLiteral("审核")};
    for (const QString& piece : expected)
      QVERIFY2(text.contains(piece), qPrintable(piece + QStringLiteral(" missing in:\n") + text));
    QVERIFY(fx->form->caption(ResultLabel::Label11) != QStringLiteral("7.172kN/m^2"));
    // pdftotext drops the narrow blanks between ideographs and figures.
    QVERIFY(text.simplified().remove(u' ').contains(QStringLiteral("第1页共1页")));
  }
};

LOADCALC_GUI_TEST_MAIN(WorkingTest)
#include "test_form1_working.moc"
