// An assumptions dialog hands back the texts as typed, none for a cleared box, nothing on Cancel.
#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QTableWidget>
#include <QtTest>

#include "tests/support/entries.h"
#include "ui/assumption_editors.h"
#include "ui/book/assumptions_dialog.h"

using namespace loadcalc;
using namespace loadcalc::ui;

static void retype(RowsEditor* editor, int row, int column, const QString& text) {
  auto* field = qobject_cast<QLineEdit*>(editor->table()->cellWidget(row, column));
  QVERIFY(field);
  field->selectAll();
  QTest::keyClicks(field, text);
}

class AssumptionsDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void a_beam_hands_back_its_texts_as_typed() {
    Assumptions a;
    a.wall_layers = {{"浆砌机砖", LayerBasis::thickness, "200", "19.0"}};
    AssumptionsDialog dialog(test::beam("KL3"), a);
    retype(dialog.layers(), 0, WallLayersEditor::col_weight, "19.00");
    // Switched on, the openings start as the entry's one opening.
    dialog.openings_box()->setChecked(true);
    retype(dialog.openings(), 0, OpeningsEditor::col_count, "2");
    a.wall_layers->front().weight = "19.00";
    a.openings = {{"2.0", "2.2", "2", "0.50", ""}};
    QVERIFY(dialog.assumptions() == a);
    // Switched off, the entry's typed fields are used again: the member is absent.
    dialog.layers_box()->setChecked(false);
    a.wall_layers.reset();
    QVERIFY(dialog.assumptions() == a);
  }

  void cancel_gives_nothing() {
    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
    QVERIFY(!edit_assumptions(nullptr, test::beam("KL3"), {}).has_value());
  }
};

QTEST_MAIN(AssumptionsDialogTest)
#include "test_assumptions_dialog.moc"
