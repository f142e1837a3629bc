// An entry's assumptions dialog hands back exactly the texts typed, leaves out what a cleared box
// holds, and on Cancel nothing at all.
#include <QApplication>
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

void retype(RowsEditor* editor, int row, int column, const QString& text) {
  auto* field = qobject_cast<QLineEdit*>(editor->table()->cellWidget(row, column));
  QVERIFY(field);
  field->setFocus();
  field->selectAll();
  QTest::keyClicks(field, text);
}

}  // namespace

class AssumptionsDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void a_beam_hands_back_its_texts_as_typed() {
    Assumptions current;
    current.wall_layers = {{"浆砌机砖", LayerBasis::thickness, "200", "19.0"}};
    AssumptionsDialog dialog(beam(), current);
    dialog.show();
    retype(dialog.layers(), 0, WallLayersEditor::col_weight, "19.00");
    dialog.layers()->add_row();
    retype(dialog.layers(), 1, WallLayersEditor::col_thickness, " 20 ");
    // Switched on, the openings start as the entry's one opening.
    dialog.openings_box()->setChecked(true);
    retype(dialog.openings(), 0, OpeningsEditor::col_count, "2");
    Assumptions expected;
    expected.wall_layers = {{"浆砌机砖", LayerBasis::thickness, "200", "19.00"},
                            {"", LayerBasis::thickness, " 20 ", ""}};
    expected.openings = {{"1.80", "2.1", "2", "0.45", ""}};
    QVERIFY(dialog.assumptions() == expected);
    // Switched off, the entry's typed fields are used again: the member is absent.
    dialog.layers_box()->setChecked(false);
    expected.wall_layers.reset();
    QVERIFY(dialog.assumptions() == expected);
  }

  void cancel_gives_nothing() {
    Assumptions current;
    current.wall_layers = std::vector<WallLayerText>{};
    QTimer::singleShot(0, [] {
      if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) d->reject();
    });
    QVERIFY(!edit_assumptions(nullptr, beam(), current).has_value());
  }
};

QTEST_MAIN(AssumptionsDialogTest)
#include "test_assumptions_dialog.moc"
