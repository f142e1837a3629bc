// Random editing of the whole window for a long run, with what the checks promise held after
// every single event. LOADCALC_SOAK_SEED replays a run; LOADCALC_SOAK_EVENTS sets its length.
#include <QClipboard>
#include <QElapsedTimer>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPointer>
#include <QRegularExpression>
#include <QtTest>
#include <cmath>
#include <cstdint>
#include <random>

#include "calc/calculations.h"
#include "checks/checks.h"
#include "gui_fixture.h"

using namespace loadcalc;
using namespace loadcalc::test;

namespace {

constexpr std::uint64_t default_seed = 0x10adca1c;
constexpr long long default_events = 100'000;

std::uint64_t env_number(const char* name, std::uint64_t fallback) {
  bool ok = false;
  const qulonglong v = qEnvironmentVariable(name).toULongLong(&ok, 0);
  return ok ? v : fallback;
}

class Random {
 public:
  explicit Random(std::uint64_t seed) : engine_(seed) {}
  // Uniform enough for picking among a few hundred thousand.
  int below(int n) { return static_cast<int>(engine_() % static_cast<std::uint64_t>(n)); }
  bool one_in(int n) { return below(n) == 0; }
  template <typename T, std::size_t N>
  const T& pick(const std::array<T, N>& from) {
    return from[std::size_t(below(int(N)))];
  }

 private:
  std::mt19937_64 engine_;
};

enum class CharClass { digit, point, letter, blank, sign, slash, control, cjk, full_width, other };

// What the random texts and keystrokes are drawn from, weighted towards what makes numbers.
QChar random_char(Random& r, CharClass c) {
  static const QString signs = QStringLiteral("+-,;:!\"#$%&'()*=<>?@[\\]^_`{|}~");
  static const QString full_width = QStringLiteral("０１２３４５６７８９．－＋ｅＥ，　");
  switch (c) {
    case CharClass::digit:
      return QChar(u'0' + r.below(10));
    case CharClass::point:
      return u'.';
    case CharClass::letter:
      return r.one_in(3) ? QChar(r.one_in(2) ? u'e' : u'E') : QChar(u'a' + r.below(26));
    case CharClass::blank:
      return QChar(r.pick(std::array<char16_t, 4>{u' ', u'\t', u'\n', 0x3000}));
    case CharClass::sign:
      return signs.at(r.below(int(signs.size())));
    case CharClass::slash:
      return u'/';
    case CharClass::control:
      return r.one_in(8) ? QChar(0x7f) : QChar(r.below(32));
    case CharClass::cjk:
      return QChar(0x4e00 + r.below(0x5200));
    case CharClass::full_width:
      return full_width.at(r.below(int(full_width.size())));
    case CharClass::other:
      return QChar(r.pick(std::array<char16_t, 4>{0xD800, 0xDC00, 0xFFFD, 0x00E9}));
  }
  return u'0';
}

CharClass random_class(Random& r) {
  static constexpr std::array<CharClass, 20> weighted{
      CharClass::digit, CharClass::digit,      CharClass::digit,      CharClass::digit,
      CharClass::digit, CharClass::digit,      CharClass::digit,      CharClass::digit,
      CharClass::point, CharClass::point,      CharClass::letter,     CharClass::blank,
      CharClass::sign,  CharClass::sign,       CharClass::slash,      CharClass::control,
      CharClass::cjk,   CharClass::full_width, CharClass::full_width, CharClass::other};
  return r.pick(weighted);
}

// Mostly something a user might paste: a number with sign, point, exponent, unit or junk around
// it, a value from a limit or the guard list, or noise.
QString random_text(Random& r, int length) {
  static const QStringList near_limits{"0",      "00",  "01",  "09",  "0..",    "",       "350",
                                       "349.99", "200", "2",   "10",  "1e999",  "-1e999", "&H1F",
                                       "&o17",   "4.0", "3.6", "0.5", "1e-400", "0.0"};
  if (length <= 0 && r.one_in(2)) return near_limits.at(r.below(int(near_limits.size())));
  QString t;
  if (r.one_in(2)) {
    if (r.one_in(3)) t += r.one_in(2) ? u'-' : u'+';
    if (r.one_in(8)) t += r.one_in(2) ? QStringLiteral("&H") : QStringLiteral("&O");
    for (int n = r.below(6); n >= 0; --n) t += random_char(r, CharClass::digit);
    if (r.one_in(2)) t += u'.';
    for (int n = r.below(4); n > 0; --n) t += random_char(r, CharClass::digit);
    if (r.one_in(5)) t += QStringLiteral("e") + QString::number(r.below(700) - 350);
  }
  const int rest = length > 0 ? length - int(t.size()) : r.below(8);
  for (int n = 0; n < rest; ++n) t += random_char(r, random_class(r));
  return t;
}

// Readable in a failure report, however long or strange the text.
QString shown(const QString& t) {
  QString out;
  for (qsizetype i = 0; i < t.size() && i < 24; ++i) {
    const char16_t c = t.at(i).unicode();
    out += c >= 0x20 && c < 0x7f ? QString(QChar(c))
                                 : QStringLiteral("\\u%1").arg(int(c), 4, 16, QChar(u'0'));
  }
  if (t.size() > 24) out += QStringLiteral("...(%1 chars)").arg(t.size());
  return u'"' + out + u'"';
}

QString name_of(const QWidget* w) {
  return w ? w->objectName() : QStringLiteral("(none)");
}

const QRegularExpression& caption_pattern(ResultLabel l) {
  static const QRegularExpression beam(QStringLiteral(R"(^-?\d+(\.\d*[1-9])?(E\+\d{2,3})?kN/m$)"));
  static const QRegularExpression stair(
      QStringLiteral(R"(^-?\d+(\.\d*[1-9])?(E\+\d{2,3})?kN/m\^2$)"));
  return l == ResultLabel::Label10 ? beam : stair;
}

QStringList every_check_box() {
  return boxes({
      QStringLiteral("轴线间距≤0，数据错误，请重新输入！"),
      QStringLiteral("层高≤0，数据错误。请重新输入！"),
      QStringLiteral("墙自重≤0，数据错误。请重新输入！"),
      QStringLiteral("踏步宽度≤0或≥350，数据错误。请重新输入！"),
      QStringLiteral("踏步高度≤0或≥200，数据错误。请重新输入！"),
      QStringLiteral("梯板厚度≤0或≥300，数据错误。请重新输入！"),
      QStringLiteral("面层厚度≤0或≥100，数据错误。请重新输入！"),
      QStringLiteral("面层容重≤0或≥50，数据错误。请重新输入！"),
      QStringLiteral("梁高≤0或梁高≥2，数据错误。请重新输入！"),
      QStringLiteral("窗宽< 0，数据错误。请重新输入！"),
      QStringLiteral("窗宽≥开间轴线间距，数据错误。请重新输入！"),
      QStringLiteral("窗高< 0，数据错误。请重新输入！"),
      QStringLiteral("窗高≥层高-梁高，数据错误。请重新输入！"),
      QStringLiteral("窗重≤0或≥10，数据错误。请重新输入！"),
      QStringLiteral("柱宽≤0，数据错误。请重新输入！"),
      QStringLiteral("柱宽非法，数据错误。请重新输入！"),
  });
}

// Every box on the offscreen platform says so; thousands of them would bury the report.
QtMessageHandler chained_handler = nullptr;
void drop_size_hint_warnings(QtMsgType type, const QMessageLogContext& context, const QString& m) {
  if (m.contains(QLatin1String("propagateSizeHints"))) return;
  chained_handler(type, context, m);
}

// Empty while every promise holds; otherwise what broke.
QString violation(const QPointer<ProbeForm>& form) {
  if (!form || !form->isVisible() || !form->isEnabled()) return QStringLiteral("window unusable");
  if (QWidget* modal = QApplication::activeModalWidget())
    return QStringLiteral("modal window left open: ") + modal->metaObject()->className();
  for (std::size_t i = 0; i < field_count; ++i) {
    const Field f = field_at(i);
    const std::string t = form->text(f);
    const bool fails = find_range_rule(f) ? range_check(f, t).has_value()
                                          : leading_zero_guard(t) || value_check(f, t).has_value();
    if (fails) return qstr(field_info(f).name) + QStringLiteral(" kept ") + shown(qstr(t));
  }
  const QStringList failures{qstr(failure_text(CalcStatus::out_of_range)),
                             qstr(failure_text(CalcStatus::zero_divisor))};
  for (std::size_t i = 0; i < result_count; ++i) {
    const QString c = form->caption(ResultLabel(i));
    if (!caption_pattern(ResultLabel(i)).match(c).hasMatch() && !failures.contains(c))
      return QStringLiteral("malformed caption ") + shown(c);
  }
  const QStringList core = core_captions(*form);
  if (shown_captions(*form) != core)
    return QStringLiteral("stale captions %1, the texts give %2")
        .arg(shown_captions(*form).join(u' '), core.join(u' '));
  return {};
}

class Soak {
 public:
  Soak(GuiFixture& fx, std::uint64_t seed) : fx_(fx), form_(fx.form.get()), r_(seed) {}

  // One random event; returns what it was.
  QString step() {
    QWidget* target = form_->focusWidget() ? form_->focusWidget() : form_.data();
    auto* edit = qobject_cast<QLineEdit*>(target);
    const int roll = r_.below(1000);
    if (roll < 480) {
      const QChar c = random_char(r_, random_class(r_));
      type(target, QString(c));
      return QStringLiteral("type %1 in %2").arg(shown(c), name_of(target));
    }
    if (roll < 520) {
      // A Chinese input method commits its text past the key filter.
      const QString text = random_text(r_, 1 + r_.below(4));
      QInputMethodEvent commit;
      commit.setCommitString(text);
      QApplication::sendEvent(target, &commit);
      return QStringLiteral("input method %1 in %2").arg(shown(text), name_of(target));
    }
    if (roll < 620) {
      type(target, QStringLiteral("\b"));
      return QStringLiteral("Backspace in ") + name_of(target);
    }
    if (roll < 650) {
      press(target, Qt::Key_Delete, {});
      return QStringLiteral("Delete in ") + name_of(target);
    }
    if (roll < 680) {
      type(target, QStringLiteral("\r"));
      return QStringLiteral("Enter in ") + name_of(target);
    }
    if (roll < 720) {
      const bool back = r_.one_in(2);
      if (back)
        press(target, Qt::Key_Backtab, {}, Qt::ShiftModifier);
      else
        press(target, Qt::Key_Tab, QStringLiteral("\t"));
      return QStringLiteral("%1 from %2").arg(back ? "Backtab" : "Tab", name_of(target));
    }
    if (roll < 760) {
      // Editing shortcuts (undo, redo, cut, copy, select all, ...) as a keyboard sends them.
      const int letter = r_.below(26);
      const QString text =
          r_.one_in(2) ? QString(QChar(letter + 1)) : QString(QChar(u'a' + letter));
      press(target, Qt::Key_A + letter, text, Qt::ControlModifier);
      return QStringLiteral("Ctrl+%1 in %2").arg(QChar(u'A' + letter)).arg(name_of(target));
    }
    if (roll < 800) {
      static constexpr std::array<Qt::Key, 6> moves{Qt::Key_Left, Qt::Key_Right, Qt::Key_Home,
                                                    Qt::Key_End,  Qt::Key_Up,    Qt::Key_Down};
      const Qt::Key key = r_.pick(moves);
      const bool shift = r_.one_in(2);
      press(target, key, {}, shift ? Qt::ShiftModifier : Qt::NoModifier);
      return QStringLiteral("key %1%2 in %3")
          .arg(shift ? "Shift+" : "")
          .arg(int(key))
          .arg(name_of(target));
    }
    if (roll < 860) return paste(target, edit);
    if (roll < 900 && edit) {
      const int n = int(edit->text().size()) + 1;
      const int start = r_.below(n);
      const int length = r_.below(n) - start;
      edit->setSelection(start, length);
      return QStringLiteral("select %1,%2 in %3").arg(start).arg(length).arg(name_of(edit));
    }
    if (roll < 970) {
      static constexpr std::array<Qt::FocusReason, 7> reasons{
          Qt::MouseFocusReason,        Qt::TabFocusReason,   Qt::BacktabFocusReason,
          Qt::ActiveWindowFocusReason, Qt::PopupFocusReason, Qt::ShortcutFocusReason,
          Qt::OtherFocusReason};
      const int i = r_.below(int(field_count) + 1);
      QWidget* w = i < int(field_count) ? form_->field(field_at(std::size_t(i))) : form_->picture();
      const Qt::FocusReason reason = r_.pick(reasons);
      w->setFocus(reason);
      return QStringLiteral("focus %1 (reason %2)").arg(name_of(w)).arg(int(reason));
    }
    QLineEdit* clicked = form_->field(field_at(std::size_t(r_.below(int(field_count)))));
    const QPoint at(r_.below(clicked->width()), r_.below(clicked->height()));
    QTest::mouseClick(clicked, Qt::LeftButton, {}, at);
    return QStringLiteral("click %1 at %2,%3").arg(name_of(clicked)).arg(at.x()).arg(at.y());
  }

  // After a box the offscreen platform leaves no window active, unlike a desktop.
  bool reactivate() { return QApplication::activeWindow() == form_.data() || fx_.activate(); }

 private:
  QString paste(QWidget* target, QLineEdit* edit) {
    // Now and then a very long one; its length is drawn log-uniformly from 10k to 100k.
    const bool long_one = r_.one_in(50);
    const int length = long_one ? int(10'000 * std::pow(10.0, r_.below(1001) / 1000.0)) : 0;
    const QString text = random_text(r_, length);
    const int way = r_.below(4);
    QGuiApplication::clipboard()->setText(text);
    if (way == 0) press(target, Qt::Key_V, QStringLiteral("\x16"), Qt::ControlModifier);
    if (way == 1) press(target, Qt::Key_V, QStringLiteral("v"), Qt::ControlModifier);
    if (way == 2) press(target, Qt::Key_Insert, {}, Qt::ShiftModifier);
    if (way == 3 && edit) edit->insert(text);
    static constexpr std::array<const char*, 4> ways{"Ctrl+V", "Ctrl+V (text v)", "Shift+Insert",
                                                     "insert"};
    return QStringLiteral("%1 in %2 %3").arg(ways[std::size_t(way)], name_of(target), shown(text));
  }

  GuiFixture& fx_;
  QPointer<ProbeForm> form_;
  Random r_;
};

}  // namespace

class SoakTest : public QObject {
  Q_OBJECT

 private slots:
  void random_editing_keeps_every_promise() {
    const std::uint64_t seed = env_number("LOADCALC_SOAK_SEED", default_seed);
    const long long events = static_cast<long long>(
        env_number("LOADCALC_SOAK_EVENTS", static_cast<std::uint64_t>(default_events)));
    qInfo("soak: seed %llu, %lld events", static_cast<unsigned long long>(seed), events);

    chained_handler = qInstallMessageHandler(drop_size_hint_warnings);
    const auto restore = qScopeGuard([] { qInstallMessageHandler(chained_handler); });
    GuiFixture fx;
    QVERIFY(fx.start());
    const QStringList expected_boxes = every_check_box();
    Soak soak(fx, seed);
    std::array<QString, 8> recent;
    long long box_count = 0;
    QElapsedTimer clock;
    clock.start();

    for (long long i = 0; i < events; ++i) {
      recent[std::size_t(i) % recent.size()] = QStringLiteral("#%1 ").arg(i) + soak.step();
      QString broken;
      const QStringList shown_boxes = fx.watcher.take_boxes();
      // Ctrl+P is the window's print shortcut: its dialog comes up, and is dismissed unused.
      const bool printing = recent[std::size_t(i) % recent.size()].contains(u"Ctrl+P in ");
      for (const QString& b : shown_boxes)
        if (!expected_boxes.contains(b) &&
            !(printing && b == QStringLiteral("unexpected modal widget QPrintDialog")))
          broken = QStringLiteral("unexpected box ") + b;
      box_count += shown_boxes.size();
      if (broken.isEmpty()) broken = violation(fx.form.get());
      if (broken.isEmpty() && !shown_boxes.isEmpty() && !soak.reactivate())
        broken = QStringLiteral("window not active again after a box");
      if (!broken.isEmpty()) {
        QStringList last;
        for (long long j = std::max(0LL, i - 7); j <= i; ++j)
          last << recent[std::size_t(j) % recent.size()];
        QFAIL(qPrintable(QStringLiteral("seed %1, event %2: %3\nlast events:\n  %4")
                             .arg(seed)
                             .arg(i)
                             .arg(broken, last.join(QStringLiteral("\n  ")))));
      }
      if (i % 64 == 63) QCoreApplication::processEvents();
    }

    const double seconds = double(clock.nsecsElapsed()) / 1e9;
    qInfo("soak: %lld events, %lld boxes, %d beeps in %.1f s: %.0f events/s", events, box_count,
          fx.form->beeps, seconds, double(events) / seconds);

    // Still answers the keyboard: a digit replaces the field's text and its result follows.
    QVERIFY(soak.reactivate());
    QLineEdit* text2 = fx.form->edit("Text2");
    text2->setFocus(Qt::TabFocusReason);
    fx.form->reset_counts();
    type(text2, QStringLiteral("3"));
    QCOMPARE(text2->text(), QStringLiteral("3"));
    QCOMPARE(fx.form->caption_writes[0], 1);
    QCOMPARE(shown_captions(*fx.form), core_captions(*fx.form));
  }
};

LOADCALC_GUI_TEST_MAIN(SoakTest)
#include "test_soak.moc"
