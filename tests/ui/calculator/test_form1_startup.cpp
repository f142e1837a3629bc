// The window as it stands once shown: built from the control table, filled by start-up, and left
// in place whatever its size.
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QtTest>

#include "gui_fixture.h"
#include "ui/calculator/sketch_view.h"

using namespace loadcalc;
using namespace loadcalc::test;

class StartupTest : public WindowTest {
  Q_OBJECT
 private slots:
  void defaults_results_and_selection_are_in_place_when_shown() {
    const char* defaults[] = {"4.0", "3.6", "0.45", "2.0",  "2.2",  "3.0", "280",
                              "160", "130", "30",   "0.50", "22.0", "0.0"};
    // A new field without its default here fails, rather than reading past the list.
    QCOMPARE(std::size(defaults), field_count);
    for (std::size_t i = 0; i < std::size(defaults); ++i)
      QCOMPARE(fx->form->field(field_at(i))->text(), QString::fromLatin1(defaults[i]));
    QCOMPARE(fx->form->caption(ResultLabel::Label10), QStringLiteral("6.7kN/m"));
    QCOMPARE(fx->form->caption(ResultLabel::Label11), QStringLiteral("7.172kN/m^2"));
    QLineEdit* text1 = fx->form->edit("Text1");
    QCOMPARE(QApplication::focusWidget(), text1);
    QCOMPARE(text1->selectionStart(), 0);
    QCOMPARE(text1->selectedText(), QStringLiteral("4.0"));
    QCOMPARE(fx->form->beeps, 0);
    QVERIFY(fx->form->picture()->toolTip().endsWith(u'\n'));
  }

  // Start-up runs before the first paint and only once: showing again writes nothing.
  void start_up_runs_once() {
    fx->form->hide();
    fx->form->reset_counts();
    fx->form->show();
    QCOMPARE(fx->form->caption_writes, (std::array<int, result_count>{0, 0}));
  }

  void title_is_program_credit_and_build_version() {
    static const QRegularExpression version(QStringLiteral(
        "^框架梁均布线荷载及楼梯折算恒荷载计算 loadcalc 开发组编制 {7}V\\d{4}\\.\\d{2}\\.\\d{2}$"));
    QVERIFY2(version.match(fx->form->windowTitle()).hasMatch(),
             qPrintable(fx->form->windowTitle()));
    QVERIFY(!fx->form->windowIcon().isNull());
    QCOMPARE(fx->form->size(), QSize(630, 509));
  }

  void every_control_as_the_table_places_it_data() {
    QTest::addColumn<QString>("container");
    QTest::addColumn<QRect>("rect");  // pixels: twips / 15
    const struct {
      const char* name;
      const char* container;
      QRect rect;
    } rows[] = {
        {"Frame1", "Form1", {24, 24, 305, 145}},   {"Label1", "Frame1", {8, 24, 121, 17}},
        {"Label2", "Frame1", {128, 24, 81, 17}},   {"Label3", "Frame1", {200, 24, 97, 17}},
        {"Text1", "Frame1", {24, 48, 73, 18}},     {"Text2", "Frame1", {120, 48, 57, 18}},
        {"Text3", "Frame1", {200, 48, 73, 18}},    {"Label4", "Frame1", {16, 80, 193, 17}},
        {"Label5", "Frame1", {216, 80, 81, 17}},   {"Text4", "Frame1", {24, 104, 73, 18}},
        {"Text5", "Frame1", {120, 104, 57, 18}},   {"Text6", "Frame1", {200, 104, 73, 18}},
        {"Frame2", "Form1", {360, 24, 241, 145}},  {"Label6", "Frame2", {16, 24, 97, 17}},
        {"Label7", "Frame2", {136, 24, 97, 17}},   {"Text7", "Frame2", {24, 48, 65, 18}},
        {"Text8", "Frame2", {136, 48, 65, 18}},    {"Label8", "Frame2", {16, 80, 113, 25}},
        {"Label9", "Frame2", {136, 80, 97, 17}},   {"Text9", "Frame2", {24, 104, 65, 18}},
        {"Text10", "Frame2", {136, 104, 65, 18}},  {"Frame3", "Form1", {24, 184, 305, 65}},
        {"Label14", "Frame3", {120, 16, 65, 17}},  {"Label12", "Frame3", {208, 16, 65, 17}},
        {"Label10", "Frame3", {24, 32, 249, 25}},  {"Text13", "Frame3", {120, 32, 57, 18}},
        {"Text11", "Frame3", {200, 32, 73, 18}},   {"Frame4", "Form1", {360, 184, 241, 65}},
        {"Label13", "Frame4", {136, 16, 97, 17}},  {"Label11", "Frame4", {32, 32, 169, 25}},
        {"Text12", "Frame4", {136, 32, 65, 18}},   {"Frame5", "Form1", {24, 264, 577, 233}},
        {"Picture1", "Frame5", {8, 16, 561, 201}},
    };
    for (const auto& r : rows)
      QTest::newRow(r.name) << (r.container == QLatin1String("Form1") ? QString() : r.container)
                            << r.rect;
  }
  // The kind of each control by its name; the captions are checked below.
  void every_control_as_the_table_places_it() {
    QFETCH(QString, container);
    QFETCH(QRect, rect);
    const QString name = QString::fromLatin1(QTest::currentDataTag());
    auto* w = fx->form->findChild<QWidget*>(name);
    QVERIFY(w);
    QCOMPARE(w->parentWidget()->objectName(), container);
    QCOMPARE(w->geometry(), rect);
    QVERIFY(w->isVisible());
    if (name.startsWith(u"Frame")) {
      QVERIFY(qobject_cast<QGroupBox*>(w));
      QCOMPARE(w->focusPolicy(), Qt::NoFocus);
    } else if (auto* label = qobject_cast<QLabel*>(w)) {
      QVERIFY(name.startsWith(u"Label"));
      QCOMPARE(w->focusPolicy(), Qt::NoFocus);
      // Each caption, and each result, fits its label on one line.
      QVERIFY2(w->fontMetrics().horizontalAdvance(label->text()) <= w->width(),
               qPrintable(label->text()));
    } else if (auto* field = qobject_cast<QLineEdit*>(w)) {
      QVERIFY(name.startsWith(u"Text"));
      QVERIFY(field->maxLength() > 1'000'000);
      // Drawn above the result label that reaches under it.
      QCOMPARE(w->parentWidget()->childAt(w->geometry().center()), w);
    } else {
      QCOMPARE(name, QStringLiteral("Picture1"));
      QVERIFY(qobject_cast<ui::SketchView*>(w));
      QCOMPARE(w->focusPolicy(), Qt::TabFocus);
    }
  }

  void captions_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("caption");
    const std::pair<const char*, const char*> rows[] = {
        {"Frame1", "梁上填充墙基本信息"},
        {"Frame2", "楼梯恒荷载计算基本信息"},
        {"Frame3", "框架梁上均布线荷载"},
        {"Frame4", "楼梯的折算恒荷载"},
        {"Frame5", "示意简图"},
        {"Label1", "轴线开间尺寸（米）"},
        {"Label2", "层高（米）"},
        {"Label3", "框架梁高（米）"},
        {"Label4", "门窗洞口的宽度（米）、高度（米）"},
        {"Label5", "墙自重kN/m2"},
        {"Label6", "踏步宽度（毫米）"},
        {"Label7", "踏步高度（毫米）"},
        {"Label8", "楼梯板厚度（毫米）"},
        {"Label9", "面层厚度（毫米）"},
        {"Label12", "窗重kN/m2"},
        {"Label13", "面层容重kN/m3"},
        {"Label14", "框架柱宽m"},
    };
    for (const auto& [control, caption] : rows)
      QTest::newRow(control) << control << QString::fromUtf8(caption);
  }
  void captions() {
    QFETCH(QString, control);
    QFETCH(QString, caption);
    auto* w = fx->form->findChild<QWidget*>(control);
    QVERIFY(w);
    if (auto* frame = qobject_cast<QGroupBox*>(w))
      QCOMPARE(frame->title(), caption);
    else
      QCOMPARE(qobject_cast<QLabel*>(w)->text(), caption);
  }

  // What the window holds once built, before start-up writes the defaults.
  void built_window_holds_the_initial_texts() {
    ui::Form1 built;
    QStringList texts;
    for (std::size_t i = 0; i < field_count; ++i) texts << built.field(field_at(i))->text();
    QCOMPARE(texts, (QStringList{" ", " ", " ", " ", " ", " ", " ", " ", " ", " ", "Text11",
                                 "Text12", "Text13"}));
    QCOMPARE(built.result(ResultLabel::Label10)->text(), QStringLiteral("Label10"));
    QCOMPARE(built.result(ResultLabel::Label11)->text(), QStringLiteral("Label11"));
  }

  void accessible_names_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("name");
    QTest::newRow("Text1") << "Text1"
                           << "轴线开间尺寸（米）";
    QTest::newRow("Text4") << "Text4"
                           << "门窗洞口的宽度（米）";
    QTest::newRow("Text5") << "Text5"
                           << "门窗洞口的高度（米）";
    QTest::newRow("Text11") << "Text11"
                            << "窗重kN/m2";
    QTest::newRow("Text13") << "Text13"
                            << "框架柱宽m";
    QTest::newRow("Label10") << "Label10"
                             << "框架梁上均布线荷载 6.7kN/m";
    QTest::newRow("Label11") << "Label11"
                             << "楼梯的折算恒荷载 7.172kN/m^2";
  }
  void accessible_names() {
    QFETCH(QString, control);
    QFETCH(QString, name);
    auto* w = fx->form->findChild<QWidget*>(control);
    QVERIFY(w);
    QCOMPARE(w->accessibleName(), name);
  }

  void resizing_moves_nothing_data() {
    QTest::addColumn<QSize>("size");
    QTest::newRow("larger") << QSize(800, 600);
    QTest::newRow("very large") << QSize(3000, 2000);
    QTest::newRow("smaller") << QSize(300, 200);
  }
  void resizing_moves_nothing() {
    QFETCH(QSize, size);
    QList<QWidget*> all = fx->form->findChildren<QWidget*>();
    QList<QRect> before;
    for (QWidget* w : all) before << w->geometry();
    fx->form->resize(size);
    QCoreApplication::processEvents();
    QCOMPARE(fx->form->size(), size);
    for (qsizetype i = 0; i < all.size(); ++i)
      QVERIFY2(all[i]->geometry() == before[i], qPrintable(all[i]->objectName()));
  }
};

LOADCALC_GUI_TEST_MAIN(StartupTest)
#include "test_form1_startup.moc"
