// The book window as the user meets it: undo and redo of every edit, the unsaved-changes prompt
// and the recovery copy, entries into the calculator, and the exported PDF.
#include <QAbstractItemView>
#include <QAction>
#include <QDir>
#include <QInputDialog>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include "app/workspace.h"
#include "book/file.h"
#include "gui_fixture.h"
#include "tests/support/entries.h"
#include "tests/ui/book/answer.h"
#include "ui/book/book_dialogs.h"
#include "ui/book/book_document.h"
#include "ui/book/book_export.h"
#include "ui/book/book_model.h"
#include "ui/book/book_window.h"
#include "ui/book/schedule_model.h"
#include "ui/book/schedule_view.h"
#include "ui/message_box.h"

using namespace loadcalc;
using namespace loadcalc::test;
using ui::BookWindow;

namespace {

// The project name, then each entry's name and first text: what the edits below change.
QString state(const BookWindow& w) {
  const Book& b = w.document().book();
  QStringList parts{qstr(b.project.name)};
  for (const Entry& e : b.entries) parts << qstr(e.name) + u' ' + qstr(e.texts.begin()->second);
  return parts.join(u'|');
}

// Clicks the button called `answer` on the next message box, before the fixture's watcher would
// dismiss it, and keeps what the box said; types `answer` into a name prompt (cancels it when
// empty) and keeps the name it offered.
}  // namespace

class BookWindowTest : public WindowTest {
  Q_OBJECT

  QTemporaryDir dir_;

  // The program's pair of windows over the fixture's calculator, made on first use.
  app::Workspace& workspace() {
    auto* w = fx->form->findChild<app::Workspace*>();
    return w ? *w : *new app::Workspace(*fx->form);
  }
  BookWindow* book() { return workspace().book_window(); }
  QAction* action(const char* name) {
    return book()->findChild<QAction*>(QString::fromLatin1(name));
  }
  // A saved two-entry book, shown.
  QString saved_book() {
    const QString path = dir_.filePath(QStringLiteral("tower.lcbook"));
    book()->append(beam("KL1"));
    book()->append(stair("LT-1"));
    if (!book()->document().save_to(path)) return {};
    book()->show();
    return path;
  }

 private slots:
  void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

  void every_edit_undoes_and_redoes_data() {
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("after");
    // As typed, blanks and all.
    QTest::newRow("rename") << "rename"
                            << "| KL9  4.0|LT-1 280";
    QTest::newRow("duplicate") << "duplicateEntry"
                               << "|KL1 4.0|KL1（副本） 4.0|LT-1 280";
    QTest::newRow("delete") << "deleteEntry"
                            << "|LT-1 280";
    QTest::newRow("insert row") << "insertEntry"
                                << "|KL1 4.0|梁 2 4.0|LT-1 280";
    QTest::newRow("update from the calculator") << "updateEntry"
                                                << "|KL1 5.5|LT-1 280";
    // Typed key by key, undone in one step.
    QTest::newRow("project name typed") << "type"
                                        << "A7|KL1 4.0|LT-1 280";
  }
  void every_edit_undoes_and_redoes() {
    QFETCH(QString, edit);
    QFETCH(QString, after);
    QVERIFY(!saved_book().isEmpty());
    BookWindow& w = *book();
    ui::ScheduleModel& beams = w.schedule_model(Calculation::MainProgram_1);
    const QString before = state(w);
    w.select_row(0);
    if (edit == u"rename")
      beams.setData(beams.index(0, beams.column_of(ScheduleCell::name)), QStringLiteral(" KL9 "),
                    Qt::EditRole);
    else if (edit == u"type")
      QTest::keyClicks(w.project_edit(0), QStringLiteral("A7"));
    else if (edit == u"updateEntry") {
      fx->form->set_text(Field::Text1, "5.5");
      action("updateEntry")->trigger();
    } else
      action(edit.toLatin1().constData())->trigger();
    QCOMPARE(state(w), after);
    QVERIFY(w.isWindowModified());
    action("undo")->trigger();
    QCOMPARE(state(w), before);
    QVERIFY(!w.isWindowModified());
    QCOMPARE(w.project_edit(0)->text(), QString());
    action("redo")->trigger();
    QCOMPARE(state(w), after);
  }

  void closing_with_unsaved_changes_asks_data() {
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<QString>("on_disk");
    QTest::newRow("保存") << "保存" << true << "tower|KL1|LT-1|";
    QTest::newRow("不保存") << "不保存" << true << "|KL1|LT-1|";
    QTest::newRow("取消") << "取消" << false << "|KL1|LT-1|";
  }
  void closing_with_unsaved_changes_asks() {
    QFETCH(QString, answer);
    QFETCH(bool, closed);
    QFETCH(QString, on_disk);
    const QString path = saved_book();
    QTest::keyClicks(book()->project_edit(0), QStringLiteral("tower"));
    Answer reply(answer);
    QCOMPARE(book()->close(), closed);
    QCOMPARE(reply.said, QStringLiteral("计算书“tower.lcbook”有未保存的修改，是否保存？"));
    QCOMPARE(book()->isVisible(), !closed);
    QCOMPARE(book()->isWindowModified(), !closed);
    const Book file = std::get<Book>(load_book(path.toStdString()));
    QString names = qstr(file.project.name) + u'|';
    for (const Entry& e : file.entries) names += qstr(e.name) + u'|';
    QCOMPARE(names, on_disk);
  }

  void an_unsaved_book_is_offered_back_at_the_next_start_data() {
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("reopened");
    QTest::newRow("恢复") << "恢复"
                          << "|KL1 4.0|LT-1 280|KL2 3.0";
    QTest::newRow("放弃") << "放弃"
                          << "";
  }
  void an_unsaved_book_is_offered_back_at_the_next_start() {
    QFETCH(QString, answer);
    QFETCH(QString, reopened);
    // Earlier tests' windows went without closing their books, and each left its copy.
    QVERIFY(QDir(ui::BookDocument::default_recovery_folder()).removeRecursively());
    saved_book();
    book()->append(beam("KL2", {{Field::Text1, "3.0"}}));
    // The program ends without a word: the window goes, its copy stays.
    delete book();
    {
      Answer reply(answer);
      workspace().offer_recovery();
      QCOMPARE(reply.said, QStringLiteral("上次关闭程序时，计算书“tower.lcbook”有未保存的修改"
                                          "（3 条计算）。是否恢复？"));
    }
    BookWindow* w = workspace().book_window(false);
    QCOMPARE(w ? state(*w) : QString(), reopened);
    if (w) {
      QVERIFY(w->isWindowModified());
      QCOMPARE(w->windowTitle(), QStringLiteral("tower.lcbook[*] — 计算书"));
      Answer drop(QStringLiteral("不保存"));
      QVERIFY(w->close());
    }
    // Settled either way: nothing is offered again.
    Answer none(QStringLiteral("恢复"));
    workspace().offer_recovery();
    QCOMPARE(none.said, QString());
  }

  void the_recovery_prompt_names_the_file_as_it_is() {
    Answer reply(QStringLiteral("放弃"));
    QVERIFY(!ui::BookDialogs(fx->form.get()).ask_recover(QStringLiteral("进度%2.lcbook"), 4));
    QCOMPARE(reply.said, QStringLiteral("上次关闭程序时，计算书“进度%2.lcbook”有未保存的修改"
                                        "（4 条计算）。是否恢复？"));
  }

  void the_pdf_reads_as_a_calculation_book() {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
      QSKIP("pdftotext (poppler-utils) is not installed");
    Book b;
    b.project = {"试验楼", "T-1", "一层", "王工", "", "", "2026-12-08"};
    Entry refused = stair("LT-1");
    refused.texts[Field::Text8] = "200";
    b.entries = {beam("KL1 ①~②轴"), refused};
    const QString pdf = dir_.filePath(QStringLiteral("book.pdf"));
    QCOMPARE(ui::export_book(b, pdf), QString());
    QProcess tool;
    tool.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    QVERIFY(tool.waitForFinished(30000));
    QStringList lines;
    for (const QString& line : QString::fromUtf8(tool.readAllStandardOutput()).split(u'\n'))
      if (!line.simplified().isEmpty()) lines << line.simplified();
    const QStringList expected{
        // The cover: header, summary, footer.
        "工程名称：试验楼 工程编号：T-1 子项：一层", "试验楼 计算书", "工程名称： 试验楼",
        "工程编号： T-1", "子项： 一层", "构件荷载汇总", "序号 构件 类型 结果 单位",
        "1 KL1 ①~②轴 梁上线荷载 6.7 kN/m",
        "2 LT-1 楼梯恒荷载 无效：踏步高度≤0或≥200，数据错误。请重新输", "入！",
        "计算：王工 校对：________ 审核：________ 日期：2026-12-08 第1页共3页",
        // A valid entry's sheet under the same header, and ends in its figure.
        "工程名称：试验楼 工程编号：T-1 子项：一层 构件：KL1 ①~②轴", "试验楼 计算书",
        "工程名称 试验楼", "构件 / 部位 KL1 ①~②轴", "计算程序 loadcalc 1.0.0 日期 2026-12-08"};
    QCOMPARE(lines.mid(0, expected.size()), expected);
    const qsizetype result = lines.indexOf(QStringLiteral("三、计算结果"));
    // Signed at the foot of the page, as every other page is.
    QCOMPARE(lines.mid(result, 3),
             (QStringList{"三、计算结果", "框架梁上均布线荷载：6.7kN/m",
                          "计算：王工 校对：________ 审核：________ 日期：2026-12-08 第2页共3页"}));
    // The refused entry's page: the texts as saved and the reason, no figure.
    const qsizetype last = lines.lastIndexOf(QRegularExpression(QStringLiteral("工程名称.*")));
    QCOMPARE(lines.mid(last),
             (QStringList{"工程名称：试验楼 工程编号：T-1 子项：一层 构件：LT-1",
                          "LT-1（楼梯恒荷载）", "输入项 输入值 单位", "踏步宽度 280 mm",
                          "踏步高度 200 mm", "楼梯板厚度 130 mm", "面层厚度 30 mm",
                          "面层容重 22.0 kN/m³", "无效：踏步高度≤0或≥200，数据错误。请重新输入！",
                          "此条目未通过计算器的检查，不给出结果。",
                          "计算：王工 校对：________ 审核：________ 日期：2026-12-08 第3页共3页"}));
  }

  void a_result_joins_the_book_under_a_numbered_name_data() {
    QTest::addColumn<int>("label");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("offered");
    QTest::addColumn<QString>("after");
    QTest::newRow("third beam") << 0 << "KL8"
                                << "梁 3"
                                << "|KL1 4.0|LT-1 280|KL2 4.0|KL8 4.0";
    QTest::newRow("second stair") << 1 << " LT-2 "
                                  << "楼梯 2"
                                  << "|KL1 4.0|LT-1 280|KL2 4.0|LT-2 280";
    QTest::newRow("cancelled") << 0 << ""
                               << "梁 3"
                               << "|KL1 4.0|LT-1 280|KL2 4.0";
  }
  void a_result_joins_the_book_under_a_numbered_name() {
    QFETCH(int, label);
    QFETCH(QString, typed);
    QFETCH(QString, offered);
    QFETCH(QString, after);
    book()->append(beam("KL1"));
    book()->append(stair("LT-1"));
    book()->append(beam("KL2"));
    Answer reply(typed);
    fx->form->result(static_cast<ResultLabel>(label))
        ->findChild<QAction*>(QStringLiteral("addToBook"))
        ->trigger();
    QCOMPARE(reply.said, offered);
    QCOMPARE(state(*book()), after);
  }

  void a_failed_export_says_why_and_writes_nothing_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("starts");
    QTest::addColumn<QString>("ends");
    QTest::newRow("unknown format")
        << "book.txt"
        << "不能导出为“.txt”：请用 .pdf、.odt、.html、.csv、.xlsx 或 .lcbook"
        << "";
    QTest::newRow("no such folder") << "absent/book.pdf"
                                    << "无法写入文件夹 “"
                                    << "absent”：文件夹不存在";
  }
  void a_failed_export_says_why_and_writes_nothing() {
    QFETCH(QString, name);
    QFETCH(QString, starts);
    QFETCH(QString, ends);
    const QString path = dir_.filePath(name);
    const QString message = ui::export_book(Book{{}, {beam("KL1")}}, path);
    QVERIFY2(message.startsWith(starts) && message.endsWith(ends), qPrintable(message));
    QVERIFY(!QFile::exists(path));
  }

  // What 另存为 and 导出 propose: the book's own name, else its project's made fit for a file.
  void a_save_dialog_proposes_the_books_name_data() {
    QTest::addColumn<QString>("book");
    QTest::addColumn<QString>("project");
    QTest::addColumn<QString>("extension");
    QTest::addColumn<QString>("proposed");
    QTest::newRow("new book") << ""
                              << "某办公楼"
                              << "lcbook"
                              << "/home/u/某办公楼.lcbook";
    QTest::newRow("not in file names") << ""
                                       << "A/B:C*?\"<>|\\\t"
                                       << "lcbook"
                                       << "/home/u/A_B_C________.lcbook";
    QTest::newRow("trailing dots and spaces") << ""
                                              << "1# 楼. ."
                                              << "pdf"
                                              << "/home/u/1# 楼.pdf";
    QTest::newRow("no project name") << ""
                                     << " "
                                     << "lcbook"
                                     << "/home/u/未命名.lcbook";
    QTest::newRow("saved book") << "/d/办公楼.lcbook"
                                << "其他"
                                << "csv"
                                << "/d/办公楼.csv";
  }
  void a_save_dialog_proposes_the_books_name() {
    QFETCH(QString, book);
    QFETCH(QString, project);
    QFETCH(QString, extension);
    QFETCH(QString, proposed);
    // Absolute as the platform writes it: "/d" is "Z:/d" under Wine.
    QCOMPARE(QFileInfo(ui::proposed_path(book, project.toStdString(), QStringLiteral("/home/u"),
                                         extension))
                 .absoluteFilePath(),
             QFileInfo(proposed).absoluteFilePath());
  }

  // A box is as wide as its title needs beside the window's icon and its buttons (Qt allows 50
  // pixels for them, which cuts a title off on a desktop), however short its text.
  void a_message_box_shows_its_whole_title_data() {
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::newRow("short text") << "计算书“某办公楼二期地下车库及人防工程”的恢复副本"
                                << "好";
    QTest::newRow("empty text") << "导出计算书到共享文件夹时出错，请检查网络连接"
                                << "";
  }
  void a_message_box_shows_its_whole_title() {
    QFETCH(QString, title);
    QFETCH(QString, text);
    fx->watcher.snapshot = [] {
      return QString::number(QApplication::activeModalWidget()->width());
    };
    ui::warn(nullptr, title, text);
    QCOMPARE(fx->watcher.take_boxes().size(), 1);
    const QStringList widths = fx->watcher.take_snapshots();
    QCOMPARE(widths.size(), 1);
    QFont bold = QApplication::font();
    bold.setBold(true);
    QVERIFY2(widths[0].toInt() > QFontMetrics(bold).horizontalAdvance(title),
             qPrintable(widths[0]));
  }

  // A stopped export leaves the file it would have replaced as it was.
  void a_stopped_export_writes_nothing_data() {
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<int>("steps_allowed");
    QTest::newRow("pdf, at once") << "pdf" << 0;
    QTest::newRow("pdf, after the cover") << "pdf" << 1;
    QTest::newRow("odt, after an entry") << "odt" << 1;
    QTest::newRow("html, at the end") << "html" << 2;
    QTest::newRow("csv") << "csv" << 0;
  }
  void a_stopped_export_writes_nothing() {
    QFETCH(QString, suffix);
    QFETCH(int, steps_allowed);
    const QString path = dir_.filePath(QStringLiteral("stopped.") + suffix);
    {
      QFile old(path);
      QVERIFY(old.open(QIODevice::WriteOnly));
      old.write("old");
    }
    int calls = 0;
    const QString message = ui::export_book(Book{{}, {beam("KL1"), stair("LT-1")}}, path,
                                            [&](int, int) { return calls++ < steps_allowed; });
    QCOMPARE(message, QStringLiteral("已取消导出，未写入文件"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("old"));
    QCOMPARE(QDir(dir_.path())
                 .entryList(QDir::Files | QDir::Hidden)
                 .filter(QStringLiteral("stopped.") + suffix),
             QStringList{QStringLiteral("stopped.") + suffix});
  }

  void each_format_holds_the_summary_data() {
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<QByteArray>("held");
    QTest::newRow("odt") << "odt" << QByteArray("mimetypeapplication/vnd.oasis.opendocument.text");
    QTest::newRow("html") << "html" << QByteArray("<td>楼梯恒荷载</td><td align=\"right\">7.172");
    QTest::newRow("csv") << "csv" << QByteArray("\xEF\xBB\xBF序号,构件,类型,");
    // A zip's directory names its parts in the clear: the summary sheet and one per kind.
    QTest::newRow("xlsx") << "xlsx" << QByteArray("xl/worksheets/sheet3.xml");
    QTest::newRow("lcbook") << "lcbook"
                            << QByteArray("\"name\": \"LT-1\",\n      \"kind\": \"stair\"");
  }
  void each_format_holds_the_summary() {
    QFETCH(QString, suffix);
    QFETCH(QByteArray, held);
    const QString path = dir_.filePath(QStringLiteral("book.") + suffix);
    QCOMPARE(ui::export_book(Book{{}, {stair("LT-1")}}, path), QString());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY2(bytes.contains(held), bytes.left(200).constData());
  }

  // The workbook and the book file are in the 导出 menu as the documents are.
  void the_export_menu_offers_the_workbook_and_the_book_file() {
    QCOMPARE(action("exportXlsx")->text(), QStringLiteral("&XLSX…"));
    QCOMPARE(action("exportLcbook")->text(), QStringLiteral("&LCBOOK…"));
  }

  void a_failed_save_keeps_the_book_unsaved() {
    book()->append(beam("KL1"));
    QVERIFY(!book()->document().save_to(dir_.filePath(QStringLiteral("absent/tower.lcbook"))));
    const QStringList shown = fx->watcher.take_boxes();
    QCOMPARE(shown.size(), 1);
    QVERIFY2(shown[0].startsWith(QStringLiteral("保存计算书 | ")), qPrintable(shown[0]));
    QVERIFY(book()->isWindowModified());
    QCOMPARE(book()->document().path(), QString());
  }

  void an_entry_goes_into_the_calculator_through_its_checks_data() {
    QTest::addColumn<QString>("bay");
    QTest::addColumn<bool>("by_key");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QStringList>("boxes");
    QTest::newRow("double-click on 序号") << "5.0" << false << "5.0 7.25kN/m" << QStringList();
    QTest::newRow("Ctrl+Shift+O") << "5.0" << true << "5.0 7.25kN/m" << QStringList();
    QTest::newRow("refused, put back")
        << "0" << false << "4.0 6.7kN/m"
        << boxes({QStringLiteral("轴线间距≤0，数据错误，请重新输入！")});
  }
  void an_entry_goes_into_the_calculator_through_its_checks() {
    QFETCH(QString, bay);
    QFETCH(bool, by_key);
    QFETCH(QString, shown);
    QFETCH(QStringList, boxes);
    fx->form->set_text(Field::Text3, "0.5");
    book()->append(stair("LT-1"));
    book()->append(beam("KL1", {{Field::Text1, bay.toStdString()}}));
    book()->show();
    QVERIFY(QTest::qWaitForWindowExposed(book()));
    ui::ScheduleView* table = book()->schedule(Calculation::MainProgram_1);
    const QModelIndex number = table->model()->index(0, 0);
    const QRect cell = table->visualRect(number);
    // The calculator's 0.5 is in no entry: asked, and answered.
    Answer reply(QStringLiteral("打开"));
    if (by_key) {
      book()->activateWindow();
      QVERIFY(QTest::qWaitForWindowActive(book()));
      table->setFocus();
      table->setCurrentIndex(table->model()->index(0, 2));
      QTest::keyClick(table, Qt::Key_O, Qt::ControlModifier | Qt::ShiftModifier);
    } else {
      // As a mouse does it: a click, then the second press that makes it a double-click.
      QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
      QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    }
    QCOMPARE(reply.said,
             QStringLiteral("计算器中的梁上线荷载输入不在计算书的任何条目中。打开“KL1”将覆盖"
                            "它们。是否打开？"));
    QCOMPARE(fx->watcher.take_boxes(), boxes);
    QCOMPARE(fx->form->edit("Text1")->text() + u' ' + fx->form->caption(ResultLabel::Label10),
             shown);
    // Every field of the entry, the one the calculator had changed too.
    QCOMPARE(fx->form->edit("Text3")->text(), QStringLiteral("0.45"));
    QCOMPARE(state(*book()), QStringLiteral("|LT-1 280|KL1 ") + bay);
  }
};

LOADCALC_GUI_TEST_MAIN(BookWindowTest)
#include "test_book_window.moc"
