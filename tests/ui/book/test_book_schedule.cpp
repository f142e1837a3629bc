// The book as a schedule: a table a kind, typed into in place and judged at once, each edit one
// undo step; rows in and out in the book's order; cells filled down, copied and pasted as in a
// spreadsheet; an entry opened into the calculator only after asking, when that would lose texts.
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

// Clicks `answer` on the next message box before the fixture's watcher would dismiss it, and
// keeps what the box said.
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

void key(int k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
  QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(k), mods);
}

// Each character a key of its own: the first opens the current cell's editor.
void type(const QString& text) {
  for (const QChar c : text) press(QApplication::focusWidget(), 0, QString(c));
}

// Two beams and two stairs, alternating; KL2's bay is 5.0 and LT-2's riser a refused 200.
std::vector<Entry> building() {
  return {beam("KL1"), stair("LT-1"), beam("KL2", {{Field::Text1, "5.0"}}),
          stair("LT-2", {{Field::Text8, "200"}})};
}

}  // namespace

class ScheduleTest : public WindowTest {
  Q_OBJECT

  BookWindow* book() {
    auto* w = fx->form->findChild<app::Workspace*>();
    return (w ? *w : *new app::Workspace(*fx->form)).book_window();
  }
  void trigger(const char* name) {
    book()->findChild<QAction*>(QString::fromLatin1(name))->trigger();
  }
  ScheduleModel& model(Calculation kind) { return book()->schedule_model(kind); }
  QString heading(Calculation kind, int c) {
    return model(kind).headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
  }
  QModelIndex cell(Calculation kind, int row, const QString& name) {
    for (int c = 0; c < model(kind).columnCount(); ++c)
      if (heading(kind, c) == name) return model(kind).index(row, c);
    return {};
  }
  // A column top to bottom, or with `role` the headings of the first row's cells that have it.
  QString texts(Calculation kind, const QString& name, int role = Qt::DisplayRole) {
    QStringList out;
    if (role != Qt::DisplayRole) {
      for (int c = 0; c < model(kind).columnCount(); ++c)
        if (model(kind).index(0, c).data(role).isValid()) out << heading(kind, c);
    } else {
      for (int r = 0; r < model(kind).rowCount(); ++r) out << cell(kind, r, name).data().toString();
    }
    return out.join(u'|');
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

 private slots:
  void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

  void a_table_a_kind_with_its_columns_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("headings");
    QTest::addColumn<QString>("typed_into");
    QTest::addColumn<QString>("numbers");  // 序号 counts the whole book, as the PDF and CSV do
    QTest::addColumn<QString>("results");
    // clang-format off
    QTest::newRow("beam") << 0 << "序号|构件|轴线开间尺寸(m)|层高(m)|框架梁高(m)|门窗洞口宽度(m)|"
        "门窗洞口高度(m)|墙自重(kN/m²)|窗重(kN/m²)|框架柱宽(m)|结果|检查|备注"
        << "-eeeeeeeee--e" << "1|3" << "6.7|7.25";
    QTest::newRow("stair") << 1 << "序号|构件|踏步宽度(mm)|踏步高度(mm)|楼梯板厚度(mm)|面层厚度(mm)|"
        "面层容重(kN/m³)|结果|检查|备注" << "-eeeeee--e" << "2|4" << "7.172|—";
    // clang-format on
  }
  void a_table_a_kind_with_its_columns() {
    QFETCH(int, kind);
    QFETCH(QString, headings);
    QFETCH(QString, typed_into);
    QFETCH(QString, numbers);
    QFETCH(QString, results);
    const auto k = static_cast<Calculation>(kind);
    QVERIFY(shown(building(), k));
    QStringList shown_headings;
    QString editable;
    for (int c = 0; c < model(k).columnCount(); ++c) {
      shown_headings << heading(k, c);
      editable += model(k).flags(model(k).index(0, c)) & Qt::ItemIsEditable ? u'e' : u'-';
    }
    QCOMPARE(shown_headings.join(u'|'), headings);
    QCOMPARE(editable, typed_into);
    QCOMPARE(texts(k, QStringLiteral("序号")), numbers);
    QCOMPARE(texts(k, QStringLiteral("结果")), results);
  }

  void a_typed_cell_is_judged_at_once_and_undone_in_one_step_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("check");
    QTest::addColumn<QString>("flagged");
    // clang-format off
    QTest::newRow("a wider bay") << 0 << "轴线开间尺寸(m)" << "5.0" << "7.25" << "" << "";
    QTest::newRow("no storey") << 0 << "层高(m)" << "0" << "—" << "层高≤0，数据错误。请重新输入！"
                               << "层高(m)";
    // The bay passes its own test; the opening it no longer holds is the cell marked.
    QTest::newRow("a bay narrower than the opening") << 0 << "轴线开间尺寸(m)" << "1.5" << "—"
        << "窗宽≥开间轴线间距，数据错误。请重新输入！" << "门窗洞口宽度(m)";
    QTest::newRow("a stair's riser") << 1 << "踏步高度(mm)" << "200" << "—"
        << "踏步高度≤0或≥200，数据错误。请重新输入！" << "踏步高度(mm)";
    // clang-format on
  }
  void a_typed_cell_is_judged_at_once_and_undone_in_one_step() {
    QFETCH(int, kind);
    QFETCH(QString, name);
    QFETCH(QString, typed);
    QFETCH(QString, result);
    QFETCH(QString, check);
    QFETCH(QString, flagged);
    const auto k = static_cast<Calculation>(kind);
    ScheduleView* view = shown(building(), k);
    QVERIFY(view);
    const QModelIndex at = cell(k, 0, name);
    const QString before = at.data().toString();
    view->setCurrentIndex(at);
    type(typed);
    key(Qt::Key_Return);
    QCOMPARE(at.data().toString(), typed);
    QCOMPARE(cell(k, 0, QStringLiteral("结果")).data().toString(), result);
    QCOMPARE(cell(k, 0, QStringLiteral("检查")).data().toString(), check);
    QCOMPARE(texts(k, {}, Qt::BackgroundRole), flagged);
    if (!flagged.isEmpty())
      QCOMPARE(cell(k, 0, flagged).data(Qt::ToolTipRole).toString(), "<p>" + check + "</p>");
    trigger("undo");
    QCOMPARE(at.data().toString(), before);
    QCOMPARE(cell(k, 0, QStringLiteral("检查")).data().toString(), QString());
    QCOMPARE(texts(k, {}, Qt::BackgroundRole), QString());
  }

  void keys_move_as_in_a_spreadsheet_data() {
    QTest::addColumn<int>("ended_by");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("row_after");
    QTest::addColumn<QString>("column_after");
    QTest::newRow("Enter") << int(Qt::Key_Return) << "4.2" << 1 << "层高(m)";
    QTest::newRow("Tab") << int(Qt::Key_Tab) << "4.2" << 0 << "框架梁高(m)";
    QTest::newRow("Esc") << int(Qt::Key_Escape) << "3.6" << 0 << "层高(m)";
  }
  void keys_move_as_in_a_spreadsheet() {
    QFETCH(int, ended_by);
    QFETCH(QString, stored);
    QFETCH(int, row_after);
    QFETCH(QString, column_after);
    ScheduleView* view = shown(building(), beams);
    QVERIFY(view);
    view->setCurrentIndex(cell(beams, 0, QStringLiteral("层高(m)")));
    type(QStringLiteral("4.2"));
    key(ended_by);
    QCOMPARE(QApplication::focusWidget(), view);
    QCOMPARE(cell(beams, 0, QStringLiteral("层高(m)")).data().toString(), stored);
    QCOMPARE(view->currentIndex(), cell(beams, row_after, column_after));
  }

  void rows_go_in_and_out_in_book_order_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QList<int>>("selected");
    QTest::addColumn<bool>("insert");  // or delete
    QTest::addColumn<QString>("after");
    // clang-format off
    QTest::newRow("below the first beam") << 0 << QList<int>{0} << true << "KL1|梁 3|LT-1|KL2|LT-2";
    QTest::newRow("below the first stair") << 1 << QList<int>{0} << true << "KL1|LT-1|楼梯 3|KL2|LT-2";
    QTest::newRow("none current: after the kind's last") << 0 << QList<int>{} << true
                                                         << "KL1|LT-1|KL2|梁 3|LT-2";
    QTest::newRow("two beams out") << 0 << QList<int>{0, 1} << false << "LT-1|LT-2";
    QTest::newRow("the second stair out") << 1 << QList<int>{1} << false << "KL1|LT-1|KL2";
    // clang-format on
  }
  void rows_go_in_and_out_in_book_order() {
    QFETCH(int, kind);
    QFETCH(QList<int>, selected);
    QFETCH(bool, insert);
    QFETCH(QString, after);
    const auto k = static_cast<Calculation>(kind);
    ScheduleView* view = shown(building(), k);
    QVERIFY(view);
    view->setCurrentIndex({});
    for (const int row : selected)
      view->selectionModel()->setCurrentIndex(cell(k, row, QStringLiteral("构件")),
                                              QItemSelectionModel::Select);
    key(Qt::Key_Return, insert ? Qt::KeyboardModifiers(Qt::ControlModifier)
                               : Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(names(), after);
    trigger("undo");
    QCOMPARE(names(), QStringLiteral("KL1|LT-1|KL2|LT-2"));
  }

  void fill_down_is_one_step() {
    Entry a = beam("KL1"), b = beam("KL2", {{Field::Text1, "5.0"}});
    a.note = "a";
    b.note = "b";
    ScheduleView* view = shown({a, stair("LT-1"), b, beam("KL3", {{Field::Text1, "0"}})}, beams);
    QVERIFY(view);
    for (const char* h : {"轴线开间尺寸(m)", "备注"})
      view->selectionModel()->select(QItemSelection(cell(beams, 0, h), cell(beams, 2, h)),
                                     QItemSelectionModel::Select);
    key(Qt::Key_D, Qt::ControlModifier);
    QCOMPARE(texts(beams, QStringLiteral("轴线开间尺寸(m)")) + texts(beams, QStringLiteral("备注")),
             QStringLiteral("4.0|4.0|4.0a|a|a"));
    trigger("undo");
    QCOMPARE(texts(beams, QStringLiteral("轴线开间尺寸(m)")) + texts(beams, QStringLiteral("备注")),
             QStringLiteral("4.0|5.0|0a|b|"));
  }

  // A spreadsheet takes the text, a word processor the table; both keep a note's tab and lines.
  void copy_gives_tab_separated_text_and_an_html_table() {
    Entry first = beam("KL1"), second = beam("KL2");
    first.note = "梁端\t加腋\n<两侧>";
    second.note = "KL \"2\"";
    ScheduleView* view = shown({first, stair("LT-1"), second}, beams);
    QVERIFY(view);
    view->selectionModel()->select(
        QItemSelection(model(beams).index(0, 10), model(beams).index(1, 12)),
        QItemSelectionModel::Select);
    QGuiApplication::clipboard()->clear();
    key(Qt::Key_C, Qt::ControlModifier);
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    QVERIFY(mime);
    QCOMPARE(mime->text(), QStringLiteral("6.7\t\t\"梁端\t加腋\n<两侧>\"\n6.7\t\tKL \"2\"\n"));
    QCOMPARE(mime->html(),
             QStringLiteral("<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
                            "charset=utf-8\"></head><body><table>\n"
                            "<tr><td>6.7</td><td></td><td>梁端\t加腋<br>&lt;两侧&gt;</td></tr>\n"
                            "<tr><td>6.7</td><td></td><td>KL &quot;2&quot;</td></tr>\n"
                            "</table></body></html>\n"));
  }

  void paste_fills_from_the_current_cell_in_one_step_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("at");
    QTest::addColumn<QString>("members");
    QTest::addColumn<QString>("storeys");
    QTest::addColumn<QString>("box");
    // clang-format off
    QTest::newRow("by position") << "KL9\t4.5\t3.0" << 0 << "构件" << "KL9|LT-1|KL2" << "3.0|3.6" << "";
    // The rows past the last beam are new beams, after the book's last entry.
    QTest::newRow("past the end") << "4.2\n3.9\n3.3" << 1 << "层高(m)" << "KL1|LT-1|KL2|梁 3|梁 4"
        << "3.6|4.2|3.9|3.3" << "";
    QTest::newRow("by its headings") << "层高(m)\t构件\n2.8\tKL0\n" << 0 << "备注" << "KL0|LT-1|KL2"
        << "2.8|3.6" << "";
    QTest::newRow("another kind's column") << "踏步宽度(mm)\n300\n" << 0 << "层高(m)" << "KL1|LT-1|KL2"
        << "3.6|3.6" << "粘贴 | 第 1 列：“踏步宽度(mm)” 是楼梯恒荷载的输入，梁上线荷载的计算表没有这一列";
    // clang-format on
  }
  void paste_fills_from_the_current_cell_in_one_step() {
    QFETCH(QString, text);
    QFETCH(int, row);
    QFETCH(QString, at);
    QFETCH(QString, members);
    QFETCH(QString, storeys);
    QFETCH(QString, box);
    ScheduleView* view = shown({beam("KL1"), stair("LT-1"), beam("KL2")}, beams);
    QVERIFY(view);
    view->setCurrentIndex(cell(beams, row, at));
    QGuiApplication::clipboard()->setText(text);
    key(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(names(), members);
    QCOMPARE(texts(beams, QStringLiteral("层高(m)")), storeys);
    QCOMPARE(fx->watcher.take_boxes().join(u'\n').section(QStringLiteral(" | "), 0, 1), box);
    if (box.isEmpty()) trigger("undo");
    QCOMPARE(names() + texts(beams, QStringLiteral("层高(m)")),
             QStringLiteral("KL1|LT-1|KL23.6|3.6"));
  }

  void opening_asks_before_it_overwrites_unfiled_texts_data() {
    QTest::addColumn<QString>("calculator");  // field:text, or nothing for the start-up texts
    QTest::addColumn<int>("opened");          // the book's row
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("asked");        // of the kind's texts
    QTest::addColumn<QString>("texts_after");  // Text1 and Text8
    // clang-format off
    QTest::newRow("start-up texts") << "" << 2 << "" << "" << "5.0|160";
    QTest::newRow("an entry's texts") << "Text1:5.0" << 0 << "" << "" << "4.0|160";
    QTest::newRow("texts of no entry, opened") << "Text1:6.0" << 2 << "打开" << "梁上线荷载" << "5.0|160";
    QTest::newRow("texts of no entry, kept") << "Text1:6.0" << 2 << "取消" << "梁上线荷载" << "6.0|160";
    // Only the opened kind's fields are overwritten, so only they count.
    QTest::newRow("the other kind's texts") << "Text8:170" << 2 << "" << "" << "5.0|170";
    QTest::newRow("a stair over stair texts") << "Text8:170" << 1 << "打开" << "楼梯恒荷载" << "4.0|150";
    // clang-format on
  }
  void opening_asks_before_it_overwrites_unfiled_texts() {
    QFETCH(QString, calculator);
    QFETCH(int, opened);
    QFETCH(QString, answer);
    QFETCH(QString, asked);
    QFETCH(QString, texts_after);
    const QStringList typed = calculator.split(u':');
    if (typed.size() == 2)
      fx->form->set_text(*field_named(typed[0].toStdString()), typed[1].toStdString());
    const std::vector<Entry> entries{beam("KL1"), stair("LT-1", {{Field::Text8, "150"}}),
                                     beam("KL2", {{Field::Text1, "5.0"}})};
    QVERIFY(shown(entries, opened == 1 ? stairs : beams));
    book()->select_row(opened);
    Answer reply(answer.isEmpty() ? QStringLiteral("打开") : answer);
    trigger("openInCalculator");
    QCOMPARE(reply.said, asked.isEmpty()
                             ? QString()
                             : "计算器中的" + asked + "输入不在计算书的任何条目中。打开“" +
                                   qstr(entries[opened].name) + "”将覆盖它们。是否打开？");
    QCOMPARE(fx->form->edit("Text1")->text() + '|' + fx->form->edit("Text8")->text(), texts_after);
  }

  // An entry's layers and openings stand in its table as what they sum to, are not typed over,
  // and reach the calculator only after it says what it cannot show; 更新条目 then keeps them
  // unless the user changed their figure there.
  void stated_figures_in_the_table_and_the_calculator_data() {
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("text6_typed");  // in the calculator before 更新条目
    QTest::addColumn<QString>("text4_after");
    QTest::addColumn<QString>("wall_cell_after");
    // clang-format off
    QTest::newRow("cancelled") << "取消" << "" << "2.0" << "1.8";
    QTest::newRow("opened, updated unchanged") << "打开" << "" << "1.5" << "1.8";
    QTest::newRow("opened, wall weight typed") << "打开" << "2.5" << "1.5" << "2.5";
    // clang-format on
  }
  void stated_figures_in_the_table_and_the_calculator() {
    QFETCH(QString, answer);
    QFETCH(QString, text6_typed);
    QFETCH(QString, text4_after);
    QFETCH(QString, wall_cell_after);
    Assumptions a;
    a.wall_layers = std::vector<WallLayerText>{{"加气混凝土", LayerBasis::thickness, "200", "6"},
                                               {"水泥砂浆", LayerBasis::thickness, "30", "20"}};
    a.openings =
        std::vector<OpeningText>{{"1.5", "1.8", "1", "0.45", ""}, {"0.9", "2.1", "1", "0.2", ""}};
    QVERIFY(shown({restated(beam("KL1", {{Field::Text1, "6.0"}}), a)}, beams));
    const QModelIndex wall = cell(beams, 0, QStringLiteral("墙自重(kN/m²)"));
    QCOMPARE(wall.data().toString(), QStringLiteral("1.8"));
    QVERIFY(!(wall.flags() & Qt::ItemIsEditable));
    QCOMPARE(cell(beams, 0, QStringLiteral("门窗洞口宽度(m)")).data().toString(),
             QStringLiteral("洞口 2 项"));
    book()->select_row(0);
    Answer reply(answer);
    trigger("openInCalculator");
    QVERIFY(reply.said.contains(QStringLiteral("洞口共 2 项：计算器只显示第 1 项")));
    QCOMPARE(fx->form->edit("Text4")->text(), text4_after);
    if (answer != u"打开") return;
    QCOMPARE(fx->form->edit("Text6")->text(), QStringLiteral("1.8"));
    if (!text6_typed.isEmpty()) fx->form->set_text(Field::Text6, text6_typed.toStdString());
    trigger("updateEntry");
    QCOMPARE(wall.data().toString(), wall_cell_after);
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
    QSignalSpy beam_rows(&model(beams), &QAbstractItemModel::dataChanged);
    QSignalSpy stair_rows(&model(stairs), &QAbstractItemModel::dataChanged);
    QSignalSpy resets(&model(beams), &QAbstractItemModel::modelReset);
    QVERIFY(model(beams).setData(cell(beams, 150, QStringLiteral("层高(m)")), "0", Qt::EditRole));
    QCOMPARE(beam_rows.size(), 1);
    QCOMPARE(beam_rows[0][0].toModelIndex().row(), 150);
    QCOMPARE(beam_rows[0][1].toModelIndex().row(), 150);
    QCOMPARE(stair_rows.size() + resets.size(), 0);
  }
};

LOADCALC_GUI_TEST_MAIN(ScheduleTest)
#include "test_book_schedule.moc"
