// Qt's own texts, those the program does not write itself, read in simplified Chinese whatever the
// locale the program starts under (this test runs under LC_ALL=C).
#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>
#include <memory>

#include "gui_fixture.h"

using namespace loadcalc;
using namespace loadcalc::test;

namespace {

// "撤消(&U)\tCtrl+Z" -> "撤消"
QString bare(QString text) {
  text = text.section(u'\t', 0, 0);
  text.remove(QRegularExpression(QStringLiteral("\\(&.\\)|&")));
  return text.trimmed();
}

}  // namespace

class QtTextsTest : public QObject {
  Q_OBJECT
 private slots:
  void message_box_button_reads_chinese() {
    QMessageBox box(QMessageBox::Information, qstr(message_title), QStringLiteral("x"),
                    QMessageBox::Ok);
    QCOMPARE(box.button(QMessageBox::Ok)->text(), QStringLiteral("确定"));
  }

  void field_context_menu_reads_chinese_data() {
    QTest::addColumn<QStringList>("words");  // Qt's translations differ on the spelling of undo
    QTest::newRow("undo") << QStringList{QStringLiteral("撤消"), QStringLiteral("撤销")};
    QTest::newRow("redo") << QStringList{QStringLiteral("重做")};
    QTest::newRow("cut") << QStringList{QStringLiteral("剪切")};
    QTest::newRow("copy") << QStringList{QStringLiteral("复制")};
    QTest::newRow("paste") << QStringList{QStringLiteral("粘贴")};
    QTest::newRow("delete") << QStringList{QStringLiteral("删除")};
    QTest::newRow("select all") << QStringList{QStringLiteral("全选")};
  }
  void field_context_menu_reads_chinese() {
    QFETCH(QStringList, words);
    ProbeForm form;
    const std::unique_ptr<QMenu> menu(form.edit("Text1")->createStandardContextMenu());
    QStringList shown;
    for (QAction* a : menu->actions())
      if (!a->isSeparator()) shown << bare(a->text());
    bool found = false;
    for (const QString& w : words) found = found || shown.contains(w);
    QVERIFY2(found, qPrintable(shown.join(u' ')));
  }
};

LOADCALC_GUI_TEST_MAIN(QtTextsTest)
#include "test_qt_texts.moc"
