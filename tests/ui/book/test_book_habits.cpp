// The book window's habits as a document window: what the user typed shown as typed wherever it
// appears, the book reachable from the calculator, its keys and menu letters, its place on
// screen, its columns and notes.
#include <QAction>
#include <QHeaderView>
#include <QMenuBar>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QWindow>
#include <QtTest>
#include <cmath>

#include "app/workspace.h"
#include "gui_fixture.h"
#include "tests/support/entries.h"
#include "ui/book/book_dialogs.h"
#include "ui/book/book_document.h"
#include "ui/book/book_model.h"
#include "ui/book/book_window.h"
#include "ui/book/schedule_model.h"
#include "ui/book/schedule_view.h"

using namespace loadcalc;
using namespace loadcalc::test;
using ui::BookWindow;
using ui::ScheduleModel;

namespace {

// What the user reads: a text Qt takes for HTML as the document it makes of it (an image is a
// U+FFFC there), any other as it is.
QString as_read(const QString& text, Qt::TextFormat format = Qt::AutoText) {
  if (format == Qt::PlainText || (format == Qt::AutoText && !Qt::mightBeRichText(text)))
    return text;
  QTextDocument document;
  document.setHtml(text);
  return document.toPlainText();
}

// Keeps what the next message box reads as, and clicks its button called `answer` (else closes
// it).
class BoxReader : public QObject {
 public:
  explicit BoxReader(QString answer = {}) : answer_(std::move(answer)) {
    qApp->installEventFilter(this);
  }
  QString read;

  bool eventFilter(QObject* o, QEvent* e) override {
    auto* box = qobject_cast<QMessageBox*>(o);
    if (e->type() == QEvent::Show && box && read.isEmpty())
      QTimer::singleShot(0, this, [this, box] {
        read = as_read(box->text(), box->textFormat());
        for (QAbstractButton* b : box->buttons())
          if (b->text() == answer_ || answer_.isEmpty()) return b->click();
      });
    return false;
  }

 private:
  QString answer_;
};

// WCAG 2's contrast ratio.
double contrast(const QColor& a, const QColor& b) {
  const auto luminance = [](const QColor& c) {
    const auto linear = [](double v) {
      return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
  };
  const double la = luminance(a), lb = luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

}  // namespace

class BookHabitsTest : public WindowTest {
  Q_OBJECT

  QTemporaryDir dir_;

  app::Workspace& workspace() {
    auto* w = fx->form->findChild<app::Workspace*>();
    return w ? *w : *new app::Workspace(*fx->form);
  }
  BookWindow* book() { return workspace().book_window(); }
  QAction* action(const char* name) {
    return book()->findChild<QAction*>(QString::fromLatin1(name));
  }
  // The calculator's first field's context menu, by the names of its actions.
  QAction* calculator_action(const char* name) {
    std::unique_ptr<QMenu> menu(fx->form->field_menu(Field::Text1));
    for (QAction* a : menu->actions())
      if (a->objectName() == QLatin1String(name)) return a;
    return nullptr;
  }

 private slots:
  void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

  void a_typed_text_reads_as_typed_data() {
    QTest::addColumn<QString>("place");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("read");
    QTest::newRow("member tooltip, bold") << "member tip"
                                          << "<b>粗</b>"
                                          << "<b>粗</b>";
    QTest::newRow("member tooltip, local image") << "member tip"
                                                 << "<img src=\"file:///etc/passwd\">"
                                                 << "<img src=\"file:///etc/passwd\">";
    QTest::newRow("member tooltip, entity") << "member tip"
                                            << "A&amp;B"
                                            << "A&amp;B";
    QTest::newRow("note tooltip") << "note tip"
                                  << "<i>加腋</i>"
                                  << "<i>加腋</i>";
    QTest::newRow("window title") << "title"
                                  << "<b>塔[*]"
                                  << "<b>塔[*].lcbook — 计算书";
    QTest::newRow("unsaved prompt") << "unsaved"
                                    << "<b>塔"
                                    << "计算书“<b>塔.lcbook”有未保存的修改，是否保存？";
    QTest::newRow("recovery prompt")
        << "recovery"
        << "<img src=x>"
        << "上次关闭程序时，计算书“<img src=x>”有未保存的修改（1 条计算）。是否恢复？";
    QTest::newRow("warning") << "warning"
                             << "<b>无法写入“<u>塔.pdf”"
                             << "<b>无法写入“<u>塔.pdf”";
    QTest::newRow("calculator's message") << "check"
                                          << "<b>1.5x</b> 不是数"
                                          << "<b>1.5x</b> 不是数";
    QTest::newRow("recent books") << "recent"
                                  << "A&B"
                                  << "A&B.lcbook";
  }
  void a_typed_text_reads_as_typed() {
    QFETCH(QString, place);
    QFETCH(QString, typed);
    QFETCH(QString, read);
    ScheduleModel& model = book()->schedule_model(Calculation::MainProgram_1);
    const auto path = [&] { return dir_.filePath(typed + QStringLiteral(".lcbook")); };
    QString shown;
#ifdef Q_OS_WIN
    if (place == u"title" || place == u"unsaved") QSKIP("a Windows file name holds no < > or *");
#endif
    if (place == u"member tip" || place == u"note tip") {
      book()->append(beam(typed.toStdString()));
      const int column =
          model.column_of(place == u"member tip" ? ScheduleCell::name : ScheduleCell::note);
      if (place == u"note tip") model.setData(model.index(0, column), typed, Qt::EditRole);
      shown = as_read(model.index(0, column).data(Qt::ToolTipRole).toString());
    } else if (place == u"title") {
      QVERIFY(book()->document().save_to(path()));
      book()->show();
      shown = book()->windowHandle()->title();
    } else if (place == u"unsaved") {
      book()->append(beam("KL1"));
      QVERIFY(book()->document().save_to(path()));
      book()->append(beam("KL2"));
      BoxReader reader(QStringLiteral("不保存"));
      QVERIFY(book()->close());
      shown = reader.read;
    } else if (place == u"recovery" || place == u"warning" || place == u"check") {
      BoxReader reader;
      if (place == u"recovery") ui::BookDialogs(fx->form.get()).ask_recover(typed, 1);
      if (place == u"warning") ui::BookDialogs(fx->form.get()).warn(QStringLiteral("导出"), typed);
      if (place == u"check") fx->form->show_message(typed.toStdString(), "数据检查");
      shown = reader.read;
    } else if (place == u"recent") {
      book()->append(beam("KL1"));
      QVERIFY(book()->document().save_to(path()));
      QMenu* recent = calculator_action("recentBooks")->menu();
      emit recent->aboutToShow();
      // A menu hides a lone '&' and underlines what follows; "&&" is the character itself.
      shown = recent->actions().value(0)->text().replace(QStringLiteral("&&"), QStringLiteral("&"));
      QVERIFY(shown.endsWith(u'/' + read) || shown.endsWith(u'\\' + read));
      shown = read;
    }
    QCOMPARE(shown, read);
  }

  void the_book_is_reachable_from_the_calculator() {
    // Before any book: open and recent on the menu, nothing to show.
    QVERIFY(calculator_action("openBookFile"));
    QVERIFY(!calculator_action("showBook")->isVisible());
    book()->append(beam("KL1"));
    const QString path = dir_.filePath(QStringLiteral("tower.lcbook"));
    QVERIFY(book()->document().save_to(path));
    book()->show();
    QVERIFY(calculator_action("showBook")->isVisible());
    QVERIFY(book()->close());
    QVERIFY(!book()->isVisible());
    QVERIFY(!calculator_action("showBook")->isVisible());
    // The window closed, the book comes back from the calculator's own menu.
    QMenu* recent = calculator_action("recentBooks")->menu();
    emit recent->aboutToShow();
    QCOMPARE(recent->actions().value(0)->text(), QDir::toNativeSeparators(path));
    recent->actions().value(0)->trigger();
    QVERIFY(book()->isVisible());
    QCOMPARE(book()->document().path(), path);
    QCOMPARE(book()->document().model().size(), 1);
    QVERIFY(calculator_action("showBook")->isVisible());
    // Hidden behind others or not, 显示计算书 brings it up.
    book()->hide();
    calculator_action("showBook")->trigger();
    QVERIFY(book()->isVisible());
  }

  void each_action_has_its_keys_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("keys");
    QTest::newRow("新建") << "newBook"
                          << "Ctrl+N";
    QTest::newRow("打开") << "openBook"
                          << "Ctrl+O";
    QTest::newRow("保存") << "saveBook"
                          << "Ctrl+S";
    QTest::newRow("另存为") << "saveBookAs"
                            << "Ctrl+Shift+S";
    QTest::newRow("打印") << "printBook"
                          << "Ctrl+P";
    QTest::newRow("关闭") << "closeBook"
                          << "Ctrl+W";
    QTest::newRow("撤销") << "undo"
                          << "Ctrl+Z";
    QTest::newRow("重做") << "redo"
                          << "Ctrl+Y; Ctrl+Shift+Z";
    // F2 edits the current cell, as in a spreadsheet.
    QTest::newRow("重命名") << "renameEntry"
                            << "";
    QTest::newRow("复制") << "copyCells"
                          << "Ctrl+C";
    QTest::newRow("粘贴") << "pasteCells"
                          << "Ctrl+V";
    QTest::newRow("向下填充") << "fillDown"
                              << "Ctrl+D";
    QTest::newRow("插入行") << "insertEntry"
                            << "Ctrl+Enter; Ctrl+Return";
    QTest::newRow("删除行") << "deleteEntry"
                            << "Ctrl+Shift+Enter; Ctrl+Shift+Return";
    QTest::newRow("在计算器中打开") << "openInCalculator"
                                    << "Ctrl+Shift+O";
    QTest::newRow("上移") << "moveEntryUp"
                          << "Ctrl+Up";
    QTest::newRow("下移") << "moveEntryDown"
                          << "Ctrl+Down";
  }
  void each_action_has_its_keys() {
    QFETCH(QString, action);
    QFETCH(QString, keys);
    QCOMPARE(QKeySequence::listToString(this->action(action.toLatin1().constData())->shortcuts()),
             keys);
  }

  void each_menu_has_its_letters_data() {
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("letters");
    QTest::newRow("menu bar") << ""
                              << "FE";
    QTest::newRow("文件") << "文件(&F)"
                          << "NOSAIREPC";
    QTest::newRow("导出") << "导出(&E)"
                          << "POHCXL";
    QTest::newRow("编辑") << "编辑(&E)"
                          << "URCPFIDLMBKJAOE";
  }
  void each_menu_has_its_letters() {
    QFETCH(QString, menu);
    QFETCH(QString, letters);
    QList<QAction*> items = book()->menuBar()->actions();
    if (!menu.isEmpty())
      for (QMenu* m : book()->findChildren<QMenu*>())
        if (m->title() == menu) items = m->actions();
    QString found;
    for (const QAction* a : items) {
      if (a->isSeparator()) continue;
      const QString text = a->text();
      const qsizetype amp = text.indexOf(u'&');
      QVERIFY2(amp >= 0 && text.count(u'&') == 1, qPrintable(text));
      found += text.at(amp + 1).toUpper();
    }
    QCOMPARE(found, letters);
  }

  void undo_and_redo_keys_reach_the_book_data() {
    QTest::addColumn<QKeyCombination>("redo");
    QTest::newRow("Ctrl+Y") << QKeyCombination(Qt::CTRL, Qt::Key_Y);
    QTest::newRow("Ctrl+Shift+Z") << QKeyCombination(Qt::CTRL | Qt::SHIFT, Qt::Key_Z);
  }
  void undo_and_redo_keys_reach_the_book() {
    QFETCH(QKeyCombination, redo);
    book()->show();
    book()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(book()));
    QLineEdit* name = book()->project_edit(0);
    name->setFocus();
    QTest::keyClicks(name, QStringLiteral("A7"));
    QTest::keyClick(name, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(book()->document().book().project.name, std::string());
    QTest::keyClick(name, redo.key(), redo.keyboardModifiers());
    QCOMPARE(book()->document().book().project.name, std::string("A7"));
    QCOMPARE(name->text(), QStringLiteral("A7"));
  }

  void the_book_opens_beside_the_calculator_data() {
    QTest::addColumn<QRect>("screen");
    QTest::addColumn<QRect>("calculator");
    QTest::addColumn<QPoint>("at");
    const QRect wide(0, 0, 1920, 1080);
    QTest::newRow("right") << wide << QRect(100, 100, 600, 500) << QPoint(708, 100);
    QTest::newRow("left") << wide << QRect(1200, 100, 600, 500) << QPoint(432, 100);
    QTest::newRow("right, raised to fit") << wide << QRect(100, 700, 600, 370) << QPoint(708, 600);
    QTest::newRow("below") << QRect(0, 0, 1280, 1024) << QRect(300, 50, 600, 400)
                           << QPoint(300, 458);
    QTest::newRow("second screen, left")
        << QRect(1920, 0, 1920, 1080) << QRect(3000, 200, 600, 500) << QPoint(2232, 200);
    QTest::newRow("no room") << QRect(0, 0, 800, 600) << QRect(0, 0, 600, 500) << QPoint(40, 0);
  }
  void the_book_opens_beside_the_calculator() {
    QFETCH(QRect, screen);
    QFETCH(QRect, calculator);
    QFETCH(QPoint, at);
    QCOMPARE(ui::beside(calculator, QSize(760, 480), screen), at);
  }

  void the_book_opens_where_it_was_left() {
    book()->show();
    book()->setGeometry(40, 60, 700, 420);
    const QRect left = book()->geometry();
    QVERIFY(book()->close());
    delete book();
    book()->show();
    QCOMPARE(book()->geometry(), left);
  }

  void columns_fit_their_content() {
    book()->append(beam("KL12 ⑩~⑪轴/Ⓐ~Ⓑ"));
    book()->show();
    const QTableView& table = *book()->schedule(Calculation::MainProgram_1);
    const ScheduleModel& model = book()->schedule_model(Calculation::MainProgram_1);
    const QFontMetrics metrics = table.fontMetrics();
    QVERIFY(table.columnWidth(model.column_of(ScheduleCell::name)) >
            metrics.horizontalAdvance(QStringLiteral("KL12 ⑩~⑪轴/Ⓐ~Ⓑ")));
    // 序号 no wider than its title and four digits.
    QVERIFY(table.columnWidth(model.column_of(ScheduleCell::number)) <=
            metrics.horizontalAdvance(QStringLiteral("序号0000")));
    // An input's heading shows whole.
    const int bay = model.column_of(ScheduleCell::input, Field::Text1);
    QVERIFY(table.columnWidth(bay) > metrics.horizontalAdvance(QStringLiteral("轴线开间尺寸(m)")));
  }

  void a_refused_entry_reads_in_any_palette_data() {
    QTest::addColumn<QColor>("base");
    QTest::addColumn<QColor>("text");
    QTest::newRow("light") << QColor(Qt::white) << QColor(Qt::black);
    QTest::newRow("Breeze dark") << QColor(0x23, 0x26, 0x29) << QColor(0xef, 0xf0, 0xf1);
    QTest::newRow("Adwaita dark") << QColor(0x2d, 0x2d, 0x2d) << QColor(0xff, 0xff, 0xff);
    QTest::newRow("black") << QColor(Qt::black) << QColor(0xdd, 0xdd, 0xdd);
  }
  void a_refused_entry_reads_in_any_palette() {
    QFETCH(QColor, base);
    QFETCH(QColor, text);
    const QPalette before = QGuiApplication::palette();
    QPalette palette = before;
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::Text, text);
    QGuiApplication::setPalette(palette);
    book()->append(stair("LT-1", {{Field::Text8, "200"}}));
    const ScheduleModel& model = book()->schedule_model(Calculation::MainProgram_2);
    const QColor shown = model.index(0, model.column_of(ScheduleCell::check))
                             .data(Qt::ForegroundRole)
                             .value<QBrush>()
                             .color();
    QGuiApplication::setPalette(before);
    QVERIFY2(contrast(shown, base) >= 4.5, qPrintable(shown.name()));
  }

  void a_note_is_one_undo_step() {
    book()->append(beam("KL1"));
    ScheduleModel& model = book()->schedule_model(Calculation::MainProgram_1);
    const QModelIndex note = model.index(0, model.column_of(ScheduleCell::note));
    QVERIFY(model.flags(note) & Qt::ItemIsEditable);
    const int steps = book()->document().undo_stack().count();
    model.setData(note, QStringLiteral(" 梁端加腋 "), Qt::EditRole);
    const auto& entry = [this] { return book()->document().book().entries[0]; };
    QCOMPARE(entry().note, std::string(" 梁端加腋 "));
    QCOMPARE(book()->document().undo_stack().count(), steps + 1);
    action("undo")->trigger();
    QCOMPARE(entry().note, std::string());
    action("redo")->trigger();
    QCOMPARE(note.data().toString(), QStringLiteral(" 梁端加腋 "));
  }
};

LOADCALC_GUI_TEST_MAIN(BookHabitsTest)
#include "test_book_habits.moc"
