#pragma once
// Shared by the window's tests: a Form1 whose beeps and caption writes can be counted, a watcher
// that dismisses every modal box and remembers what it said (so that a test fails instead of
// hanging on one), and typing through real key events.

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>
#include <QTimer>
#include <QtTest>
#include <array>
#include <functional>
#include <memory>
#include <string_view>

#include "calc/calculations.h"
#include "calc/fields.h"
#include "calc/memory_sheet.h"
#include "calc/sheet.h"
#include "ui/application.h"
#include "ui/calculator/form1.h"
#include "ui/qt_text.h"

namespace loadcalc::test {

using ui::qstring;
inline QString qstr(std::string_view s) {
  return qstring(s);
}

// `w` rendered in device pixels on a transparent image, so that pixel checks see exactly what
// the widget itself draws at the current scale.
inline QImage rendered(QWidget* w, QWidget::RenderFlags flags) {
  const qreal dpr = w->devicePixelRatioF();
  QImage image((QSizeF(w->size()) * dpr).toSize(), QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(dpr);
  image.fill(Qt::transparent);
  w->render(&image, QPoint(), QRegion(), flags);
  return image;
}

class ProbeForm : public ui::Form1 {
 public:
  int beeps = 0;
  std::array<int, result_count> caption_writes{};

  void beep() override { ++beeps; }
  void set_caption(ResultLabel l, std::string_view caption) override {
    ++caption_writes[index_of(l)];
    Form1::set_caption(l, caption);
  }
  void reset_counts() {
    beeps = 0;
    caption_writes = {};
  }

  QLineEdit* edit(std::string_view name) const { return field(*field_named(name)); }
  QString caption(ResultLabel l) const { return result(l)->text(); }
};

// Dismisses every modal widget from the first turn of its own event loop: a message box is
// described as "title | text | icon | buttons" and closed with its OK button, anything else is
// closed outright.
class BoxWatcher {
 public:
  BoxWatcher() {
    on_show_.watcher = this;
    qApp->installEventFilter(&on_show_);
  }

  // Called while a box is up, before it is dismissed: what the window shows at that moment.
  std::function<QString()> snapshot;

  QStringList take_boxes() { return std::exchange(boxes_, {}); }
  QStringList take_snapshots() { return std::exchange(snapshots_, {}); }
  bool idle() const { return boxes_.isEmpty(); }
  const QStringList& boxes() const { return boxes_; }

  static QString describe(const QString& title, const QString& text) {
    return title + QStringLiteral(" | ") + text + QStringLiteral(" | Information | OK");
  }

 private:
  struct ShowHook : QObject {
    BoxWatcher* watcher = nullptr;
    bool eventFilter(QObject* o, QEvent* e) override {
      if (e->type() == QEvent::Show && o->isWidgetType() && static_cast<QWidget*>(o)->isModal())
        QTimer::singleShot(0, this, [w = watcher] { w->poll(); });
      return false;
    }
  };

  void poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible()) return;
    if (snapshot) snapshots_ << snapshot();
    auto* box = qobject_cast<QMessageBox*>(modal);
    if (!box) {
      boxes_ << QStringLiteral("unexpected modal widget ") + modal->metaObject()->className();
      modal->close();
      return;
    }
    const QString icon = box->icon() == QMessageBox::Information ? QStringLiteral("Information")
                                                                 : QStringLiteral("other icon");
    QStringList buttons;
    for (QAbstractButton* b : box->buttons())
      buttons << (box->standardButton(b) == QMessageBox::Ok ? QStringLiteral("OK") : b->text());
    boxes_ << box->windowTitle() + QStringLiteral(" | ") + box->text() + QStringLiteral(" | ") +
                  icon + QStringLiteral(" | ") + buttons.join(u',');
    if (QAbstractButton* ok = box->button(QMessageBox::Ok))
      ok->click();
    else
      box->reject();
  }

  ShowHook on_show_;
  QStringList boxes_;
  QStringList snapshots_;
};

// One started window per test function.
struct GuiFixture {
  BoxWatcher watcher;
  std::unique_ptr<ProbeForm> form = std::make_unique<ProbeForm>();

  // Shows the window and waits until it has the keyboard.
  [[nodiscard]] bool start() {
    form->show();
    return activate();
  }
  // After a modal box under the offscreen platform no window is active.
  [[nodiscard]] bool activate() {
    form->activateWindow();
    return QTest::qWaitForWindowActive(form.get());
  }
};

// Base of the window tests: a freshly started window for every test function, and a test that
// leaves a box nobody expected fails instead of passing quietly.
class WindowTest : public QObject {
  Q_OBJECT

 protected:
  std::unique_ptr<GuiFixture> fx;

 protected slots:
  void init() {
    fx = std::make_unique<GuiFixture>();
    QVERIFY(fx->start());
  }
  void cleanup() {
    const QStringList left = fx->watcher.take_boxes();
    fx.reset();
    QVERIFY2(left.isEmpty(), qPrintable(QStringLiteral("unexpected box: ") + left.join(u'\n')));
  }
};

// Each prompt as the watcher describes a check's box.
inline QStringList boxes(const QStringList& prompts) {
  QStringList described;
  for (const QString& p : prompts) described << BoxWatcher::describe(QStringLiteral("数据检查"), p);
  return described;
}

// What the core computes from the texts the window shows.
inline QStringList core_captions(const ProbeForm& form) {
  MemorySheet sheet;
  for (std::size_t i = 0; i < field_count; ++i) sheet.load(field_at(i), form.text(field_at(i)));
  QStringList captions;
  for (const CalculationInfo& c : calculations) {
    run_calculation(sheet, c.id);
    captions << qstr(sheet.caption(c.label));
  }
  return captions;
}

inline QStringList shown_captions(const ProbeForm& form) {
  QStringList captions;
  for (const CalculationInfo& c : calculations) captions << form.caption(c.label);
  return captions;
}

inline void configure_test_application() {
  ui::configure_application(*qApp);
}

// Presses and releases one key on a widget through the application, as a keyboard would, with
// any text (QTest::keyClicks gives up on text outside Latin-1).
inline void press(QWidget* w, int key, QString text, Qt::KeyboardModifiers mods = Qt::NoModifier) {
  QKeyEvent down(QEvent::KeyPress, key, mods, text);
  QApplication::sendEvent(w, &down);
  QKeyEvent up(QEvent::KeyRelease, key, mods, text);
  QApplication::sendEvent(w, &up);
}

// Types each character of `keys` as its own keystroke; "\b" is Backspace and "\r" Enter.
inline void type(QWidget* w, const QString& keys) {
  for (QChar c : keys) {
    int key = Qt::Key_unknown;
    if (c == u'\b')
      key = Qt::Key_Backspace;
    else if (c == u'\r')
      key = Qt::Key_Return;
    else if (c.unicode() < 128)
      key = c.toUpper().unicode();
    press(w, key, QString(c));
  }
}

}  // namespace loadcalc::test

// QTEST_MAIN with the program's look, so that geometry and fonts are those of the real window.
#define LOADCALC_GUI_TEST_MAIN(TestClass)         \
  int main(int argc, char** argv) {               \
    QApplication app(argc, argv);                 \
    loadcalc::test::configure_test_application(); \
    TestClass tc;                                 \
    QTEST_SET_MAIN_SOURCE_PATH                    \
    return QTest::qExec(&tc, argc, argv);         \
  }
