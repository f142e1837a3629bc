// An entry's assumptions dialog: it shows the members of the entry's kind, hands back exactly
// the texts typed, and leaves what it does not show as it was.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>

#include "book/book.h"
#include "calc/assumptions.h"
#include "ui/assumption_editors.h"
#include "ui/book/assumptions_dialog.h"

using namespace loadcalc;
using namespace loadcalc::ui;

namespace {

Entry beam() {
  Entry e;
  e.name = "KL3 ③~④轴";
  e.kind = Calculation::MainProgram_1;
  e.texts = {{Field::Text1, "6.0"},   {Field::Text2, "3.3"}, {Field::Text3, "0.6"},
             {Field::Text4, "1.80"},  {Field::Text5, "2.1"}, {Field::Text6, "2.5"},
             {Field::Text11, "0.45"}, {Field::Text13, "0.5"}};
  return e;
}

Entry stair() {
  Entry e;
  e.name = "LT1";
  e.kind = Calculation::MainProgram_2;
  e.texts = {{Field::Text7, "280"},
             {Field::Text8, "160"},
             {Field::Text9, "130"},
             {Field::Text10, "30"},
             {Field::Text12, "22.0"}};
  return e;
}

void retype(QLineEdit* field, const QString& text) {
  field->setFocus();
  field->selectAll();
  QTest::keyClicks(field, text);
}

QLineEdit* field_in(RowsEditor* editor, int row, int column) {
  return qobject_cast<QLineEdit*>(editor->table()->cellWidget(row, column));
}

}  // namespace

class AssumptionsDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void a_beam_hands_back_its_texts_as_typed() {
    Assumptions current;
    current.wall_layers = {{"浆砌机砖", LayerBasis::thickness, "200", "19.0"}};
    // A stair's member of an entry that changed kind: not this dialog's to drop.
    current.concrete_unit_weight = "24";
    AssumptionsDialog dialog(beam(), current);
    QVERIFY(dialog.layers_box()->isChecked());
    QVERIFY(!dialog.openings_box()->isChecked());
    QVERIFY(dialog.stair() == nullptr);
    QVERIFY(dialog.assumptions() == current);
    QVERIFY(dialog.layers_box()->title().contains(QStringLiteral("墙自重 2.5 kN/m²")));

    dialog.show();
    retype(field_in(dialog.layers(), 0, WallLayersEditor::col_weight), "19.00");
    dialog.layers()->add_row();
    retype(field_in(dialog.layers(), 1, WallLayersEditor::col_thickness), " 20 ");
    // Switched on, the openings start as the entry's one opening.
    dialog.openings_box()->setChecked(true);
    retype(field_in(dialog.openings(), 0, OpeningsEditor::col_count), "2");

    Assumptions expected = current;
    expected.wall_layers = {{"浆砌机砖", LayerBasis::thickness, "200", "19.00"},
                            {"", LayerBasis::thickness, " 20 ", ""}};
    expected.openings = {{"1.80", "2.1", "2", "0.45", ""}};
    QVERIFY(dialog.assumptions() == expected);

    // Switched off, the entry's typed fields are used again: the members are absent.
    dialog.layers_box()->setChecked(false);
    expected.wall_layers.reset();
    QVERIFY(dialog.assumptions() == expected);
  }

  void an_empty_list_of_openings_is_a_wall_without_one() {
    Assumptions current;
    current.openings = std::vector<OpeningText>{{"1", "1", "1", "0.2", "木门"}};
    AssumptionsDialog dialog(beam(), current);
    dialog.openings()->table()->setCurrentCell(0, 0);
    dialog.openings()->remove_row();
    const Assumptions a = dialog.assumptions();
    QVERIFY(a.openings.has_value());
    QVERIFY(a.openings->empty());
  }

  void a_stair_hands_back_its_texts_as_typed() {
    Assumptions current;
    current.wall_layers = std::vector<WallLayerText>{};
    current.extra_loads = {{"栏杆自重", ExtraBasis::line, "1.0", "1.20"}};
    AssumptionsDialog dialog(stair(), current);
    QVERIFY(dialog.layers_box() == nullptr);
    QVERIFY(dialog.assumptions() == current);

    dialog.show();
    dialog.stair()->concrete_stated()->setChecked(true);
    retype(dialog.stair()->concrete(), "24.50");
    retype(field_in(dialog.stair()->extras(), 0, ExtraLoadsEditor::col_weight), "0.8");

    Assumptions expected = current;
    expected.concrete_unit_weight = "24.50";
    expected.extra_loads[0].weight = "0.8";
    QVERIFY(dialog.assumptions() == expected);
  }

  void running_it_gives_the_edit_on_ok_and_nothing_on_cancel() {
    Assumptions current;
    current.soffit_finish = FinishText{"水泥粉刷墙面", "0.36"};
    const auto answer = [](bool ok) {
      QTimer::singleShot(0, [ok] {
        auto* dialog = qobject_cast<AssumptionsDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        if (ok) {
          dialog->stair()->soffit_stated()->setChecked(false);
          dialog->accept();
        } else {
          dialog->reject();
        }
      });
    };
    answer(false);
    QVERIFY(!edit_assumptions(nullptr, stair(), current).has_value());
    answer(true);
    const std::optional<Assumptions> edited = edit_assumptions(nullptr, stair(), current);
    QVERIFY(edited.has_value());
    QVERIFY(*edited == Assumptions{});
  }
};

QTEST_MAIN(AssumptionsDialogTest)
#include "test_assumptions_dialog.moc"
