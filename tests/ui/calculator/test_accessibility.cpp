// What a screen reader meets in the window: roles, names, the sketch's description and the order
// of the controls inside each frame. A result's name follows its caption; Qt announces the change
// of name only to an active screen reader, which the offscreen platform never has.
#include <QAccessible>
#include <QGroupBox>
#include <QtTest>

#include "gui_fixture.h"

using namespace loadcalc;
using namespace loadcalc::test;

namespace {

QAccessibleInterface* accessible(QObject* o) {
  return QAccessible::queryAccessibleInterface(o);
}

}  // namespace

class AccessibilityTest : public WindowTest {
  Q_OBJECT

  QWidget* control(const QString& name) const { return fx->form->findChild<QWidget*>(name); }

 private slots:
  void window_is_a_window_named_by_its_title() {
    QAccessibleInterface* window = accessible(fx->form.get());
    QVERIFY(window);
    QCOMPARE(window->role(), QAccessible::Window);
    QVERIFY(window->text(QAccessible::Name)
                .startsWith(QStringLiteral("框架梁均布线荷载及楼梯折算恒荷载计算")));
    QCOMPARE(window->text(QAccessible::Name), fx->form->windowTitle());
  }

  void sketch_is_a_described_graphic() {
    QAccessibleInterface* sketch = accessible(fx->form->picture());
    QVERIFY(sketch);
    QCOMPARE(sketch->role(), QAccessible::Graphic);
    QCOMPARE(sketch->text(QAccessible::Name), QStringLiteral("示意简图"));
    QCOMPARE(sketch->text(QAccessible::Description),
             QStringLiteral("左图：框架梁下的填充墙立面，墙上开一个窗洞，洞内有窗框，两侧为轴线；"
                            "标注窗宽、梁高、窗高、层高、开间尺寸。右图：楼梯梯段剖面，三级踏步，"
                            "上有面层，板底有粉刷层；标注踏步宽、踏步高、梯板厚度；"
                            "注明“板底粉刷按0.34kN/m²”。"));
    // The credit stays where the start-up routine put it.
    QVERIFY(fx->form->picture()->toolTip().contains(QStringLiteral("loadcalc")));
  }

  void results_are_heard_with_their_meaning_data() {
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("working");  // the description: its opening, then its last line
    QTest::newRow("Label10") << "Label10"
                             << "Text2"
                             << "3"
                             << "框架梁上均布线荷载 6.7kN/m"
                             << "框架梁上均布线荷载 4.9kN/m"
                             << "框架梁上均布线荷载\nq = |\n结果：q = 4.9kN/m\n";
    QTest::newRow("Label11") << "Label11"
                             << "Text12"
                             << "20"
                             << "楼梯的折算恒荷载 7.172kN/m^2"
                             << "楼梯的折算恒荷载 7.078kN/m^2"
                             << "楼梯的折算恒荷载\ng = |\n结果：g = 7.078kN/m^2\n";
  }
  void results_are_heard_with_their_meaning() {
    QFETCH(QString, label);
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, before);
    QFETCH(QString, after);
    QWidget* result = control(label);
    QCOMPARE(accessible(result)->text(QAccessible::Name), before);
    fx->form->field(*field_named(field.toStdString()))->setFocus();
    type(fx->form->edit(field.toStdString()), typed);
    QCOMPARE(accessible(result)->text(QAccessible::Name), after);
    // Written when a reader asks, so never stale.
    QFETCH(QString, working);
    const QString described = accessible(result)->text(QAccessible::Description);
    QVERIFY2(described.startsWith(working.section(u'|', 0, 0)) &&
                 described.endsWith(working.section(u'|', 1)),
             qPrintable(described));
  }

  void each_label_comes_before_its_field_data() {
    QTest::addColumn<QString>("frame");
    QTest::addColumn<QStringList>("children");
    QTest::newRow("Frame1") << "Frame1"
                            << QStringList{"Label1", "Text1", "Label2", "Text2",  "Label3", "Text3",
                                           "Label4", "Text4", "Text5",  "Label5", "Text6"};
    QTest::newRow("Frame2") << "Frame2" << QStringList{"Label6", "Text7", "Label7", "Text8",
                                                       "Label8", "Text9", "Label9", "Text10"};
    QTest::newRow("Frame3") << "Frame3"
                            << QStringList{"Label10", "Label14", "Text13", "Label12", "Text11"};
    QTest::newRow("Frame4") << "Frame4" << QStringList{"Label11", "Label13", "Text12"};
    QTest::newRow("Frame5") << "Frame5" << QStringList{"Picture1"};
  }
  void each_label_comes_before_its_field() {
    QFETCH(QString, frame);
    QFETCH(QStringList, children);
    QAccessibleInterface* group = accessible(control(frame));
    QVERIFY(group);
    QCOMPARE(group->role(), QAccessible::Grouping);
    QCOMPARE(group->text(QAccessible::Name), static_cast<QGroupBox*>(control(frame))->title());
    QStringList met;
    for (int i = 0; i < group->childCount(); ++i) met << group->child(i)->object()->objectName();
    QCOMPARE(met, children);
    // The frame names the group; it does not claim to label each control in it.
    QVERIFY(group->relations(QAccessible::Labelled).isEmpty());
  }

  void a_field_is_labelled_by_its_own_label_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("label");
    QTest::newRow("Text1") << "Text1"
                           << "Label1";
    QTest::newRow("Text4") << "Text4"
                           << "Label4";
    QTest::newRow("Text6") << "Text6"
                           << "Label5";
    QTest::newRow("Text11") << "Text11"
                            << "Label12";
    QTest::newRow("Text13") << "Text13"
                            << "Label14";
    QTest::newRow("Text12") << "Text12"
                            << "Label13";
  }
  void a_field_is_labelled_by_its_own_label() {
    QFETCH(QString, field);
    QFETCH(QString, label);
    const auto labels = accessible(control(field))->relations(QAccessible::Label);
    QVERIFY(!labels.isEmpty());
    QCOMPARE(labels.first().first->object()->objectName(), label);
  }
};

LOADCALC_GUI_TEST_MAIN(AccessibilityTest)
#include "test_accessibility.moc"
