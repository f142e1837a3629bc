// 按墙体构造计算… on 墙自重 and 按门窗类型选取… on 窗重: each dialog's figure goes into its field
// as typed text does, through the field's change check.
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QtTest>

#include "gui_fixture.h"
#include "ui/assumption_editors.h"
#include "ui/calculator/figure_dialogs.h"

using namespace loadcalc;
using namespace loadcalc::test;

using Counts = std::array<int, loadcalc::result_count>;
using Layers = std::vector<loadcalc::WallLayerText>;
Q_DECLARE_METATYPE(Layers)

class FieldAidsTest : public WindowTest {
  Q_OBJECT

  // Opens the field's aid as its menu item does.
  template <class Dialog>
  Dialog* open(Field f, const char* name) {
    std::unique_ptr<QMenu> menu(fx->form->field_menu(f));
    for (QAction* a : menu->actions())
      if (a->objectName() == QLatin1String(name)) a->trigger();
    auto* dialog = fx->form->findChild<Dialog*>(QString::fromLatin1(name));
    return dialog && dialog->isVisible() ? dialog : nullptr;
  }
  // Presses the button once the window's counts are cleared.
  void press(QDialog* dialog, QDialogButtonBox::StandardButton which) {
    fx->form->reset_counts();
    dialog->findChild<QDialogButtonBox*>()->button(which)->click();
  }

 private slots:
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

  // The field held "3.0"; the results follow what it shows, computed once a change. A refused
  // figure is reported and the text put back, checked again as a paste's is; Cancel writes nothing.
  void the_wall_weight_goes_through_the_change_check_data() {
    QTest::addColumn<bool>("ok");
    QTest::addColumn<Layers>("layers");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("checks");
    QTest::addColumn<QStringList>("prompts");
    QTest::newRow("200 block at 6, 30 at 20")
        << true
        << Layers{{"陶粒空心砌块", LayerBasis::thickness, "200", "6"},
                  {"水泥砂浆", LayerBasis::thickness, "30", "20"}}
        << "1.8" << 1 << QStringList{};
    QTest::newRow("a negative thickness")
        << true << Layers{{"浆砌机砖", LayerBasis::thickness, "-200", "19"}} << "3.0" << 2
        << QStringList{"墙自重≤0，数据错误。请重新输入！"};
    QTest::newRow("cancelled") << false << Layers{{"", LayerBasis::area, "", "4"}} << "3.0" << 0
                               << QStringList{};
  }
  void the_wall_weight_goes_through_the_change_check() {
    QFETCH(bool, ok);
    QFETCH(Layers, layers);
    QFETCH(QString, text);
    QFETCH(int, checks);
    QFETCH(QStringList, prompts);
    auto* dialog = open<ui::WallBuildUpDialog>(Field::Text6, "wallBuildUp");
    QVERIFY(dialog);
    dialog->editor()->set_layers(layers);
    press(dialog, ok ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel);
    QCOMPARE(fx->watcher.take_boxes(), boxes(prompts));
    QCOMPARE(fx->form->edit("Text6")->text(), text);
    QCOMPARE(shown_captions(*fx->form), core_captions(*fx->form));
    QCOMPARE(fx->form->caption_writes, (Counts{checks, 0}));
  }

  void a_window_type_writes_its_default_weight() {
    auto* dialog = open<ui::OpeningTypeDialog>(Field::Text11, "openingType");
    QVERIFY(dialog);
    QVERIFY(dialog->choose("钢框玻璃窗"));
    press(dialog, QDialogButtonBox::Ok);
    QCOMPARE(fx->form->edit("Text11")->text(), "0.45");
    QCOMPARE(fx->form->caption(ResultLabel::Label10), "6.645kN/m");
  }
};

LOADCALC_GUI_TEST_MAIN(FieldAidsTest)
#include "test_field_aids.moc"
