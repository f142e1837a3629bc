// The book as a schedule: a table a kind, typed into in place and judged at once, each typed cell
// one undo step; rows put in and taken out where the book's order wants them; a column filled
// down, cells copied out for a spreadsheet; and an entry opened into the calculator only after
// asking, when that would lose what the calculator holds.
#include <QAbstractButton>
#include <QAction>
#include <QClipboard>
#include <QMessageBox>
#include <QMimeData>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTabWidget>
#include <QtTest>

#include "app/workspace.h"
#include "book/stated.h"
#include "gui_fixture.h"
#include "tests/support/entries.h"
#include "ui/book/book_document.h"
#include "ui/book/book_window.h"
#include "ui/book/schedule_model.h"
#include "ui/book/schedule_view.h"

using namespace loadcalc;
using namespace loadcalc::test;
using ui::BookWindow;
using ui::ScheduleModel;
using ui::ScheduleView;

namespace {

constexpr auto beams = Calculation::MainProgram_1;
constexpr auto stairs = Calculation::MainProgram_2;

// Clicks the button called `answer` on the next message box before the fixture's watcher would
// dismiss it, and keeps what the box said.
class Answer : public QObject {
 public:
  explicit Answer(QString answer) : answer_(std::move(answer)) { qApp->installEventFilter(this); }
  QString said;

  bool eventFilter(QObject* o, QEvent* e) override {
    auto* box = qobject_cast<QMessageBox*>(o);
    if (e->type() == QEvent::Show && box && said.isEmpty())
      QTimer::singleShot(0, this, [this, box] {
        said = box->text();
        for (QAbstractButton* b : box->buttons())
          if (b->text() == answer_) b->click();
      });
    return false;
  }

 private:
  QString answer_;
};

// A typed text, each character a key of its own into whatever has the focus: the first opens the
// cell's editor, the rest go into it.
void type(const QString& text) {
  for (const QChar c : text) press(QApplication::focusWidget(), 0, QString(c));
}

void key(int k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
  QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(k), mods);
}

}  // namespace

class ScheduleTest : public WindowTest {
  Q_OBJECT

  app::Workspace& workspace() {
    auto* w = fx->form->findChild<app::Workspace*>();
    return w ? *w : *new app::Workspace(*fx->form);
  }
  BookWindow* book() { return workspace().book_window(); }
  QAction* action(const char* name) {
    return book()->findChild<QAction*>(QString::fromLatin1(name));
  }
  ScheduleModel& model(Calculation kind) { return book()->schedule_model(kind); }
  // A column by its heading.
  int column(Calculation kind, const QString& heading) {
    const ScheduleModel& m = model(kind);
    for (int c = 0; c < m.columnCount(); ++c)
      if (m.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString() == heading) return c;
    return -1;
  }
  QModelIndex cell(Calculation kind, int row, const QString& heading) {
    return model(kind).index(row, column(kind, heading));
  }
  // One column of a kind's table, top to bottom.
  QString column_texts(Calculation kind, const QString& heading) {
    QStringList texts;
    for (int r = 0; r < model(kind).rowCount(); ++r)
      texts << cell(kind, r, heading).data().toString();
    return texts.join(u'|');
  }
  QString names() {
    QStringList out;
    for (const Entry& e : book()->document().book().entries) out << qstr(e.name);
    return out.join(u'|');
  }
  // The window shown with `entries`, active, `kind`'s table current and holding the focus.
  ScheduleView* shown(const std::vector<Entry>& entries, Calculation kind) {
    for (const Entry& e : entries) book()->append(e);
    book()->show();
    book()->activateWindow();
    // The calculator's own activation may still be on its way.
    if (!QTest::qWaitFor([this] {
          if (QApplication::activeWindow() != book()) book()->activateWindow();
          return QApplication::activeWindow() == book();
        }))
      return nullptr;
    ScheduleView* view = book()->schedule(kind);
    book()->schedules()->setCurrentWidget(view);
    view->setFocus();
    view->clearSelection();
    return view;
  }
  int steps() { return book()->document().undo_stack().count(); }

 private slots:
  void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

  void a_table_a_kind_with_its_columns_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("tab");
    QTest::addColumn<QString>("headings");
    QTest::addColumn<QString>("typed_into");
    QTest::addColumn<QString>("numbers");
    QTest::addColumn<QString>("results");
    QTest::newRow("beam") << 0 << "梁上线荷载"
                          << "序号|构件|轴线开间尺寸(m)|层高(m)|框架梁高(m)|门窗洞口宽度(m)|"
                             "门窗洞口高度(m)|墙自重(kN/m²)|窗重(kN/m²)|框架柱宽(m)|结果|检查|备注"
                          << "-eeeeeeeee--e"
                          << "1|3"
                          << "6.7|7.25";
    QTest::newRow("stair") << 1 << "楼梯恒荷载"
                           << "序号|构件|踏步宽度(mm)|踏步高度(mm)|楼梯板厚度(mm)|面层厚度(mm)|"
                              "面层容重(kN/m³)|结果|检查|备注"
                           << "-eeeeee--e"
                           << "2|4"
                           << "7.172|—";
  }
  void a_table_a_kind_with_its_columns() {
    QFETCH(int, kind);
    QFETCH(QString, tab);
    QFETCH(QString, headings);
    QFETCH(QString, typed_into);
    QFETCH(QString, numbers);
    QFETCH(QString, results);
    const auto k = static_cast<Calculation>(kind);
    QVERIFY(shown({beam("KL1"), stair("LT-1"), beam("KL2", {{Field::Text1, "5.0"}}),
                   stair("LT-2", {{Field::Text8, "200"}})},
                  k));
    QCOMPARE(book()->schedules()->count(), 2);
    QCOMPARE(book()->schedules()->tabText(kind), tab);
    const ScheduleModel& m = model(k);
    QStringList shown_headings;
    QString editable;
    for (int c = 0; c < m.columnCount(); ++c) {
      shown_headings << m.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
      editable += m.flags(m.index(0, c)) & Qt::ItemIsEditable ? u'e' : u'-';
    }
    QCOMPARE(shown_headings.join(u'|'), headings);
    QCOMPARE(editable, typed_into);
    // 序号 counts the whole book, as the PDF and the CSV number the entries.
    QCOMPARE(column_texts(k, QStringLiteral("序号")), numbers);
    QCOMPARE(column_texts(k, QStringLiteral("结果")), results);
  }

  void a_typed_cell_is_judged_at_once_and_undone_in_one_step_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("heading");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("check");
    QTest::addColumn<QString>("flagged");
    const auto row = [](const char* name, int kind, const char* heading, const char* typed,
                        const char* result, const char* check, const char* flagged) {
      QTest::newRow(name) << kind << QString(heading) << QString(typed) << QString(result)
                          << QString(check) << QString(flagged);
    };
    // clang-format off
    row("a wider bay", 0, "轴线开间尺寸(m)", "5.0", "7.25", "", "");
    row("no storey", 0, "层高(m)", "0", "—", "层高≤0，数据错误。请重新输入！", "层高(m)");
    // The bay passes its own test; the opening it no longer holds is the cell marked.
    row("a bay narrower than the opening", 0, "轴线开间尺寸(m)", "1.5", "—",
        "窗宽≥开间轴线间距，数据错误。请重新输入！", "门窗洞口宽度(m)");
    row("a leading zero", 0, "框架梁高(m)", "01", "—", "空白或以 0 开头的数，计算器不接受", "框架梁高(m)");
    // The calculator's keys would refuse the letter; the schedule keeps it for the checks.
    row("a unit typed after the number", 0, "层高(m)", "3.6m", "6.7", "", "");
    row("a stair's riser", 1, "踏步高度(mm)", "200", "—", "踏步高度≤0或≥200，数据错误。请重新输入！",
        "踏步高度(mm)");
    row("a member's name, as typed", 0, "构件", " KL 9 <b>", "6.7", "", "");
    row("a note", 1, "备注", "梁端加腋", "7.172", "", "");
    // clang-format on
  }
  void a_typed_cell_is_judged_at_once_and_undone_in_one_step() {
    QFETCH(int, kind);
    QFETCH(QString, heading);
    QFETCH(QString, typed);
    QFETCH(QString, result);
    QFETCH(QString, check);
    QFETCH(QString, flagged);
    const auto k = static_cast<Calculation>(kind);
    ScheduleView* view = shown({beam("KL1"), stair("LT-1")}, k);
    QVERIFY(view);
    const QModelIndex at = cell(k, 0, heading);
    const QString before = at.data().toString();
    const QString result_before = cell(k, 0, QStringLiteral("结果")).data().toString();
    view->setCurrentIndex(at);
    const int steps_before = steps();
    type(typed);
    key(Qt::Key_Return);
    QCOMPARE(at.data().toString(), typed);
    QCOMPARE(cell(k, 0, QStringLiteral("结果")).data().toString(), result);
    QCOMPARE(cell(k, 0, QStringLiteral("检查")).data().toString(), check);
    QCOMPARE(steps(), steps_before + 1);
    // The one marked cell: tinted, and its message on hover and to a screen reader.
    const ScheduleModel& m = model(k);
    QStringList marked;
    for (int c = 0; c < m.columnCount(); ++c)
      if (m.index(0, c).data(Qt::BackgroundRole).isValid())
        marked << m.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
    QCOMPARE(marked.join(u'|'), flagged);
    if (!flagged.isEmpty()) {
      const QModelIndex mark = cell(k, 0, flagged);
      QCOMPARE(mark.data(Qt::AccessibleDescriptionRole).toString(), check);
      QCOMPARE(mark.data(Qt::ToolTipRole).toString(), QStringLiteral("<p>%1</p>").arg(check));
    }
    action("undo")->trigger();
    QCOMPARE(at.data().toString(), before);
    QCOMPARE(cell(k, 0, QStringLiteral("结果")).data().toString(), result_before);
    QCOMPARE(cell(k, 0, QStringLiteral("检查")).data().toString(), QString());
    for (int c = 0; c < m.columnCount(); ++c)
      QVERIFY(!m.index(0, c).data(Qt::BackgroundRole).isValid());
  }

  void keys_move_as_in_a_spreadsheet_data() {
    QTest::addColumn<QString>("opened_by");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("ended_by");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("row_after");
    QTest::addColumn<QString>("column_after");
    QTest::newRow("typing, Enter") << "typing"
                                   << "4.2" << int(Qt::Key_Return) << "4.2" << 1 << "层高(m)";
    QTest::newRow("typing, keypad Enter") << "typing"
                                          << "4.2" << int(Qt::Key_Enter) << "4.2" << 1 << "层高(m)";
    QTest::newRow("typing, Tab") << "typing"
                                 << "4.2" << int(Qt::Key_Tab) << "4.2" << 0 << "框架梁高(m)";
    QTest::newRow("typing, Esc") << "typing"
                                 << "4.2" << int(Qt::Key_Escape) << "3.6" << 0 << "层高(m)";
    // F2 and a double-click keep the text and put the caret at its end: typing adds to it.
    QTest::newRow("F2, Enter") << "F2"
                               << "5" << int(Qt::Key_Return) << "3.65" << 1 << "层高(m)";
    QTest::newRow("double-click, Tab") << "double-click"
                                       << "5" << int(Qt::Key_Tab) << "3.65" << 0 << "框架梁高(m)";
    QTest::newRow("Enter alone") << "nothing"
                                 << "" << int(Qt::Key_Return) << "3.6" << 1 << "层高(m)";
  }
  void keys_move_as_in_a_spreadsheet() {
    QFETCH(QString, opened_by);
    QFETCH(QString, typed);
    QFETCH(int, ended_by);
    QFETCH(QString, stored);
    QFETCH(int, row_after);
    QFETCH(QString, column_after);
    ScheduleView* view = shown({beam("KL1"), beam("KL2")}, beams);
    QVERIFY(view);
    const QModelIndex at = cell(beams, 0, QStringLiteral("层高(m)"));
    view->setCurrentIndex(at);
    if (opened_by == u"F2") {
      key(Qt::Key_F2);
      key(Qt::Key_End);
    } else if (opened_by == u"double-click") {
      const QPoint centre = view->visualRect(at).center();
      QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, centre);
      QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, centre);
      key(Qt::Key_End);
    }
    type(typed);
    key(ended_by);
    QCOMPARE(view->indexWidget(at), nullptr);
    QCOMPARE(QApplication::focusWidget(), view);
    QCOMPARE(at.data().toString(), stored);
    QCOMPARE(view->currentIndex(), cell(beams, row_after, column_after));
  }

  void rows_go_in_and_out_in_book_order_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QList<int>>("selected");
    QTest::addColumn<QKeyCombination>("keys");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("current");
    const QKeyCombination insert(Qt::CTRL, Qt::Key_Return);
    const QKeyCombination remove(Qt::CTRL | Qt::SHIFT, Qt::Key_Return);
    QTest::newRow("below the first beam")
        << 0 << QList<int>{0} << insert << "KL1|梁 3|LT-1|KL2|LT-2"
        << "梁 3";
    QTest::newRow("below the last beam") << 0 << QList<int>{1} << insert << "KL1|LT-1|KL2|梁 3|LT-2"
                                         << "梁 3";
    QTest::newRow("below the first stair")
        << 1 << QList<int>{0} << insert << "KL1|LT-1|楼梯 3|KL2|LT-2"
        << "楼梯 3";
    QTest::newRow("no row current: after the kind's last")
        << 0 << QList<int>{} << insert << "KL1|LT-1|KL2|梁 3|LT-2"
        << "梁 3";
    QTest::newRow("keypad Enter") << 1 << QList<int>{1}
                                  << QKeyCombination(Qt::ControlModifier | Qt::KeypadModifier,
                                                     Qt::Key_Enter)
                                  << "KL1|LT-1|KL2|LT-2|楼梯 3"
                                  << "楼梯 3";
    QTest::newRow("two beams out") << 0 << QList<int>{0, 1} << remove << "LT-1|LT-2"
                                   << "";
    QTest::newRow("the second stair out") << 1 << QList<int>{1} << remove << "KL1|LT-1|KL2"
                                          << "LT-1";
    // Past the entry of the same kind, over those of the other.
    QTest::newRow("a beam up") << 0 << QList<int>{1} << QKeyCombination(Qt::CTRL, Qt::Key_Up)
                               << "KL2|KL1|LT-1|LT-2"
                               << "KL2";
    QTest::newRow("a stair down") << 1 << QList<int>{0} << QKeyCombination(Qt::CTRL, Qt::Key_Down)
                                  << "KL1|KL2|LT-2|LT-1"
                                  << "LT-1";
  }
  void rows_go_in_and_out_in_book_order() {
    QFETCH(int, kind);
    QFETCH(QList<int>, selected);
    QFETCH(QKeyCombination, keys);
    QFETCH(QString, after);
    QFETCH(QString, current);
    const auto k = static_cast<Calculation>(kind);
    ScheduleView* view =
        shown({beam("KL1"), stair("LT-1"), beam("KL2", {{Field::Text1, "5.0"}}), stair("LT-2")}, k);
    QVERIFY(view);
    const QString before = names();
    view->setCurrentIndex({});
    for (const int row : selected) {
      const QModelIndex i = cell(k, row, QStringLiteral("构件"));
      view->selectionModel()->setCurrentIndex(i, QItemSelectionModel::Select);
    }
    const int steps_before = steps();
    key(keys.key(), keys.keyboardModifiers());
    QCOMPARE(names(), after);
    QCOMPARE(steps(), steps_before + 1);
    const QModelIndex now = view->currentIndex();
    QCOMPARE(now.isValid() ? now.siblingAtColumn(1).data().toString() : QString(), current);
    // A new row holds the calculator's start-up texts, judged as any entry.
    if (names().count(u'|') > before.count(u'|'))
      QCOMPARE(now.siblingAtColumn(column(k, QStringLiteral("结果"))).data().toString(),
               kind == 0 ? QStringLiteral("6.7") : QStringLiteral("7.172"));
    action("undo")->trigger();
    QCOMPARE(names(), before);
  }

  void a_new_row_takes_the_next_free_name() {
    QVERIFY(shown({beam("梁 2"), beam("KL2")}, beams));
    key(Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(names(), QStringLiteral("梁 2|KL2|梁 3"));
  }

  void fill_down_is_one_step_data() {
    QTest::addColumn<QStringList>("headings");
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("bottom");
    QTest::addColumn<QString>("bays");
    QTest::addColumn<QString>("notes");
    QTest::addColumn<int>("steps");
    QTest::newRow("one column") << QStringList{"轴线开间尺寸(m)"} << 0 << 2 << "4.0|4.0|4.0"
                                << "a|b|" << 1;
    QTest::newRow("two columns") << QStringList{"轴线开间尺寸(m)", "备注"} << 0 << 2
                                 << "4.0|4.0|4.0"
                                 << "a|a|a" << 1;
    QTest::newRow("from the middle") << QStringList{"轴线开间尺寸(m)"} << 1 << 2 << "4.0|5.0|5.0"
                                     << "a|b|" << 1;
    // 结果 is computed, not typed: nothing to fill, nothing to undo.
    QTest::newRow("a computed column") << QStringList{"结果"} << 0 << 2 << "4.0|5.0|0"
                                       << "a|b|" << 0;
  }
  void fill_down_is_one_step() {
    QFETCH(QStringList, headings);
    QFETCH(int, top);
    QFETCH(int, bottom);
    QFETCH(QString, bays);
    QFETCH(QString, notes);
    QFETCH(int, steps);
    Entry a = beam("KL1"), b = beam("KL2", {{Field::Text1, "5.0"}}),
          c = beam("KL3", {{Field::Text1, "0"}});
    a.note = "a";
    b.note = "b";
    ScheduleView* view = shown({a, stair("LT-1"), b, c}, beams);
    QVERIFY(view);
    for (const QString& h : headings)
      view->selectionModel()->select(QItemSelection(cell(beams, top, h), cell(beams, bottom, h)),
                                     QItemSelectionModel::Select);
    const int steps_before = this->steps();
    key(Qt::Key_D, Qt::ControlModifier);
    QCOMPARE(column_texts(beams, QStringLiteral("轴线开间尺寸(m)")), bays);
    QCOMPARE(column_texts(beams, QStringLiteral("备注")), notes);
    QCOMPARE(this->steps(), steps_before + steps);
    if (steps == 0) return;
    action("undo")->trigger();
    QCOMPARE(column_texts(beams, QStringLiteral("轴线开间尺寸(m)")), QStringLiteral("4.0|5.0|0"));
    QCOMPARE(column_texts(beams, QStringLiteral("备注")), QStringLiteral("a|b|"));
  }

  void copy_gives_tab_separated_text_and_an_html_table_data() {
    QTest::addColumn<QList<QPoint>>("cells");  // (column, row)
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("rows");  // of the HTML table
    QTest::newRow("a block") << QList<QPoint>{{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}, {2, 1}}
                             << "1\tKL1\t4.0\n3\tKL \"2\"\t5.0\n"
                             << "<tr><td>1</td><td>KL1</td><td>4.0</td></tr>\n"
                                "<tr><td>3</td><td>KL &quot;2&quot;</td><td>5.0</td></tr>\n";
    QTest::newRow("a refused entry's figures")
        << QList<QPoint>{{10, 2}, {11, 2}} << "—\t层高≤0，数据错误。请重新输入！\n"
        << "<tr><td>—</td><td>层高≤0，数据错误。请重新输入！</td></tr>\n";
    QTest::newRow("a note over lines") << QList<QPoint>{{12, 0}} << "\"梁端\t加腋\n<两侧>\"\n"
                                       << "<tr><td>梁端\t加腋<br>&lt;两侧&gt;</td></tr>\n";
    QTest::newRow("cells apart") << QList<QPoint>{{0, 0}, {3, 1}} << "1\t\t\t\n\t\t\t3.6\n"
                                 << "<tr><td>1</td><td></td><td></td><td></td></tr>\n"
                                    "<tr><td></td><td></td><td></td><td>3.6</td></tr>\n";
  }
  void copy_gives_tab_separated_text_and_an_html_table() {
    QFETCH(QList<QPoint>, cells);
    QFETCH(QString, text);
    QFETCH(QString, rows);
    Entry first = beam("KL1");
    first.note = "梁端\t加腋\n<两侧>";
    ScheduleView* view = shown({first, stair("LT-1"), beam("KL \"2\"", {{Field::Text1, "5.0"}}),
                                beam("KL3", {{Field::Text2, "0"}})},
                               beams);
    QVERIFY(view);
    for (const QPoint& p : cells)
      view->selectionModel()->select(model(beams).index(p.y(), p.x()), QItemSelectionModel::Select);
    QGuiApplication::clipboard()->clear();
    key(Qt::Key_C, Qt::ControlModifier);
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    QVERIFY(mime);
    QCOMPARE(mime->text(), text);
    QCOMPARE(mime->html(),
             QStringLiteral("<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
                            "charset=utf-8\"></head><body><table>\n") +
                 rows + QStringLiteral("</table></body></html>\n"));
  }

  void paste_fills_from_the_current_cell_in_one_step_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("html");  // on the clipboard when there is no text
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("heading");
    QTest::addColumn<QString>("members");
    QTest::addColumn<QString>("storeys");
    QTest::addColumn<QString>("box");
    const auto row = [](const char* name, const char* text, const char* html, int at,
                        const char* heading, const char* members, const char* storeys,
                        const char* box) {
      QTest::newRow(name) << QString(text) << QString(html) << at << QString(heading)
                          << QString(members) << QString(storeys) << QString(box);
    };
    // clang-format off
    row("down a column", "4.2\n3.9\n", "", 0, "层高(m)", "KL1|LT-1|KL2", "4.2|3.9", "");
    // The rows past the last beam are new beams, after the book's last entry.
    row("past the last row", "4.2\n3.9\n3.3", "", 1, "层高(m)", "KL1|LT-1|KL2|梁 3|梁 4",
        "3.6|4.2|3.9|3.3", "");
    row("across columns", "KL9\t4.5\t3.0", "", 0, "构件", "KL9|LT-1|KL2", "3.0|3.6", "");
    row("by its headings", "层高(m)\t构件\n2.8\tKL0\n", "", 0, "备注", "KL0|LT-1|KL2", "2.8|3.6", "");
    row("an HTML table only", "", "<table><tr><td>4.2</td></tr></table>", 1, "层高(m)",
        "KL1|LT-1|KL2", "3.6|4.2", "");
    row("another kind's column", "踏步宽度(mm)\n300\n", "", 0, "层高(m)", "KL1|LT-1|KL2", "3.6|3.6",
        "粘贴 | 第 1 列：“踏步宽度(mm)” 是楼梯恒荷载的输入，梁上线荷载的计算表没有这一列");
    // clang-format on
  }
  void paste_fills_from_the_current_cell_in_one_step() {
    QFETCH(QString, text);
    QFETCH(QString, html);
    QFETCH(int, row);
    QFETCH(QString, heading);
    QFETCH(QString, members);
    QFETCH(QString, storeys);
    QFETCH(QString, box);
    ScheduleView* view = shown({beam("KL1"), stair("LT-1"), beam("KL2")}, beams);
    QVERIFY(view);
    view->setCurrentIndex(cell(beams, row, heading));
    auto* mime = new QMimeData;
    if (!text.isEmpty()) mime->setText(text);
    if (!html.isEmpty()) mime->setHtml(html);
    QGuiApplication::clipboard()->setMimeData(mime);
    const QString before = names();
    const int steps_before = steps();
    key(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(names(), members);
    QCOMPARE(column_texts(beams, QStringLiteral("层高(m)")), storeys);
    const QStringList shown_boxes = fx->watcher.take_boxes();
    QCOMPARE(shown_boxes.join(u'\n').section(QStringLiteral(" | "), 0, 1), box);
    QCOMPARE(steps(), steps_before + (box.isEmpty() ? 1 : 0));
    if (!box.isEmpty()) return;
    action("undo")->trigger();
    QCOMPARE(names(), before);
    QCOMPARE(column_texts(beams, QStringLiteral("层高(m)")), QStringLiteral("3.6|3.6"));
  }

  void opening_asks_before_it_overwrites_unfiled_texts_data() {
    QTest::addColumn<QString>("calculator");  // field:text, or nothing for the start-up texts
    QTest::addColumn<QString>("opened");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("asked");
    QTest::addColumn<QString>("text1_after");
    QTest::addColumn<QString>("text8_after");
    const auto row = [](const char* name, const char* calculator, const char* opened,
                        const char* answer, const char* kind, const char* text1,
                        const char* text8) {
      const QString asked = *kind
                                ? QStringLiteral(
                                      "计算器中的%1输入不在计算书的任何条目中。打开“%2”将覆盖它们。"
                                      "是否打开？")
                                      .arg(QString(kind), QString(opened))
                                : QString();
      QTest::newRow(name) << QString(calculator) << QString(opened) << QString(answer) << asked
                          << QString(text1) << QString(text8);
    };
    // clang-format off
    row("start-up texts", "", "KL2", "", "", "5.0", "160");
    row("an entry's texts", "Text1:5.0", "KL1", "", "", "4.0", "160");
    row("texts of no entry, opened", "Text1:6.0", "KL2", "打开", "梁上线荷载", "5.0", "160");
    row("texts of no entry, kept", "Text1:6.0", "KL2", "取消", "梁上线荷载", "6.0", "160");
    // Only the opened kind's fields are overwritten, so only they count.
    row("the other kind's texts", "Text8:170", "KL2", "", "", "5.0", "170");
    row("a stair over unfiled stair texts", "Text8:170", "LT-1", "打开", "楼梯恒荷载", "4.0", "150");
    // clang-format on
  }
  void opening_asks_before_it_overwrites_unfiled_texts() {
    QFETCH(QString, calculator);
    QFETCH(QString, opened);
    QFETCH(QString, answer);
    QFETCH(QString, asked);
    QFETCH(QString, text1_after);
    QFETCH(QString, text8_after);
    if (!calculator.isEmpty()) {
      const QStringList parts = calculator.split(u':');
      fx->form->set_text(*field_named(parts[0].toStdString()), parts[1].toStdString());
    }
    const bool stair_opened = opened.startsWith(u'L');
    QVERIFY(shown(
        {beam("KL1"), stair("LT-1", {{Field::Text8, "150"}}), beam("KL2", {{Field::Text1, "5.0"}})},
        stair_opened ? stairs : beams));
    book()->select_row(opened == u"KL1" ? 0 : opened == u"LT-1" ? 1 : 2);
    Answer reply(answer.isEmpty() ? QStringLiteral("打开") : answer);
    action("openInCalculator")->trigger();
    QCOMPARE(reply.said, asked);
    QCOMPARE(fx->form->edit("Text1")->text(), text1_after);
    QCOMPARE(fx->form->edit("Text8")->text(), text8_after);
  }

  // An entry's layers and openings stand in its table as what they sum to, are not typed over,
  // and reach the calculator only after it says what it cannot show; 更新条目 then keeps them
  // unless the user changed their figure there.
  void stated_figures_in_the_table_and_the_calculator_data() {
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("text6_typed");  // in the calculator before 更新条目
    QTest::addColumn<QString>("text4_after");
    QTest::addColumn<QString>("wall_cell_after");
    QTest::newRow("cancelled") << "取消"
                               << ""
                               << "2.0"
                               << "1.8";
    QTest::newRow("opened, updated unchanged") << "打开"
                                               << ""
                                               << "1.5"
                                               << "1.8";
    QTest::newRow("opened, wall weight typed") << "打开"
                                               << "2.5"
                                               << "1.5"
                                               << "2.5";
  }
  void stated_figures_in_the_table_and_the_calculator() {
    QFETCH(QString, answer);
    QFETCH(QString, text6_typed);
    QFETCH(QString, text4_after);
    QFETCH(QString, wall_cell_after);
    Entry kl = beam("KL1", {{Field::Text1, "6.0"}});
    Assumptions a;
    a.wall_layers = std::vector<WallLayerText>{{"加气混凝土", LayerBasis::thickness, "200", "6"},
                                               {"水泥砂浆", LayerBasis::thickness, "30", "20"}};
    a.openings =
        std::vector<OpeningText>{{"1.5", "1.8", "1", "0.45", ""}, {"0.9", "2.1", "1", "0.2", ""}};
    QVERIFY(shown({restated(kl, a)}, beams));
    const QModelIndex wall = cell(beams, 0, QStringLiteral("墙自重(kN/m²)"));
    QCOMPARE(wall.data().toString(), QStringLiteral("1.8"));
    QVERIFY(!(wall.flags() & Qt::ItemIsEditable));
    QCOMPARE(cell(beams, 0, QStringLiteral("门窗洞口宽度(m)")).data().toString(),
             QStringLiteral("洞口 2 项"));
    book()->select_row(0);
    Answer reply(answer);
    action("openInCalculator")->trigger();
    QVERIFY(reply.said.contains(QStringLiteral("洞口共 2 项：计算器只显示第 1 项")));
    QCOMPARE(fx->form->edit("Text4")->text(), text4_after);
    if (answer != u"打开") return;
    QCOMPARE(fx->form->edit("Text6")->text(), QStringLiteral("1.8"));
    if (!text6_typed.isEmpty()) fx->form->set_text(Field::Text6, text6_typed.toStdString());
    action("updateEntry")->trigger();
    QCOMPARE(cell(beams, 0, QStringLiteral("墙自重(kN/m²)")).data().toString(), wall_cell_after);
    QCOMPARE(book()->document().book().entries[0].assumptions.openings.has_value(), true);
  }

  // A building's book stays quick to type into: an edit repaints its own row, and no other
  // table hears of it.
  void an_edit_repaints_its_row_only() {
    std::vector<Entry> entries;
    for (int i = 0; i < 300; ++i)
      entries.push_back(i % 3 == 2 ? stair("LT" + std::to_string(i))
                                   : beam("KL" + std::to_string(i)));
    Book b;
    b.entries = entries;
    book()->document().adopt(b, {});
    QSignalSpy beam_rows(&model(beams), &QAbstractItemModel::dataChanged);
    QSignalSpy stair_rows(&model(stairs), &QAbstractItemModel::dataChanged);
    QSignalSpy resets(&model(beams), &QAbstractItemModel::modelReset);
    QVERIFY(model(beams).setData(cell(beams, 150, QStringLiteral("层高(m)")), QStringLiteral("0"),
                                 Qt::EditRole));
    QCOMPARE(beam_rows.size(), 1);
    QCOMPARE(beam_rows[0][0].toModelIndex().row(), 150);
    QCOMPARE(beam_rows[0][1].toModelIndex().row(), 150);
    QCOMPARE(stair_rows.size(), 0);
    QCOMPARE(resets.size(), 0);
    QCOMPARE(cell(beams, 150, QStringLiteral("构件")).data().toString(), QStringLiteral("KL225"));
  }
};

LOADCALC_GUI_TEST_MAIN(ScheduleTest)
#include "test_book_schedule.moc"
