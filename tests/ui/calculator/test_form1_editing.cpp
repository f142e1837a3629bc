// Keystrokes, pastes and Enter in the fields, with everything they set off: message boxes, beeps,
// resets, selections and the result captions.
#include <QClipboard>
#include <QLineEdit>
#include <QtTest>

#include "calc/calculations.h"
#include "gui_fixture.h"

using namespace loadcalc;
using namespace loadcalc::test;

using Counts = std::array<int, loadcalc::result_count>;
Q_DECLARE_METATYPE(Counts)

namespace {

struct FieldState {
  QString text;
  int selection_start;
  QString selected;
  int cursor;
  bool operator==(const FieldState&) const = default;
};

FieldState state_of(const QLineEdit* e) {
  return {e->text(), e->selectionStart(), e->selectedText(), e->cursorPosition()};
}

}  // namespace

class EditingTest : public WindowTest {
  Q_OBJECT

  QLineEdit* focus(const QString& name) {
    QLineEdit* e = fx->form->edit(name.toStdString());
    e->setFocus();
    fx->form->reset_counts();
    return e;
  }

 private slots:
  // Each row starts with the field focused and its default text selected.
  void keystrokes_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("keys");  // "\b" is Backspace
    QTest::addColumn<QStringList>("prompts");
    QTest::addColumn<QStringList>("shown_at_box");  // the field's text while the box is up
    QTest::addColumn<int>("beeps");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("selected");
    QTest::addColumn<Counts>("caption_writes");
    QTest::addColumn<QStringList>("captions");  // empty: whatever the core computes

    const QStringList defaults{"6.7kN/m", "7.172kN/m^2"};
    const QString storey = QStringLiteral("层高≤0，数据错误。请重新输入！");
    QTest::newRow("range field passes")
        << "Text2"
        << "3" << QStringList{} << QStringList{} << 0 << "3" << false << Counts{1, 0}
        << QStringList{"4.9kN/m", "7.172kN/m^2"};
    QTest::newRow("range field fails, reset and recomputed twice")
        << "Text2"
        << "0" << QStringList{storey} << QStringList{"0"} << 0 << "3.6" << true << Counts{2, 0}
        << defaults;
    QTest::newRow("the key after a reset replaces it")
        << "Text2"
        << "05" << QStringList{storey} << QStringList{"0"} << 0 << "5" << false << Counts{3, 0}
        << QStringList{};
    QTest::newRow("stair field fails at its limit")
        << "Text7"
        << "350" << QStringList{"踏步宽度≤0或≥350，数据错误。请重新输入！"} << QStringList{"350"}
        << 0 << "280" << true << Counts{0, 4} << defaults;
    QTest::newRow("emptied stair field fails")
        << "Text8"
        << "\b" << QStringList{"踏步高度≤0或≥200，数据错误。请重新输入！"} << QStringList{""} << 0
        << "160" << true << Counts{0, 2} << defaults;
    QTest::newRow("Backspace shortens and is checked")
        << "Text9"
        << "15\b" << QStringList{} << QStringList{} << 0 << "1" << false << Counts{0, 3}
        << QStringList{};
    QTest::newRow("decimal field passes") << "Text3"
                                          << "1" << QStringList{} << QStringList{} << 0 << "1"
                                          << false << Counts{1, 0} << QStringList{};
    QTest::newRow("decimal field fails its value test")
        << "Text3"
        << "2" << QStringList{"梁高≤0或梁高≥2，数据错误。请重新输入！"} << QStringList{"2"} << 0
        << "0.45" << true << Counts{2, 0} << defaults;
    QTest::newRow("emptied decimal field beeps") << "Text3"
                                                 << "\b" << QStringList{} << QStringList{} << 1
                                                 << "0.45" << true << Counts{2, 0} << defaults;
    QTest::newRow("leading zero beeps, Text11 resets to 0.5")
        << "Text11"
        << "00" << QStringList{} << QStringList{} << 1 << "0.5" << true << Counts{3, 0} << defaults;
    QTest::newRow("opening width fails against the bay")
        << "Text4"
        << "4" << QStringList{"窗宽≥开间轴线间距，数据错误。请重新输入！"} << QStringList{"4"} << 0
        << "2.0" << true << Counts{2, 0} << defaults;
    QTest::newRow("column width fails against bay minus opening")
        << "Text13"
        << "3" << QStringList{"柱宽非法，数据错误。请重新输入！"} << QStringList{"3"} << 0 << "0.0"
        << true << Counts{2, 0} << defaults;
    QTest::newRow("1.2.3 can be typed, each key checked")
        << "Text1"
        << "1.2.3" << QStringList{} << QStringList{} << 0 << "1.2.3" << false << Counts{5, 0}
        << QStringList{};
    QTest::newRow("full-width digit gets through")
        << "Text6" << QString(QChar(0xFF15)) << QStringList{} << QStringList{} << 0
        << QString(QChar(0xFF15)) << false << Counts{1, 0} << QStringList{};
  }
  void keystrokes() {
    QFETCH(QString, field);
    QFETCH(QString, keys);
    QFETCH(QStringList, prompts);
    QFETCH(QStringList, shown_at_box);
    QFETCH(int, beeps);
    QFETCH(QString, text);
    QFETCH(bool, selected);
    QFETCH(Counts, caption_writes);
    QFETCH(QStringList, captions);

    QLineEdit* e = focus(field);
    fx->watcher.snapshot = [e] { return e->text(); };
    type(e, keys);

    QCOMPARE(fx->watcher.take_boxes(), boxes(prompts));
    QCOMPARE(fx->watcher.take_snapshots(), shown_at_box);
    QCOMPARE(fx->form->beeps, beeps);
    QCOMPARE(e->text(), text);
    if (selected) {
      QCOMPARE(e->selectionStart(), 0);
      QCOMPARE(e->selectedText(), text);
    } else {
      QVERIFY(!e->hasSelectedText());
    }
    QCOMPARE(fx->form->caption_writes, caption_writes);
    if (!captions.isEmpty()) QCOMPARE(shown_captions(*fx->form), captions);
    QCOMPARE(shown_captions(*fx->form), core_captions(*fx->form));
  }

  // The box comes first: the rejected text is still shown and nothing has been recomputed.
  void report_comes_before_reset_and_recompute() {
    QLineEdit* e = focus(QStringLiteral("Text2"));
    fx->form->result(ResultLabel::Label10)->setText(QStringLiteral("before"));
    fx->watcher.snapshot = [this, e] {
      return e->text() + u' ' + fx->form->caption(ResultLabel::Label10);
    };
    type(e, QStringLiteral("0"));
    QCOMPARE(fx->watcher.take_boxes().size(), 1);
    QCOMPARE(fx->watcher.take_snapshots(), QStringList{QStringLiteral("0 before")});
    QCOMPARE(fx->form->caption(ResultLabel::Label10), QStringLiteral("6.7kN/m"));
  }

  void discarded_keys_change_nothing_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("caret");  // -1: whole text selected
    QTest::addColumn<QString>("key");
    const QStringList keys{"a", " ", "+", "-", ",", "/", "e", "E", ":", "中", "龍", "－", "\x7f"};
    for (const QString& k : keys) {
      const QByteArray code = QByteArray::number(k.front().unicode());
      QTest::newRow(("Text1 selected, " + code).constData()) << "Text1" << -1 << k;
      QTest::newRow(("Text12 caret inside, " + code).constData()) << "Text12" << 2 << k;
    }
  }
  void discarded_keys_change_nothing() {
    QFETCH(QString, field);
    QFETCH(int, caret);
    QFETCH(QString, key);
    QLineEdit* e = focus(field);
    if (caret >= 0) e->setCursorPosition(caret);
    const FieldState before = state_of(e);
    const QStringList captions = shown_captions(*fx->form);
    type(e, key);
    QVERIFY(state_of(e) == before);
    QCOMPARE(shown_captions(*fx->form), captions);
    QCOMPARE(fx->form->caption_writes, (Counts{0, 0}));
    QCOMPARE(fx->form->beeps, 0);
  }

  // Enter recomputes the field's own result and nothing else.
  void enter_recomputes_only_its_result_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("label");
    for (const char* f : {"Text1", "Text2", "Text3", "Text4", "Text5", "Text6", "Text11", "Text13"})
      QTest::newRow(f) << f << 0;
    for (const char* f : {"Text7", "Text8", "Text9", "Text10", "Text12"})
      QTest::newRow(f) << f << 1;
  }
  void enter_recomputes_only_its_result() {
    QFETCH(QString, field);
    QFETCH(int, label);
    QLineEdit* e = focus(field);
    for (std::size_t l = 0; l < result_count; ++l)
      fx->form->result(ResultLabel(l))->setText(QStringLiteral("sentinel"));
    const FieldState before = state_of(e);
    press(e, Qt::Key_Return, QStringLiteral("\r"));
    QVERIFY(state_of(e) == before);
    QStringList expected{"sentinel", "sentinel"};
    expected[label] = label == 0 ? QStringLiteral("6.7kN/m") : QStringLiteral("7.172kN/m^2");
    QCOMPARE(shown_captions(*fx->form), expected);
    Counts writes{0, 0};
    writes[std::size_t(label)] = 1;
    QCOMPARE(fx->form->caption_writes, writes);
    QCOMPARE(fx->form->beeps, 0);
  }

  // Pasted text bypasses the filter; the change check judges it.
  void paste_is_judged_by_the_change_check_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QString>("ctrl_v_text");  // what the platform attaches to Ctrl+V
    QTest::addColumn<QStringList>("prompts");
    QTest::addColumn<QString>("text");
    const QString bay = QStringLiteral("轴线间距≤0，数据错误，请重新输入！");
    QTest::newRow("negative bay") << "Text1"
                                  << "-2"
                                  << "v" << QStringList{bay} << "4.0";
    QTest::newRow("letters, X11 control code") << "Text1"
                                               << "abc"
                                               << "\x16" << QStringList{bay} << "4.0";
    QTest::newRow("negative storey")
        << "Text2"
        << "-2"
        << "\x16" << QStringList{"层高≤0，数据错误。请重新输入！"} << "3.6";
    QTest::newRow("negative opening")
        << "Text4"
        << "-1"
        << "v" << QStringList{"窗宽< 0，数据错误。请重新输入！"} << "2.0";
    QTest::newRow("leading zero with more digits stays") << "Text3"
                                                         << "01.5"
                                                         << "v" << QStringList{} << "01.5";
    QTest::newRow("number with a unit stays") << "Text7"
                                              << "12mm"
                                              << "v" << QStringList{} << "12mm";
  }
  void paste_is_judged_by_the_change_check() {
    QFETCH(QString, field);
    QFETCH(QString, clipboard);
    QFETCH(QString, ctrl_v_text);
    QFETCH(QStringList, prompts);
    QFETCH(QString, text);
    QLineEdit* e = focus(field);
    QGuiApplication::clipboard()->setText(clipboard);
    press(e, Qt::Key_V, ctrl_v_text, Qt::ControlModifier);
    QCOMPARE(fx->watcher.take_boxes(), boxes(prompts));
    QCOMPARE(e->text(), text);
    QCOMPARE(shown_captions(*fx->form), core_captions(*fx->form));
  }

  // A value too large for any result: the label says so instead of showing a number.
  void a_failed_calculation_shows_its_failure_text() {
    QLineEdit* e = focus(QStringLiteral("Text6"));
    QGuiApplication::clipboard()->setText(QStringLiteral("1e400"));
    press(e, Qt::Key_V, QStringLiteral("v"), Qt::ControlModifier);
    QCOMPARE(e->text(), QStringLiteral("1e400"));
    QCOMPARE(fx->form->caption(ResultLabel::Label10), qstr(failure_text(CalcStatus::out_of_range)));
    QCOMPARE(fx->form->caption(ResultLabel::Label11), QStringLiteral("7.172kN/m^2"));
  }

  // Typing over a selection with the same character leaves the text as it was, yet it is an edit
  // and is checked, exactly once.
  void typing_the_same_text_is_checked_once_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("label");
    QTest::newRow("Text2") << "Text2"
                           << "3" << 0;
    QTest::newRow("Text7") << "Text7"
                           << "5" << 1;
    QTest::newRow("Text13") << "Text13"
                            << "0" << 0;
  }
  void typing_the_same_text_is_checked_once() {
    QFETCH(QString, field);
    QFETCH(QString, key);
    QFETCH(int, label);
    QLineEdit* e = focus(field);
    type(e, key);
    e->selectAll();
    fx->form->reset_counts();
    type(e, key);
    QCOMPARE(e->text(), key);
    Counts writes{0, 0};
    writes[std::size_t(label)] = 1;
    QCOMPARE(fx->form->caption_writes, writes);
  }

  // The sheet writes a field only when the text differs; an equal write leaves the selection.
  void writing_the_same_text_runs_nothing() {
    QLineEdit* e = focus(QStringLiteral("Text12"));
    e->setSelection(1, 2);
    fx->form->set_text(Field::Text12, "22.0");
    QCOMPARE(fx->form->caption_writes, (Counts{0, 0}));
    QCOMPARE(e->selectionStart(), 1);
    QCOMPARE(e->selectionLength(), 2);
  }

  // Selections count characters; the widget counts UTF-16 units.
  void selection_counts_characters() {
    QLineEdit* e = fx->form->field(Field::Text7);
    {
      const QSignalBlocker quiet(e);
      e->setText(QStringLiteral("1\U0001D7DF2"));  // a digit outside the 16-bit range
    }
    fx->form->set_selection(Field::Text7, {1, 1});
    QCOMPARE(e->selectedText(), QStringLiteral("\U0001D7DF"));
    fx->form->set_selection(Field::Text7, {0, 3});
    QCOMPARE(e->selectedText(), e->text());
  }
};

LOADCALC_GUI_TEST_MAIN(EditingTest)
#include "test_form1_editing.moc"
