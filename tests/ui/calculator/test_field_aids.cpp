// The aids on 墙自重 and 窗重: each dialog's figure goes in as typed text, through the change
// check.
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
  // Builds the wall in 按墙体构造计算… and presses OK, counting afresh: what the field then shows.
  QString build(const std::vector<WallLayerText>& layers) {
    auto* dialog = open<ui::WallBuildUpDialog>(Field::Text6, "wallBuildUp");
    if (!dialog) return "no dialog";
    dialog->editor()->set_layers(layers);
    fx->form->reset_counts();
    dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    return fx->form->edit("Text6")->text();
  }

 private slots:
  // 墙自重 held "3.0"; the results follow what it shows, computed once a change. A refused figure
  // is reported and the text put back, checked again as a paste's is.
  void each_aid_goes_through_the_change_check() {
    QCOMPARE(build({{"浆砌机砖", LayerBasis::thickness, "-200", "19"}}), "3.0");
    QCOMPARE(fx->watcher.take_boxes(), boxes({"墙自重≤0，数据错误。请重新输入！"}));
    QCOMPARE(fx->form->caption_writes, (Counts{2, 0}));
    QCOMPARE(build({{"陶粒空心砌块", LayerBasis::thickness, "200", "6"},
                    {"水泥砂浆", LayerBasis::thickness, "30", "20"}}),
             "1.8");
    QCOMPARE(fx->form->caption_writes, (Counts{1, 0}));
    QCOMPARE(shown_captions(*fx->form), core_captions(*fx->form));

    auto* dialog = open<ui::OpeningTypeDialog>(Field::Text11, "openingType");
    QVERIFY(dialog && dialog->choose("钢框玻璃窗"));
    dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    QCOMPARE(fx->form->edit("Text11")->text(), "0.45");
    QCOMPARE(fx->form->caption(ResultLabel::Label10), "4.185kN/m");  // 1.8 × 2.05 + 0.45 × 1.1
  }
};

LOADCALC_GUI_TEST_MAIN(FieldAidsTest)
#include "test_field_aids.moc"
