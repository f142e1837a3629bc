// The editors of an entry's layers, openings and stair materials, driven through their cells as a
// user fills them: a picked material fills the code's figure, typed texts are kept as typed, and
// the sums are the sheet's.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

#include "calc/assumptions.h"
#include "ui/assumption_editors.h"

using namespace loadcalc;
using namespace loadcalc::ui;

namespace {

// Picks the list's row of that name, as a click in the drop-down does.
void pick(QComboBox* combo, const QString& name) {
  const int i = combo->findText(name);
  QVERIFY2(i >= 0, qPrintable(name));
  combo->setCurrentIndex(i);
  emit combo->activated(i);
}

void retype(QLineEdit* field, const QString& text) {
  field->setFocus();
  field->selectAll();
  QTest::keyClicks(field, text);
}

template <class W>
W* cell(QTableWidget* t, int row, int column) {
  return qobject_cast<W*>(t->cellWidget(row, column));
}

QString shown(QTableWidget* t, int row, int column) {
  const QTableWidgetItem* item = t->item(row, column);
  return item ? item->text() : QString();
}

QString layer_line(const WallLayerText& l) {
  return QString::fromStdString(l.material) +
         (l.basis == LayerBasis::thickness ? QStringLiteral("|t|") : QStringLiteral("|a|")) +
         QString::fromStdString(l.thickness) + u'|' + QString::fromStdString(l.weight);
}

QStringList layer_lines(const std::vector<WallLayerText>& layers) {
  QStringList out;
  for (const WallLayerText& l : layers) out << layer_line(l);
  return out;
}

}  // namespace

class TestAssumptionEditors : public QObject {
  Q_OBJECT

 private slots:
  void field_figure_writes_three_decimals_without_trailing_zeros_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("block wall's sum") << 0.2 * 6 + 0.03 * 20 << "1.8";
    QTest::newRow("two decimals") << 16.35 << "16.35";
    QTest::newRow("rounded to three") << 2.1234 << "2.123";
    QTest::newRow("rounded up") << 2.1236 << "2.124";
    QTest::newRow("whole") << 2.0 << "2";
    QTest::newRow("large, no exponent") << 1e6 << "1000000";
    QTest::newRow("below a thousandth") << 0.0004 << "0";
    QTest::newRow("tiny negative is not -0") << -0.0004 << "0";
    QTest::newRow("negative") << -1.2 << "-1.2";
  }
  void field_figure_writes_three_decimals_without_trailing_zeros() {
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(field_figure(value)), text);
  }

  // Each layer: "material|thickness|weight"; an empty weight keeps what the pick filled in.
  void layers_sum_as_the_worked_examples_data() {
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QStringList>("layers");  // "material|t or a|thickness|weight"
    QTest::addColumn<QStringList>("layer_weights");
    QTest::addColumn<QString>("sum");

    QTest::newRow("200 block at 6 with 30 of plaster at 20")
        << QStringList{"陶粒空心砌块|200|", "水泥砂浆|30|"}
        << QStringList{"陶粒空心砌块|t|200|6", "水泥砂浆|t|30|20"} << QStringList{"1.2", "0.6"}
        << "墙自重 g_w = 1.2 + 0.6 = 1.8 kN/m²";
    QTest::newRow("200 brick at 19, 20 of plaster at 17 each face")
        << QStringList{"浆砌机砖|200|", "混合砂浆|20|", "混合砂浆|20|"}
        << QStringList{"浆砌机砖|t|200|19", "混合砂浆|t|20|17", "混合砂浆|t|20|17"}
        << QStringList{"3.8", "0.34", "0.34"} << "墙自重 g_w = 3.8 + 0.34 + 0.34 = 4.48 kN/m²";
    QTest::newRow("finishes by area weight")
        << QStringList{"浆砌机砖|200|", "石灰粗砂粉刷||", "石灰粗砂粉刷||"}
        << QStringList{"浆砌机砖|t|200|19", "石灰粗砂粉刷|a||0.34", "石灰粗砂粉刷|a||0.34"}
        << QStringList{"3.8", "0.34", "0.34"} << "墙自重 g_w = 3.8 + 0.34 + 0.34 = 4.48 kN/m²";
    QTest::newRow("typed over the default, as typed")
        << QStringList{"加气混凝土|200|6.0"} << QStringList{"加气混凝土|t|200|6.0"}
        << QStringList{"1.2"} << "墙自重 g_w = 1.2 kN/m²";
  }
  void layers_sum_as_the_worked_examples() {
    QFETCH(QStringList, typed);
    QFETCH(QStringList, layers);
    QFETCH(QStringList, layer_weights);
    QFETCH(QString, sum);

    WallLayersEditor editor;
    editor.show();
    QTableWidget* t = editor.table();
    for (int row = 0; row < typed.size(); ++row) {
      const QStringList parts = typed[row].split(u'|');
      editor.add_row();
      pick(cell<QComboBox>(t, row, WallLayersEditor::col_material), parts[0]);
      if (!parts[1].isEmpty())
        retype(cell<QLineEdit>(t, row, WallLayersEditor::col_thickness), parts[1]);
      if (!parts[2].isEmpty())
        retype(cell<QLineEdit>(t, row, WallLayersEditor::col_weight), parts[2]);
    }
    QCOMPARE(layer_lines(editor.layers()), layers);
    QStringList weights;
    for (int row = 0; row < t->rowCount(); ++row)
      weights << shown(t, row, WallLayersEditor::col_layer_weight);
    QCOMPARE(weights, layer_weights);
    QCOMPARE(editor.findChild<QLabel*>()->text(), sum);
  }

  void a_figure_outside_the_codes_range_is_marked() {
    WallLayersEditor editor;
    editor.set_layers({{"加气混凝土", LayerBasis::thickness, "200", "7.5"},
                       {"加气混凝土", LayerBasis::thickness, "200", "8"},
                       {"轻质条板", LayerBasis::area, "", "0.9"}});
    QTableWidget* t = editor.table();
    QCOMPARE(shown(t, 0, WallLayersEditor::col_source),
             "GB 50009—2012 附录A 表A 第6项（所列 5.5～7.5 kN/m³）");
    QCOMPARE(shown(t, 1, WallLayersEditor::col_source),
             "设计取值，超出规范所列范围（GB 50009—2012 附录A 表A 第6项 所列 5.5～7.5 kN/m³）");
    QCOMPARE(shown(t, 2, WallLayersEditor::col_source), "设计取值");
    QVERIFY(t->item(1, WallLayersEditor::col_source)->data(Qt::ForegroundRole).isValid());
    QVERIFY(!t->item(0, WallLayersEditor::col_source)->data(Qt::ForegroundRole).isValid());
    // An area layer has no thickness to type.
    QVERIFY(!cell<QLineEdit>(t, 2, WallLayersEditor::col_thickness)->isEnabled());
    QCOMPARE(shown(t, 2, WallLayersEditor::col_unit), "kN/m²");
  }

  void a_typed_material_is_kept_and_switching_to_area_drops_the_thickness() {
    WallLayersEditor editor;
    editor.show();
    editor.add_row();
    QTableWidget* t = editor.table();
    auto* material = cell<QComboBox>(t, 0, WallLayersEditor::col_material);
    material->lineEdit()->selectAll();
    material->lineEdit()->insert(QStringLiteral("轻质条板"));
    retype(cell<QLineEdit>(t, 0, WallLayersEditor::col_thickness), "90");
    retype(cell<QLineEdit>(t, 0, WallLayersEditor::col_weight), "0.9");
    auto* how = cell<QComboBox>(t, 0, WallLayersEditor::col_basis);
    how->setCurrentIndex(1);
    emit how->activated(1);
    QCOMPARE(layer_lines(editor.layers()), QStringList{"轻质条板|a||0.9"});
    QCOMPARE(cell<QLineEdit>(t, 0, WallLayersEditor::col_thickness)->text(), QString());
    QCOMPARE(editor.findChild<QLabel*>()->text(), "墙自重 g_w = 0.9 kN/m²");
  }

  // Scrolling the table over a drop-down must not pick another material for its row.
  void the_wheel_picks_only_in_the_drop_down_the_user_is_in() {
    WallLayersEditor editor;
    editor.set_layers({{"水泥砂浆", LayerBasis::thickness, "20", "20"}});
    editor.show();
    editor.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&editor));
    auto* combo = cell<QComboBox>(editor.table(), 0, WallLayersEditor::col_material);
    const auto turn = [combo] {
      QWheelEvent wheel(QPointF(5, 5), combo->mapToGlobal(QPointF(5, 5)), {}, QPoint(0, -120),
                        Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
      QApplication::sendEvent(combo, &wheel);
    };
    cell<QLineEdit>(editor.table(), 0, WallLayersEditor::col_thickness)->setFocus();
    turn();
    QCOMPARE(layer_lines(editor.layers()), QStringList{"水泥砂浆|t|20|20"});
    combo->setFocus();
    turn();
    QCOMPARE(layer_lines(editor.layers()), QStringList{"水泥石灰焦渣砂浆|t|20|14"});
  }

  void rows_move_and_go_with_their_texts() {
    WallLayersEditor editor;
    editor.set_layers({{"A", LayerBasis::thickness, "1", "1"},
                       {"B", LayerBasis::thickness, "2", "2"},
                       {"C", LayerBasis::thickness, "3", "3"}});
    QTableWidget* t = editor.table();
    const auto button = [&](const char* text) {
      for (QPushButton* b : editor.findChildren<QPushButton*>())
        if (b->text() == QString::fromUtf8(text)) return b;
      return static_cast<QPushButton*>(nullptr);
    };
    t->setCurrentCell(2, WallLayersEditor::col_source);
    QVERIFY(!button("下移")->isEnabled());
    button("上移")->click();
    QCOMPARE(layer_lines(editor.layers()), (QStringList{"A|t|1|1", "C|t|3|3", "B|t|2|2"}));
    QCOMPARE(t->currentRow(), 1);
    QCOMPARE(cell<QComboBox>(t, 1, WallLayersEditor::col_material)->currentText(), "C");
    QCOMPARE(shown(t, 2, WallLayersEditor::col_layer_weight), "0.004");
    button("删除")->click();
    QCOMPARE(layer_lines(editor.layers()), (QStringList{"A|t|1|1", "B|t|2|2"}));
    button("添加")->click();  // after the current row
    QCOMPARE(editor.layers().size(), std::size_t{3});
    QCOMPARE(layer_line(editor.layers()[2]), "|t||");

    while (editor.layers().size() < max_wall_layers) editor.add_row();
    QVERIFY(!button("添加")->isEnabled());
    editor.add_row();
    QCOMPARE(editor.layers().size(), max_wall_layers);
  }

  void openings_show_their_areas_and_totals() {
    OpeningsEditor editor;
    editor.show();
    QTableWidget* t = editor.table();
    editor.add_row();
    pick(cell<QComboBox>(t, 0, OpeningsEditor::col_type), "钢框玻璃窗");
    retype(cell<QLineEdit>(t, 0, OpeningsEditor::col_width), "1.5");
    retype(cell<QLineEdit>(t, 0, OpeningsEditor::col_height), "1.8");
    retype(cell<QLineEdit>(t, 0, OpeningsEditor::col_count), "2");
    editor.add_row();
    retype(cell<QLineEdit>(t, 1, OpeningsEditor::col_width), "0.9");
    retype(cell<QLineEdit>(t, 1, OpeningsEditor::col_height), "2.1");
    retype(cell<QLineEdit>(t, 1, OpeningsEditor::col_weight), "0.20");

    const std::vector<OpeningText> expected{{"1.5", "1.8", "2", "0.45", "钢框玻璃窗"},
                                            {"0.9", "2.1", "1", "0.20", ""}};
    QVERIFY(editor.openings() == expected);
    QCOMPARE(shown(t, 0, OpeningsEditor::col_area), "5.4");
    QCOMPARE(shown(t, 0, OpeningsEditor::col_total), "2.43");
    QCOMPARE(shown(t, 1, OpeningsEditor::col_area), "1.89");
    QCOMPARE(shown(t, 1, OpeningsEditor::col_source), "设计取值");
    QCOMPARE(editor.findChild<QLabel*>()->text(),
             "洞口总面积 A_o = Σ 樘数 × 宽 × 高 = 7.29 m²；门窗总重 G_o = 2.808 kN");

    // Dropping the type keeps the figure, now the designer's own.
    pick(cell<QComboBox>(t, 0, OpeningsEditor::col_type), "（不选）");
    QCOMPARE(editor.openings()[0].type, std::string());
    QCOMPARE(editor.openings()[0].weight, std::string("0.45"));
  }

  void a_type_the_table_does_not_list_survives_editing() {
    OpeningsEditor editor;
    editor.set_openings({{"1", "1", "1", "0.6", "铝合金窗"}});
    QCOMPARE(cell<QComboBox>(editor.table(), 0, OpeningsEditor::col_type)->currentText(),
             "铝合金窗");
    retype(cell<QLineEdit>(editor.table(), 0, OpeningsEditor::col_width), "1.2");
    QCOMPARE(editor.openings()[0].type, std::string("铝合金窗"));
  }

  void stair_materials_stated_or_left_to_the_defaults() {
    StairMaterialsEditor editor;
    editor.show();
    Assumptions a;
    editor.write_to(a);
    QVERIFY(a == Assumptions{});
    QCOMPARE(editor.concrete()->text(), "25");
    QVERIFY(!editor.concrete()->isEnabled());
    QCOMPARE(editor.soffit_material()->currentText(), "石灰粗砂粉刷");
    QCOMPARE(editor.soffit_weight()->text(), "0.34");

    editor.concrete_stated()->setChecked(true);
    retype(editor.concrete(), "24.0");
    editor.soffit_stated()->setChecked(true);
    pick(editor.soffit_material(), "水泥粉刷墙面");
    ExtraLoadsEditor* extras = editor.extras();
    extras->add_row();
    QTableWidget* t = extras->table();
    retype(cell<QLineEdit>(t, 0, ExtraLoadsEditor::col_name), "rail");
    auto* how = cell<QComboBox>(t, 0, ExtraLoadsEditor::col_basis);
    how->setCurrentIndex(1);
    emit how->activated(1);
    retype(cell<QLineEdit>(t, 0, ExtraLoadsEditor::col_weight), "1.0");
    retype(cell<QLineEdit>(t, 0, ExtraLoadsEditor::col_flight_width), "1.2");
    QCOMPARE(shown(t, 0, ExtraLoadsEditor::col_per_area), "0.833");

    editor.write_to(a);
    Assumptions expected;
    expected.concrete_unit_weight = "24.0";
    expected.soffit_finish = FinishText{"水泥粉刷墙面", "0.36"};
    expected.extra_loads = {{"rail", ExtraBasis::line, "1.0", "1.2"}};
    QVERIFY(a == expected);

    retype(cell<QLineEdit>(t, 0, ExtraLoadsEditor::col_flight_width), "0");
    QCOMPARE(shown(t, 0, ExtraLoadsEditor::col_per_area), "梯段宽为零，无法折算");
  }

  void stair_concrete_outside_the_range_is_marked() {
    StairMaterialsEditor editor;
    Assumptions a;
    a.concrete_unit_weight = "26";
    editor.set_assumptions(a);
    QStringList sources;
    for (QLabel* l : editor.findChildren<QLabel*>())
      if (l->text().contains(QStringLiteral("GB 50009"))) sources << l->text();
    QCOMPARE(sources,
             (QStringList{
                 "设计取值，超出规范所列范围（GB 50009—2012 附录A 表A 第6项 所列 24～25 kN/m³）",
                 "GB 50009—2012 附录A 表A 第11项"}));
  }
};

QTEST_MAIN(TestAssumptionEditors)
#include "test_assumption_editors.moc"
