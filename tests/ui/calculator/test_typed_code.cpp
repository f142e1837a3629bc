// The code a key press hands to the key filter (the filter itself is tested in tests/form/).
#include <QKeyEvent>
#include <QtTest>
#include <optional>

#include "ui/calculator/typed_code.h"

using loadcalc::ui::typed_code;

Q_DECLARE_METATYPE(Qt::KeyboardModifiers)

class TypedCodeTest : public QObject {
  Q_OBJECT

 private slots:
  void code_of_key_press_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");  // -1: the filter never sees the key
    const Qt::KeyboardModifiers none = Qt::NoModifier;
    const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
    QTest::newRow("digit") << int(Qt::Key_5) << none << "5" << 53;
    QTest::newRow("point") << int(Qt::Key_Period) << none << "." << 46;
    QTest::newRow("letter") << int(Qt::Key_A) << none << "a" << 97;
    QTest::newRow("Ctrl+V as QTest sends it") << int(Qt::Key_V) << ctrl << "v" << 22;
    QTest::newRow("Ctrl+V as X11 sends it") << int(Qt::Key_V) << ctrl << "\x16" << 22;
    QTest::newRow("Ctrl+C") << int(Qt::Key_C) << ctrl << "c" << 3;
    QTest::newRow("Ctrl+Shift+Z") << int(Qt::Key_Z) << (ctrl | Qt::ShiftModifier) << "Z" << 26;
    QTest::newRow("AltGr types its character")
        << int(Qt::Key_Q) << (ctrl | Qt::AltModifier) << "@" << 64;
    QTest::newRow("full-width digit") << 0 << none << QString(QChar(0xFF15)) << 0xFF15;
    QTest::newRow("ideograph below U+8000") << 0 << none << QString(QChar(0x4E2D)) << 0x4E2D;
    QTest::newRow("ideograph from U+8000") << 0 << none << QString(QChar(0x9F8D)) << 0x9F8D;
    const char32_t beyond_bmp[] = {0x1F600};
    QTest::newRow("beyond the Basic Multilingual Plane, two UTF-16 units")
        << 0 << none << QString::fromUcs4(beyond_bmp, 1) << 0x1F600;
    QTest::newRow("lone surrogate") << 0 << none << QString(QChar(0xD83D)) << 0xFFFD;
    QTest::newRow("Return with text") << int(Qt::Key_Return) << none << "\r" << 13;
    QTest::newRow("Return without text") << int(Qt::Key_Return) << none << "" << 13;
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << Qt::KeyboardModifiers(Qt::KeypadModifier)
                                  << "\r" << 13;
    QTest::newRow("Backspace without text") << int(Qt::Key_Backspace) << none << "" << 8;
    QTest::newRow("Escape") << int(Qt::Key_Escape) << none << "\x1b" << 27;
    QTest::newRow("Delete reported as DEL") << int(Qt::Key_Delete) << none << "\x7f" << -1;
    QTest::newRow("Delete") << int(Qt::Key_Delete) << none << "" << -1;
    QTest::newRow("Tab") << int(Qt::Key_Tab) << none << "\t" << -1;
    QTest::newRow("Backtab") << int(Qt::Key_Backtab) << Qt::KeyboardModifiers(Qt::ShiftModifier)
                             << "" << -1;
    QTest::newRow("Left") << int(Qt::Key_Left) << none << "" << -1;
    QTest::newRow("Home") << int(Qt::Key_Home) << none << "" << -1;
    QTest::newRow("End") << int(Qt::Key_End) << none << "" << -1;
    QTest::newRow("F5") << int(Qt::Key_F5) << none << "" << -1;
    QTest::newRow("Ctrl alone") << int(Qt::Key_Control) << ctrl << "" << -1;
  }
  void code_of_key_press() {
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(QString, text);
    QFETCH(int, expected);
    const QKeyEvent event(QEvent::KeyPress, key, modifiers, text);
    const std::optional<char32_t> code = typed_code(event);
    QCOMPARE(code.has_value(), expected != -1);
    if (code) QCOMPARE(int(*code), expected);
  }
};

QTEST_GUILESS_MAIN(TypedCodeTest)
#include "test_typed_code.moc"
