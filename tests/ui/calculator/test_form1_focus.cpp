// Where the focus goes and what arriving in a field selects.
#include <QLineEdit>
#include <QSignalBlocker>
#include <QtTest>

#include "gui_fixture.h"

using namespace loadcalc;
using namespace loadcalc::test;

class FocusTest : public WindowTest {
  Q_OBJECT

  static QStringList forward_order() {
    return {"Text2", "Text3", "Text4", "Text5",  "Text6",  "Text13",   "Text11",
            "Text7", "Text8", "Text9", "Text10", "Text12", "Picture1", "Text1"};
  }

  // The focus widget after each press of `key`, starting in Text1, once round the chain.
  QStringList walk(Qt::Key key, Qt::KeyboardModifiers mods) {
    QStringList visited;
    for (qsizetype i = 0; i < forward_order().size(); ++i) {
      QWidget* from = QApplication::focusWidget();
      if (!from) return visited << QStringLiteral("(no focus)");
      QTest::keyClick(from, key, mods);
      QWidget* to = QApplication::focusWidget();
      visited << (to ? to->objectName() : QStringLiteral("(no focus)"));
      // Every arrival in a field selects all of it.
      if (auto* edit = qobject_cast<QLineEdit*>(to)) {
        if (edit->selectionStart() != 0 || edit->selectedText() != edit->text())
          visited << QStringLiteral("(%1 not fully selected)").arg(edit->objectName());
      }
    }
    return visited;
  }

 private slots:
  void tab_goes_through_the_beam_inputs_then_the_stair_inputs() {
    QCOMPARE(walk(Qt::Key_Tab, Qt::NoModifier), forward_order());
  }

  void backtab_goes_the_other_way() {
    QStringList expected = forward_order();
    std::reverse(expected.begin(), expected.end());
    expected.removeFirst();
    expected << QStringLiteral("Text1");
    QCOMPARE(walk(Qt::Key_Backtab, Qt::ShiftModifier), expected);
  }

  // The sketch takes the focus in its turn and nothing reacts.
  void picture_takes_the_focus_without_effect() {
    fx->form->picture()->setFocus(Qt::TabFocusReason);
    fx->form->reset_counts();
    type(fx->form->picture(), QStringLiteral("5\r"));
    QCOMPARE(fx->form->caption_writes, (std::array<int, result_count>{0, 0}));
    QCOMPARE(fx->form->edit("Text1")->text(), QStringLiteral("4.0"));
  }

  void tabbing_into_a_field_selects_all_characters() {
    QLineEdit* text12 = fx->form->edit("Text12");
    fx->form->edit("Text10")->setFocus();
    QTest::keyClick(fx->form->edit("Text10"), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), text12);
    QCOMPARE(text12->selectionStart(), 0);
    QCOMPARE(text12->selectionLength(), 4);
  }

  void focus_from_the_program_selects_all() {
    QLineEdit* text7 = fx->form->edit("Text7");
    text7->setCursorPosition(1);
    text7->setFocus();
    QCOMPARE(text7->selectedText(), QStringLiteral("280"));
  }

  void an_empty_field_gets_an_empty_selection_at_the_start() {
    QLineEdit* text3 = fx->form->edit("Text3");
    {
      const QSignalBlocker quiet(text3);
      text3->setText(QString());
    }
    text3->setFocus();
    QVERIFY(!text3->hasSelectedText());
    QCOMPARE(text3->cursorPosition(), 0);
  }

  // A click that brings the focus selects everything, so the next key replaces the value; a
  // click in the focused field places the caret.
  void clicking_into_a_field_selects_all_then_places_the_caret() {
    QLineEdit* text3 = fx->form->edit("Text3");
    const QPoint inside(text3->width() / 2, text3->height() / 2);
    QTest::mouseClick(text3, Qt::LeftButton, {}, inside);
    QCOMPARE(QApplication::focusWidget(), text3);
    QCOMPARE(text3->selectedText(), QStringLiteral("0.45"));
    QTest::mouseClick(text3, Qt::LeftButton, {}, inside);
    QVERIFY(!text3->hasSelectedText());
    QCOMPARE(text3->cursorPosition(), 4);
  }

  // Leaving the window and coming back is no arrival: the caret the user left stays put.
  void returning_to_the_window_keeps_the_caret() {
    QLineEdit* text1 = fx->form->edit("Text1");
    text1->setCursorPosition(1);
    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    QVERIFY(fx->activate());
    QCOMPARE(QApplication::focusWidget(), text1);
    QVERIFY(!text1->hasSelectedText());
    QCOMPARE(text1->cursorPosition(), 1);
  }
};

LOADCALC_GUI_TEST_MAIN(FocusTest)
#include "test_form1_focus.moc"
