// The key filter over every code, and the code a key press hands to it.
#include <QKeyEvent>
#include <QtTest>
#include <cstdint>
#include <limits>
#include <optional>

#include "form/key_filter.h"
#include "ui/calculator/typed_code.h"

using loadcalc::form::key_filter;
using loadcalc::ui::typed_code;

Q_DECLARE_METATYPE(Qt::KeyboardModifiers)

class KeyFilterTest : public QObject {
  Q_OBJECT

 private slots:
  // Digits, "." and control characters pass, as do the negative codes of UTF-16 units from
  // U+8000 up; blank to "-", "/" and everything else from ":" on are discarded.
  void every_signed_16_bit_code() {
    int wrong = 0;
    for (int code = std::numeric_limits<std::int16_t>::min();
         code <= std::numeric_limits<std::int16_t>::max(); ++code) {
      const bool passes = code < 32 || code == 46 || (code >= 48 && code <= 57);
      const int expected = passes ? code : 0;
      const int got = key_filter(static_cast<std::int16_t>(code));
      if (got != expected && ++wrong <= 5)
        qWarning("key_filter(%d) gave %d, expected %d", code, got, expected);
    }
    QCOMPARE(wrong, 0);
  }

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
    QTest::newRow("full-width digit is negative")
        << 0 << none << QString(QChar(0xFF15)) << int(std::int16_t(0xFF15));
    QTest::newRow("ideograph below U+8000 is positive")
        << 0 << none << QString(QChar(0x4E2D)) << 0x4E2D;
    QTest::newRow("ideograph from U+8000 is negative")
        << 0 << none << QString(QChar(0x9F8D)) << int(std::int16_t(0x9F8D));
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
    const std::optional<std::int16_t> code = typed_code(event);
    QCOMPARE(code.has_value(), expected != -1);
    if (code) QCOMPARE(int(*code), expected);
  }
};

QTEST_GUILESS_MAIN(KeyFilterTest)
#include "test_key_filter.moc"
