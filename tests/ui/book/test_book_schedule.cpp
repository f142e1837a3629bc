// The book as a schedule: cells typed in place and judged at once, each edit one undo step; rows
// in and out in book order; fill down, copy and paste; opening an entry asks before it loses texts.
#include <QAbstractButton>
#include <QAction>
#include <QClipboard>
#include <QMessageBox>
#include <QMimeData>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTabWidget>
#include <QtTest>
#include <tuple>

#include "app/workspace.h"
#include "book/stated.h"
#include "gui_fixture.h"
#include "tests/support/entries.h"
#include "tests/ui/book/answer.h"
#include "ui/book/book_document.h"
#include "ui/book/book_window.h"
#include "ui/book/schedule_model.h"
#include "ui/book/schedule_view.h"

using namespace loadcalc;
using namespace loadcalc::test;

namespace {

constexpr auto beams = Calculation::MainProgram_1;

void key(int k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
  QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(k), mods);
}

// Two beams and two stairs, alternating; KL2's bay is 5.0 and LT-2's riser a refused 200.
std::vector<Entry> building() {
  return {beam("KL1"), stair("LT-1"), beam("KL2", {{Field::Text1, "5.0"}}),
          stair("LT-2", {{Field::Text8, "200"}})};
}

}  // namespace

class ScheduleTest : public WindowTest {
  Q_OBJECT

  ui::BookWindow* book() {
    auto* w = fx->form->findChild<app::Workspace*>();
    return (w ? *w : *new app::Workspace(*fx->form)).book_window();
  }
  void trigger(const char* name) { book()->findChild<QAction*>(name)->trigger(); }
  ui::ScheduleModel& model(Calculation kind = beams) { return book()->schedule_model(kind); }
  ui::ScheduleView* view() { return book()->schedule(beams); }
  QString head(int c) { return model().headerData(c, Qt::Horizontal, Qt::DisplayRole).toString(); }
  QModelIndex cell(int row, const QString& name) {
    for (int c = 0; c < model().columnCount(); ++c)
      if (head(c) == name) return model().index(row, c);
    return {};
  }
  // A column top to bottom, or with `role` the headings of the first row's cells that have it.
  QString texts(const QString& name, int role = Qt::DisplayRole) {
    QStringList out;
    for (int c = 0; role != Qt::DisplayRole && c < model().columnCount(); ++c)
      if (model().index(0, c).data(role).isValid()) out << head(c);
    for (int r = 0; role == Qt::DisplayRole && r < model().rowCount(); ++r)
      out << cell(r, name).data().toString();
    return out.join(u'|');
  }
  QString names() {
    QStringList out;
    for (const Entry& e : book()->document().book().entries) out << qstr(e.name);
    return out.join(u'|');
  }
  // The window shown with `entries`, active, the beams' table current and holding the focus.
  bool shown(const std::vector<Entry>& entries = building()) {
    for (const Entry& e : entries) book()->append(e);
    book()->show();
    // The calculator's own activation may still be on its way.
    const bool active = QTest::qWaitFor([this] {
      if (QApplication::activeWindow() != book()) book()->activateWindow();
      return QApplication::activeWindow() == book();
    });
    book()->schedules()->setCurrentWidget(view());
    view()->setFocus();
    view()->clearSelection();
    return active;
  }

 private slots:
  void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

  // The bay passes its own test; the opening it no longer holds is the cell marked.
  void a_typed_cell_is_judged_at_once_and_undone_in_one_step() {
    QVERIFY(shown());
    const QModelIndex bay = cell(0, "轴线开间尺寸(m)");
    const QString check = QStringLiteral("窗宽≥开间轴线间距，数据错误。请重新输入！");
    view()->setCurrentIndex(bay);
    // Each character a key of its own: the first opens the cell's editor.
    for (const QChar c : QStringLiteral("1.5")) press(QApplication::focusWidget(), 0, QString(c));
    key(Qt::Key_Return);
    QCOMPARE(view()->currentIndex(), cell(1, "轴线开间尺寸(m)"));
    QCOMPARE(bay.data().toString() + cell(0, "结果").data().toString(), "1.5—");
    QCOMPARE(cell(0, "检查").data().toString(), check);
    QCOMPARE(texts({}, Qt::BackgroundRole), "门窗洞口宽度(m)");
    QCOMPARE(cell(0, "门窗洞口宽度(m)").data(Qt::ToolTipRole).toString(), "<p>" + check + "</p>");
    trigger("undo");
    QCOMPARE(bay.data().toString() + cell(0, "检查").data().toString(), "4.0");
    QCOMPARE(texts({}, Qt::BackgroundRole), QString());
  }

  // Tab keeps the text and moves right; Esc gives the cell back and stays.
  void tab_moves_right_and_esc_gives_the_cell_back() {
    QVERIFY(shown());
    const QModelIndex height = cell(0, "层高(m)");
    for (const auto& [ended_by, typed, stored, next] :
         {std::tuple{Qt::Key_Tab, "4.2", "4.2", "框架梁高(m)"},
          std::tuple{Qt::Key_Escape, "5.1", "4.2", "层高(m)"}}) {
      view()->setCurrentIndex(height);
      for (const QChar c : QString(typed)) press(QApplication::focusWidget(), 0, QString(c));
      key(ended_by);
      QCOMPARE(height.data().toString(), stored);
      QCOMPARE(view()->currentIndex(), cell(0, next));
    }
  }

  void rows_go_in_and_out_in_book_order() {
    QVERIFY(shown());
    for (const int row : {0, 1})
      view()->selectionModel()->setCurrentIndex(cell(row, "构件"), QItemSelectionModel::Select);
    key(Qt::Key_Return, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(names(), "LT-1|LT-2");
    trigger("undo");
    view()->setCurrentIndex(cell(0, "构件"));
    key(Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(names(), "KL1|梁 3|LT-1|KL2|LT-2");
    trigger("undo");
    QCOMPARE(names(), "KL1|LT-1|KL2|LT-2");
  }

  void fill_down_is_one_step() {
    QVERIFY(shown({beam("KL1"), stair("LT-1"), beam("KL2", {{Field::Text1, "5.0"}}),
                   beam("KL3", {{Field::Text1, "0"}})}));
    const QString bay = QStringLiteral("轴线开间尺寸(m)");
    view()->selectionModel()->select(QItemSelection(cell(0, bay), cell(2, bay)),
                                     QItemSelectionModel::Select);
    key(Qt::Key_D, Qt::ControlModifier);
    QCOMPARE(texts(bay), "4.0|4.0|4.0");
    trigger("undo");
    QCOMPARE(texts(bay), "4.0|5.0|0");
  }

  // A spreadsheet takes the text, a word processor the table; both keep a note's tab and lines.
  void copy_gives_tab_separated_text_and_an_html_table() {
    std::vector<Entry> entries = building();
    entries[0].note = "梁端\t加腋\n<两侧>";
    entries[2].note = "KL \"2\"";
    QVERIFY(shown(entries));
    view()->selectionModel()->select(QItemSelection(model().index(0, 10), model().index(1, 12)),
                                     QItemSelectionModel::Select);
    QGuiApplication::clipboard()->clear();
    key(Qt::Key_C, Qt::ControlModifier);
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    QVERIFY(mime);
    QCOMPARE(mime->text(), "6.7\t\t\"梁端\t加腋\n<两侧>\"\n7.25\t\tKL \"2\"\n");
    QCOMPARE(mime->html(),
             "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
             "charset=utf-8\"></head><body><table>\n"
             "<tr><td>6.7</td><td></td><td>梁端\t加腋<br>&lt;两侧&gt;</td></tr>\n"
             "<tr><td>7.25</td><td></td><td>KL &quot;2&quot;</td></tr>\n"
             "</table></body></html>\n");
  }

  void paste_fills_from_the_current_cell_in_one_step_data() {
    QTest::addColumn<QString>("row");  // text;row;column;the book after;storeys;the box
    QTest::newRow("by position") << "KL9\t4.5\t3.0;0;构件;KL9|LT-1|KL2;3.0|3.6;";
    // The rows past the last beam are new beams, after the book's last entry.
    QTest::newRow("past the end")
        << "4.2\n3.9\n3.3;1;层高(m);KL1|LT-1|KL2|梁 3|梁 4;3.6|4.2|3.9|3.3;";
    QTest::newRow("by its headings") << "层高(m)\t构件\n2.8\tKL0\n;0;备注;KL0|LT-1|KL2;2.8|3.6;";
    QTest::newRow("another kind's column")
        << "踏步宽度(mm)\n300\n;0;层高(m);KL1|LT-1|KL2;3.6|3.6;粘贴 | 第 1 列：“踏步宽度(mm)” "
           "是楼梯恒荷载的输入，梁上线荷载的计算表没有这一列";
  }
  void paste_fills_from_the_current_cell_in_one_step() {
    QFETCH(QString, row);  // one string, its fields split at ';'
    const QStringList r = row.split(u';');
    QVERIFY(shown({beam("KL1"), stair("LT-1"), beam("KL2")}));
    view()->setCurrentIndex(cell(r[1].toInt(), r[2]));
    QGuiApplication::clipboard()->setText(r[0]);
    key(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(names() + ';' + texts("层高(m)"), r[3] + ';' + r[4]);
    QCOMPARE(fx->watcher.take_boxes().join(u'\n').section(QStringLiteral(" | "), 0, 1), r[5]);
    if (r[5].isEmpty()) trigger("undo");
    QCOMPARE(names() + texts("层高(m)"), "KL1|LT-1|KL23.6|3.6");
  }

  void opening_asks_before_it_overwrites_unfiled_texts_data() {
    QTest::addColumn<QString>("row");  // the calculator's bay, or none: start-up;answer;bay after
    QTest::newRow("start-up texts") << ";;5.0";
    QTest::newRow("texts of no entry, opened") << "6.0;打开;5.0";
    QTest::newRow("texts of no entry, kept") << "6.0;取消;6.0";
  }
  void opening_asks_before_it_overwrites_unfiled_texts() {
    QFETCH(QString, row);  // one string, its fields split at ';'
    const QStringList r = row.split(u';');
    if (!r[0].isEmpty()) fx->form->set_text(Field::Text1, r[0].toStdString());
    QVERIFY(shown());
    book()->select_row(2);
    Answer reply(r[1].isEmpty() ? QStringLiteral("打开") : r[1]);
    trigger("openInCalculator");
    QCOMPARE(reply.said, QString(r[1].isEmpty() ? ""
                                                : "计算器中的梁上线荷载输入不在计算书的任何条目中。"
                                                  "打开“KL2”将覆盖它们。是否打开？"));
    QCOMPARE(fx->form->edit("Text1")->text(), r[2]);
  }

  // An entry's layers and openings stand in its table as what they sum to, are not typed over,
  // and reach the calculator only after it says what it cannot show; 更新条目 then keeps them
  // unless the user changed their figure there.
  void stated_figures_in_the_table_and_the_calculator() {
    Assumptions a;
    a.wall_layers = std::vector<WallLayerText>{{"加气混凝土", LayerBasis::thickness, "200", "6"},
                                               {"水泥砂浆", LayerBasis::thickness, "30", "20"}};
    a.openings =
        std::vector<OpeningText>{{"1.5", "1.8", "1", "0.45", ""}, {"0.9", "2.1", "1", "0.2", ""}};
    QVERIFY(shown({restated(beam("KL1", {{Field::Text1, "6.0"}}), a)}));
    const QModelIndex wall = cell(0, "墙自重(kN/m²)");
    QCOMPARE(wall.data().toString() + cell(0, "门窗洞口宽度(m)").data().toString(), "1.8洞口 2 项");
    QVERIFY(!(wall.flags() & Qt::ItemIsEditable));
    book()->select_row(0);
    for (const char* answer : {"取消", "打开"}) {
      Answer reply(answer);
      trigger("openInCalculator");
      QVERIFY(reply.said.contains(QStringLiteral("洞口共 2 项：计算器只显示第 1 项")));
      QCOMPARE(fx->form->edit("Text4")->text(), answer == std::string_view("取消") ? "2.0" : "1.5");
    }
    QCOMPARE(fx->form->edit("Text6")->text(), "1.8");
    fx->form->set_text(Field::Text6, "2.5");
    trigger("updateEntry");
    QCOMPARE(wall.data().toString(), "2.5");
    QVERIFY(book()->document().book().entries[0].assumptions.openings.has_value());
  }

  // A building's book stays quick to type into: an edit repaints its own row, and no other
  // table hears of it.
  void an_edit_repaints_its_row_only() {
    Book b;
    for (int i = 0; i < 300; ++i)
      b.entries.push_back(i % 3 == 2 ? stair("LT" + std::to_string(i))
                                     : beam("KL" + std::to_string(i)));
    book()->document().adopt(b, {});
    QSignalSpy beam_rows(&model(), &QAbstractItemModel::dataChanged);
    QSignalSpy stair_rows(&model(Calculation::MainProgram_2), &QAbstractItemModel::dataChanged);
    QSignalSpy resets(&model(), &QAbstractItemModel::modelReset);
    QVERIFY(model().setData(cell(150, "层高(m)"), "0", Qt::EditRole));
    QCOMPARE(beam_rows.size() + stair_rows.size() + resets.size(), 1);
    QCOMPARE(beam_rows.value(0).value(0).toModelIndex().row(), 150);
    QCOMPARE(beam_rows.value(0).value(1).toModelIndex().row(), 150);
  }
};

LOADCALC_GUI_TEST_MAIN(ScheduleTest)
#include "test_book_schedule.moc"
