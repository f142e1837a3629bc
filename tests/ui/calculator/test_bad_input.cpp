// Hostile pastes into fields of each kind: what the user is shown, what the field keeps, and that
// the window goes on working afterwards.
#include <QClipboard>
#include <QLineEdit>
#include <QtTest>

#include "calc/calculations.h"
#include "gui_fixture.h"

using namespace loadcalc;
using namespace loadcalc::test;

namespace {

// What one paste leads to in one field. A field that is not reset keeps the pasted text with the
// caret behind it; a reset one holds its reset text, all of it selected.
struct Outcome {
  const char* prompt;  // the box shown, or none
  int beeps;
  bool reset;
  const char* beam;
  const char* stair;
};

constexpr const char* beam = "6.7kN/m";
constexpr const char* stair = "7.172kN/m^2";
constexpr const char* overflow = "数值超出范围";
constexpr Outcome bay_box{"轴线间距≤0，数据错误，请重新输入！", 0, true, beam, stair};
constexpr Outcome step_box{"踏步宽度≤0或≥350，数据错误。请重新输入！", 0, true, beam, stair};
constexpr Outcome depth_box{"梁高≤0或梁高≥2，数据错误。请重新输入！", 0, true, beam, stair};
constexpr Outcome column_box{"柱宽非法，数据错误。请重新输入！", 0, true, beam, stair};
constexpr Outcome negative_column_box{"柱宽≤0，数据错误。请重新输入！", 0, true, beam, stair};
constexpr Outcome guard_beep{nullptr, 1, true, beam, stair};
constexpr Outcome kept(const char* beam_caption, const char* stair_caption = stair) {
  return {nullptr, 0, false, beam_caption, stair_caption};
}

// A range field without and with an upper limit, and two decimal fields, with their reset texts.
constexpr std::array<std::array<const char*, 2>, 4> pasted_into{
    {{"Text1", "4.0"}, {"Text7", "280"}, {"Text3", "0.45"}, {"Text13", "0.0"}}};

struct Input {
  const char* name;
  QString text;
  std::array<Outcome, 4> outcomes;  // in the order of `pasted_into`
};

QString one_megabyte() {
  QString t = QStringLiteral("1.5");
  const QString filler = QStringLiteral("abc 中文\t");
  while (t.toUtf8().size() < (1 << 20) - 16) t += filler.repeated(4096);
  return t;
}

std::vector<Input> inputs() {
  const QString lone = QStringLiteral("1") + QChar(0xD800) + QStringLiteral("2");
  // clang-format off
  return {
    {"empty",           "",          {bay_box, step_box, guard_beep, guard_beep}},
    {"point",           ".",         {bay_box, step_box, kept("8.05kN/m"), kept(beam)}},
    {"minus",           "-",         {bay_box, step_box, kept("8.05kN/m"), kept(beam)}},
    {"plus",            "+",         {bay_box, step_box, kept("8.05kN/m"), kept(beam)}},
    {"1e999",           "1e999",     {kept(overflow), step_box, depth_box, column_box}},
    {"-1e999",          "-1e999",    {bay_box, step_box, depth_box, negative_column_box}},
    {"400 digits",      QString(400, u'7'), {kept(overflow), step_box, depth_box, column_box}},
    {"&H, 30 digits",   "&HFEDCBA9876543210FEDCBA98765432",
                                     {kept("9.45kN/m"), step_box, depth_box, column_box}},
    {"1 MB",            one_megabyte(),
                                     {kept("2.117kN/m"), kept(beam, "456.01kN/m^2"), kept("3.55kN/m"), kept("3.156kN/m")}},
    {"line feed, tab",  "1\n2\t.5",  {kept("8.57kN/m"), kept(beam, "57.2kN/m^2"), depth_box, column_box}},
    {"full-width",      "３．５",     {kept("6.307kN/m"), kept(beam, "196.985kN/m^2"), depth_box, column_box}},
    {"Chinese",         "三点五",     {bay_box, step_box, kept("8.05kN/m"), kept(beam)}},
    {"control codes",   "5\x01\x1b", {kept("7.25kN/m"), kept(beam, "138.716kN/m^2"), depth_box, column_box}},
    {"lone surrogate",  lone,        {kept("-1.55kN/m"), kept(beam, "682.671kN/m^2"), kept("5.05kN/m"), kept("4.337kN/m")}},
  };
  // clang-format on
}

}  // namespace

class BadInputTest : public WindowTest {
  Q_OBJECT
 private slots:
  void pasted_into_a_field_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QStringList>("prompts");
    QTest::addColumn<int>("beeps");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("selected");
    QTest::addColumn<QStringList>("captions");
    for (const Input& in : inputs()) {
      for (std::size_t i = 0; i < pasted_into.size(); ++i) {
        const auto [field, reset_text] = pasted_into[i];
        const Outcome& o = in.outcomes[i];
        QTest::addRow("%s in %s", in.name, field)
            << field << in.text << (o.prompt ? QStringList{o.prompt} : QStringList{}) << o.beeps
            << (o.reset ? QString(reset_text) : in.text) << o.reset << QStringList{o.beam, o.stair};
      }
    }
  }
  void pasted_into_a_field() {
    QFETCH(QString, field);
    QFETCH(QString, pasted);
    QFETCH(QStringList, prompts);
    QFETCH(int, beeps);
    QFETCH(QString, text);
    QFETCH(bool, selected);
    QFETCH(QStringList, captions);

    QLineEdit* e = fx->form->edit(field.toStdString());
    e->setFocus(Qt::TabFocusReason);
    fx->form->reset_counts();
    QGuiApplication::clipboard()->setText(pasted);
    press(e, Qt::Key_V, QStringLiteral("\x16"), Qt::ControlModifier);

    QCOMPARE(fx->watcher.take_boxes(), boxes(prompts));
    QCOMPARE(fx->form->beeps, beeps);
    QVERIFY2(e->text() == text, qPrintable(e->text().left(64)));
    if (selected) {
      QCOMPARE(e->selectionStart(), 0);
      QCOMPARE(e->selectedText(), text);
    } else {
      QVERIFY(!e->hasSelectedText());
      QCOMPARE(e->cursorPosition(), text.size());
    }
    QCOMPARE(shown_captions(*fx->form), captions);
    QCOMPARE(shown_captions(*fx->form), core_captions(*fx->form));

    // Still in working order: a digit typed over the whole text is checked and computed.
    QVERIFY(fx->form->isVisible());
    QVERIFY(fx->activate());
    e->selectAll();
    fx->form->reset_counts();
    type(e, QStringLiteral("1"));
    QCOMPARE(e->text(), QStringLiteral("1"));
    QCOMPARE(fx->form->caption_writes[field == "Text7" ? 1 : 0], 1);
    QCOMPARE(shown_captions(*fx->form), core_captions(*fx->form));
  }
};

LOADCALC_GUI_TEST_MAIN(BadInputTest)
#include "test_bad_input.moc"
