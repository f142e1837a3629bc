// 按墙体构造计算… on 墙自重 and 按门窗类型选取… on 窗重: each dialog's figure goes into its field
// as typed text does, through the field's change check.
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QtTest>

#include "calc/assumptions.h"
#include "gui_fixture.h"
#include "ui/assumption_editors.h"
#include "ui/calculator/figure_dialogs.h"

using namespace loadcalc;
using namespace loadcalc::test;

using Counts = std::array<int, loadcalc::result_count>;
Q_DECLARE_METATYPE(std::vector<loadcalc::WallLayerText>)

class FieldAidsTest : public WindowTest {
  Q_OBJECT

  // Opens the field's aid as its menu item does; the dialog it showed.
  template <class Dialog>
  Dialog* open(Field f, const char* name) {
    std::unique_ptr<QMenu> menu(fx->form->field_menu(f));
    for (QAction* a : menu->actions())
      if (a->objectName() == QLatin1String(name)) a->trigger();
    auto* dialog = fx->form->findChild<Dialog*>(QString::fromLatin1(name));
    if (dialog && !dialog->isVisible()) return nullptr;
    return dialog;
  }
  static void press(QDialog* dialog, QDialogButtonBox::StandardButton which) {
    dialog->findChild<QDialogButtonBox*>()->button(which)->click();
  }
  ui::WallBuildUpDialog* open_wall() {
    return open<ui::WallBuildUpDialog>(Field::Text6, "wallBuildUp");
  }

 private slots:
  // Only the two fields have an aid; every menu keeps its other items.
  void only_wall_and_window_weights_have_an_aid() {
    QStringList aids;
    for (std::size_t i = 0; i < field_count; ++i) {
      std::unique_ptr<QMenu> menu(fx->form->field_menu(field_at(i)));
      for (QAction* a : menu->actions())
        if (a->parent() == fx->form->field(field_at(i)))
          aids << qstr(field_info(field_at(i)).name) + u'/' + a->text();
    }
    QCOMPARE(aids, (QStringList{"Text6/按墙体构造计算…", "Text11/按门窗类型选取…"}));
  }

  void wall_layers_accepted_are_written_as_typed_data() {
    QTest::addColumn<std::vector<WallLayerText>>("layers");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("caption");
    QTest::newRow("200 block at 6 with 30 of plaster at 20")
        << std::vector<WallLayerText>{{"陶粒空心砌块", LayerBasis::thickness, "200", "6"},
                                      {"水泥砂浆", LayerBasis::thickness, "30", "20"}}
        << "1.8"
        << "4.24kN/m";
    QTest::newRow("200 brick at 19, 20 of plaster at 17 each face")
        << std::vector<WallLayerText>{{"浆砌机砖", LayerBasis::thickness, "200", "19"},
                                      {"混合砂浆", LayerBasis::thickness, "20", "17"},
                                      {"混合砂浆", LayerBasis::thickness, "20", "17"}}
        << "4.48"
        << "9.734kN/m";
    QTest::newRow("three decimals")
        << std::vector<WallLayerText>{{"", LayerBasis::area, "", "2.12345"}} << "2.123"
        << "4.902kN/m";
  }
  void wall_layers_accepted_are_written_as_typed() {
    QFETCH(std::vector<WallLayerText>, layers);
    QFETCH(QString, text);
    QFETCH(QString, caption);
    QLineEdit* wall = fx->form->edit("Text6");
    auto* dialog = open_wall();
    QVERIFY(dialog);
    dialog->editor()->set_layers(layers);
    fx->form->reset_counts();
    press(dialog, QDialogButtonBox::Ok);

    QVERIFY(!dialog->isVisible());
    QCOMPARE(wall->text(), text);
    QCOMPARE(fx->form->caption(ResultLabel::Label10), caption);
    QCOMPARE(shown_captions(*fx->form), core_captions(*fx->form));
    // One change, checked once, as a paste is.
    QCOMPARE(fx->form->caption_writes, (Counts{1, 0}));
    QVERIFY(fx->watcher.idle());

    // Undone as a paste is: the old text comes back through the check as well.
    wall->undo();
    QCOMPARE(wall->text(), "3.0");
    QCOMPARE(fx->form->caption(ResultLabel::Label10), "6.7kN/m");
  }

  void a_refused_wall_weight_is_reported_and_reset_data() {
    QTest::addColumn<std::vector<WallLayerText>>("layers");
    QTest::newRow("no layer at all") << std::vector<WallLayerText>{};
    QTest::newRow("a negative thickness")
        << std::vector<WallLayerText>{{"浆砌机砖", LayerBasis::thickness, "-200", "19"}};
  }
  void a_refused_wall_weight_is_reported_and_reset() {
    QFETCH(std::vector<WallLayerText>, layers);
    QLineEdit* wall = fx->form->edit("Text6");
    auto* dialog = open_wall();
    QVERIFY(dialog);
    dialog->editor()->set_layers(layers);
    fx->form->reset_counts();
    press(dialog, QDialogButtonBox::Ok);

    QCOMPARE(fx->watcher.take_boxes(), boxes({"墙自重≤0，数据错误。请重新输入！"}));
    QCOMPARE(wall->text(), "3.0");
    QCOMPARE(wall->selectedText(), "3.0");
    QCOMPARE(fx->form->caption(ResultLabel::Label10), "6.7kN/m");
    QCOMPARE(fx->form->caption_writes, (Counts{2, 0}));
  }

  void cancel_or_the_same_figure_writes_nothing() {
    auto* dialog = open_wall();
    QVERIFY(dialog);
    dialog->editor()->set_layers({{"", LayerBasis::area, "", "3"}});
    fx->form->reset_counts();
    press(dialog, QDialogButtonBox::Cancel);
    QCOMPARE(fx->form->edit("Text6")->text(), "3.0");
    QCOMPARE(fx->form->caption_writes, (Counts{0, 0}));

    // Opened again, it shows the layers left in it. OK writes "3": the field's figure, but not its
    // text. Written once more, the text is the field's own and nothing runs.
    dialog = open_wall();
    QVERIFY(dialog);
    QCOMPARE(dialog->editor()->layers().size(), std::size_t{1});
    press(dialog, QDialogButtonBox::Ok);
    QCOMPARE(fx->form->edit("Text6")->text(), "3");
    QCOMPARE(fx->form->caption_writes, (Counts{1, 0}));
    dialog = open_wall();
    QVERIFY(dialog);
    press(dialog, QDialogButtonBox::Ok);
    QCOMPARE(fx->form->caption_writes, (Counts{1, 0}));
  }

  void a_window_type_writes_its_default_weight() {
    auto* dialog = open<ui::OpeningTypeDialog>(Field::Text11, "openingType");
    QVERIFY(dialog);
    QVERIFY(dialog->choose("钢框玻璃窗"));
    fx->form->reset_counts();
    press(dialog, QDialogButtonBox::Ok);
    QCOMPARE(fx->form->edit("Text11")->text(), "0.45");
    QCOMPARE(fx->form->caption(ResultLabel::Label10), "6.645kN/m");
    QCOMPARE(fx->form->caption_writes, (Counts{1, 0}));
    QVERIFY(fx->watcher.idle());

    dialog = open<ui::OpeningTypeDialog>(Field::Text11, "openingType");
    QVERIFY(dialog);
    QVERIFY(dialog->choose("木门"));
    press(dialog, QDialogButtonBox::Ok);
    QCOMPARE(fx->form->edit("Text11")->text(), "0.2");
  }
};

LOADCALC_GUI_TEST_MAIN(FieldAidsTest)
#include "test_field_aids.moc"
