// The editors of an entry's layers, openings and stair materials, filled as a user fills them.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QtTest>

#include "ui/assumption_editors.h"

using namespace loadcalc;
using namespace loadcalc::ui;
using Wall = WallLayersEditor;

class TestAssumptionEditors : public QObject {
  Q_OBJECT

  static void pick(QComboBox* combo, const QString& name) {
    combo->setCurrentIndex(combo->findText(name));
    emit combo->activated(combo->currentIndex());
  }
  static void retype(QLineEdit* field, const QString& text) {
    field->selectAll(), field->insert(text);
  }
  template <class W>
  static W* cell(RowsEditor* e, int row, int column) {
    return qobject_cast<W*>(e->table()->cellWidget(row, column));
  }
  static QString sum(QWidget* editor) { return editor->findChild<QLabel*>()->text(); }

 private slots:
  void field_figure_writes_three_decimals_at_most() {
    for (const auto& [value, text] : {std::pair{16.35, "16.35"}, {2.1234, "2.123"}, {-0.0004, "0"}})
      QCOMPARE(QString::fromStdString(field_figure(value)), QString(text));
  }

  void layers_sum_as_the_worked_examples() {
    const std::pair<QStringList, QString> rows[] = {
        {{"陶粒空心砌块 200", "水泥砂浆 30"}, "墙自重 g_w = 1.2 + 0.6 = 1.8 kN/m²"},
        {{"浆砌机砖 200", "混合砂浆 20", "混合砂浆 20"},
         "墙自重 g_w = 3.8 + 0.34 + 0.34 = 4.48 kN/m²"},
    };
    for (const auto& [picked, total] : rows) {
      Wall editor;
      for (int row = 0; row < picked.size(); ++row) {
        editor.add_row();
        pick(cell<QComboBox>(&editor, row, Wall::col_material), picked[row].section(u' ', 0, 0));
        retype(cell<QLineEdit>(&editor, row, Wall::col_thickness), picked[row].section(u' ', 1));
      }
      QCOMPARE(sum(&editor), total);
    }
  }

  void a_figure_outside_the_codes_range_is_marked() {
    Wall editor;
    editor.set_layers({{"加气混凝土", LayerBasis::thickness, "200", "8"}});
    QCOMPARE(editor.table()->item(0, Wall::col_source)->text(),
             "设计取值，超出规范所列范围（GB 50009—2012 附录A 表A 第6项 所列 5.5～7.5 kN/m³）");
  }

  // More layers than a book file reads back would make the entry unreadable once saved.
  void the_layers_stop_at_what_a_book_reads() {
    Wall editor;
    for (std::size_t i = 0; i <= max_wall_layers; ++i) editor.add_row();
    QCOMPARE(editor.layers().size(), max_wall_layers);
  }

  // Scrolling the table over a drop-down must not pick another material for its row.
  void the_wheel_picks_only_in_the_drop_down_the_user_is_in() {
    Wall editor;
    editor.set_layers({{"水泥砂浆", LayerBasis::thickness, "20", "20"}});
    editor.show();
    editor.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&editor));
    auto* combo = cell<QComboBox>(&editor, 0, Wall::col_material);
    const auto turn_to = [&](QWidget* focus) {
      focus->setFocus();
      QWheelEvent wheel(QPointF(5, 5), combo->mapToGlobal(QPointF(5, 5)), {}, QPoint(0, -120),
                        Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
      QApplication::sendEvent(combo, &wheel);
      return QString::fromStdString(editor.layers()[0].material);
    };
    QCOMPARE(turn_to(cell<QLineEdit>(&editor, 0, Wall::col_thickness)), "水泥砂浆");
    QCOMPARE(turn_to(combo), "水泥石灰焦渣砂浆");
  }

  void openings_show_their_totals() {
    OpeningsEditor editor;
    editor.set_openings(
        {{"1.5", "1.8", "2", "0.45", "钢框玻璃窗"}, {"0.9", "2.1", "1", "0.20", ""}});
    QCOMPARE(sum(&editor), "洞口总面积 A_o = Σ 樘数 × 宽 × 高 = 7.29 m²；门窗总重 G_o = 2.808 kN");
  }

  void stair_materials_are_written_only_when_stated() {
    StairMaterialsEditor editor;
    Assumptions a;
    editor.write_to(a);
    QVERIFY(a == Assumptions{});
    editor.concrete_stated()->setChecked(true);
    retype(editor.concrete(), "24.0");
    editor.soffit_stated()->setChecked(true);
    pick(editor.soffit_material(), "水泥粉刷墙面");
    editor.write_to(a);
    QVERIFY((a == Assumptions{{}, {}, "24.0", FinishText{"水泥粉刷墙面", "0.36"}, {}}));
  }
};

QTEST_MAIN(TestAssumptionEditors)
#include "test_assumption_editors.moc"
