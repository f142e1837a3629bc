// Two running copies of the program, as two documents over one recovery folder and one book:
// each keeps its own recovery copy, a save never silently replaces what the other saved, and a
// book one has open is opened by the other only when the user says so.
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "book/file.h"
#include "book/recovery.h"
#include "tests/support/entries.h"
#include "ui/book/book_commands.h"
#include "ui/book/book_document.h"

using namespace loadcalc;
using namespace loadcalc::test;
using ui::BookDocument;
using ui::BookPrompts;

namespace {

// Answers as the test says, and writes down each question in order.
class Script : public BookPrompts {
 public:
  bool recover = false;
  InUse in_use = InUse::cancel;
  Changed changed = Changed::cancel;
  QString save_path;
  QStringList asked;

  Unsaved ask_unsaved(const QString& name) override {
    asked << QStringLiteral("unsaved ") + name;
    return Unsaved::discard;
  }
  QString ask_save_path(const QString&) override {
    asked << QStringLiteral("save as");
    return save_path;
  }
  void warn(const QString& title, const QString& message) override {
    asked << title + u' ' + message;
  }
  bool ask_recover(const QString& name, std::size_t entries) override {
    asked << QStringLiteral("recover %1 %2").arg(name).arg(entries);
    return recover;
  }
  InUse ask_in_use(const QString& name, const ui::BookHolder& h) override {
    asked << QStringLiteral("in use %1 %2@%3").arg(name, h.user, h.host);
    return in_use;
  }
  Changed ask_changed_on_disk(const QString& path, const QDateTime& modified) override {
    asked << QStringLiteral("changed ") + QFileInfo(path).fileName();
    if (!modified.isValid()) asked << QStringLiteral("no time");
    return changed;
  }
};

Book book_of(std::initializer_list<const char*> names) {
  Book b;
  for (const char* n : names) b.entries.push_back(beam(n));
  return b;
}

QString names_in(const QString& path) {
  const auto loaded = load_book(path.toStdString());
  if (!std::holds_alternative<Book>(loaded)) return QStringLiteral("(unreadable)");
  QStringList names;
  for (const Entry& e : std::get<Book>(loaded).entries) names << QString::fromStdString(e.name);
  return names.join(u'|');
}

void rename_first(BookDocument& d, const char* name) {
  d.undo_stack().push(new ui::RenameEntryCommand(d.model(), 0, name));
}

QString here() {
  return QSysInfo::machineHostName();
}

// A lock file beside a book, as another copy of the program writes it.
QByteArray lock_file(const QString& host, qint64 pid, qint64 hours_ago) {
  const QDateTime time = QDateTime::currentDateTimeUtc().addSecs(-hours_ago * 3600);
  return QJsonDocument(QJsonObject{{QStringLiteral("user"), QStringLiteral("王工")},
                                   {QStringLiteral("host"), host},
                                   {QStringLiteral("pid"), pid},
                                   {QStringLiteral("time"), time.toString(Qt::ISODate)}})
      .toJson();
}

}  // namespace

class BookDocumentTest : public QObject {
  Q_OBJECT

  std::unique_ptr<QTemporaryDir> dir_;
  QString folder() const { return dir_->filePath(QStringLiteral("recovery")); }
  QString file(const char* name) const { return dir_->filePath(QString::fromUtf8(name)); }
  QStringList copies() const {
    return QDir(folder()).entryList({QStringLiteral("recovery*.lcbook")}, QDir::Files);
  }
  // A two-entry book saved by a document that then closes it.
  QString saved_book() {
    Script s;
    BookDocument d(s, folder());
    d.adopt(book_of({"KL1", "KL2"}), {});
    const QString path = file("tower.lcbook");
    return d.save_to(path) && (d.clear(), true) ? path : QString();
  }

 private slots:
  void init() { dir_ = std::make_unique<QTemporaryDir>(); }

  void every_copy_keeps_its_own_recovery_copy_data() {
    QTest::addColumn<bool>("recover");
    QTest::newRow("恢复") << true;
    QTest::newRow("放弃") << false;
  }
  void every_copy_keeps_its_own_recovery_copy() {
    QFETCH(bool, recover);
    Script s;
    auto first = std::make_unique<BookDocument>(s, folder());
    auto second = std::make_unique<BookDocument>(s, folder());
    first->adopt(book_of({"KL1"}), {});
    second->adopt(book_of({"KL1", "KL2"}), file("tower.lcbook"));
    QCOMPARE(copies().size(), 2);
    // Both running: neither copy is offered.
    QVERIFY(!BookDocument::take_recovery(folder(), s));
    QCOMPARE(s.asked, QStringList());

    second.reset();  // killed: no clean close
    s.recover = recover;
    auto taken = BookDocument::take_recovery(folder(), s);
    QCOMPARE(s.asked, QStringList{QStringLiteral("recover tower.lcbook 2")});
    QCOMPARE(bool(taken), recover);
    if (taken) {
      BookDocument third(s, folder());
      third.adopt(std::move(*taken));
      QCOMPARE(third.book().entries.size(), std::size_t(2));
      QCOMPARE(third.path(), file("tower.lcbook"));
      QVERIFY(third.is_modified());
      // Its own copy replaces the one it came from.
      QCOMPARE(copies().size(), 2);
      third.clear();
    }
    QCOMPARE(copies().size(), 1);
    s.asked.clear();
    QVERIFY(!BookDocument::take_recovery(folder(), s));
    QCOMPARE(s.asked, QStringList());
    // A clean close leaves nothing to offer.
    first->clear();
    QCOMPARE(copies(), QStringList());
  }

  void a_copy_whose_program_died_is_offered() {
    QProcess gone;
    gone.start(QStringLiteral("true"));
    QVERIFY(gone.waitForStarted());
    const qint64 dead = gone.processId();
    QVERIFY(gone.waitForFinished());
    QDir().mkpath(folder());
    QVERIFY(!write_recovery((folder() + QStringLiteral("/recovery-dead.lcbook")).toStdString(),
                            book_of({"KL1"}), {}));
    QFile lock(folder() + QStringLiteral("/recovery-dead.lock"));
    QVERIFY(lock.open(QIODevice::WriteOnly));
    lock.write(QByteArray::number(dead) + "\nloadcalc\n" + here().toUtf8() + '\n');
    lock.close();
    Script s;
    QVERIFY(!BookDocument::take_recovery(folder(), s));
    QCOMPARE(s.asked, QStringList{QStringLiteral("recover 未命名 1")});
    QCOMPARE(copies(), QStringList());
  }

  void a_save_over_a_file_changed_since_asks_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("tower");
    QTest::addColumn<QString>("other");
    QTest::addColumn<bool>("modified");
    QTest::newRow("覆盖") << int(BookPrompts::Changed::overwrite) << "A1|KL2"
                          << "" << false;
    QTest::newRow("另存为…") << int(BookPrompts::Changed::save_as) << "KL1|B2"
                             << "A1|KL2" << false;
    QTest::newRow("取消") << int(BookPrompts::Changed::cancel) << "KL1|B2"
                          << "" << true;
  }
  void a_save_over_a_file_changed_since_asks() {
    QFETCH(int, answer);
    QFETCH(QString, tower);
    QFETCH(QString, other);
    QFETCH(bool, modified);
    const QString path = saved_book();
    Script sa, sb;
    BookDocument a(sa, folder()), b(sb, folder());
    QCOMPARE(a.open(path), QString());
    sb.in_use = BookPrompts::InUse::open_anyway;
    QCOMPARE(b.open(path), QString());
    sb.asked.clear();
    // B renames row 2 and saves: the file is as B read it, so nothing is asked.
    b.undo_stack().push(new ui::RenameEntryCommand(b.model(), 1, "B2"));
    QVERIFY(b.save());
    QCOMPARE(sb.asked, QStringList());
    // A renames row 1 and saves over B's save.
    rename_first(a, "A1");
    sa.changed = BookPrompts::Changed(answer);
    sa.save_path = file("other.lcbook");
    QCOMPARE(a.save(), answer != int(BookPrompts::Changed::cancel));
    QCOMPARE(sa.asked.value(0), QStringLiteral("changed tower.lcbook"));
    QCOMPARE(names_in(path), tower);
    QCOMPARE(QFile::exists(sa.save_path) ? names_in(sa.save_path) : QString(), other);
    QCOMPARE(a.is_modified(), modified);
    QCOMPARE(a.path(), other.isEmpty() ? path : sa.save_path);
    // Once overwritten or saved elsewhere, A's next save asks nothing.
    if (!modified) {
      sa.asked.clear();
      rename_first(a, "A3");
      QVERIFY(a.save());
      QCOMPARE(sa.asked, QStringList());
    }
  }

  void opening_a_book_another_copy_has_open_asks_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("opened");
    QTest::addColumn<bool>("read_only");
    QTest::newRow("只读打开") << int(BookPrompts::InUse::read_only) << "KL1|KL2" << true;
    QTest::newRow("仍然打开") << int(BookPrompts::InUse::open_anyway) << "KL1|KL2" << false;
    QTest::newRow("取消") << int(BookPrompts::InUse::cancel) << "" << false;
  }
  void opening_a_book_another_copy_has_open_asks() {
    QFETCH(int, answer);
    QFETCH(QString, opened);
    QFETCH(bool, read_only);
    const QString path = saved_book();
    Script sa, sb;
    BookDocument a(sa, folder()), b(sb, folder());
    QCOMPARE(a.open(path), QString());
    QCOMPARE(sa.asked, QStringList());
    sb.in_use = BookPrompts::InUse(answer);
    QCOMPARE(b.open(path), QString());
    // Named by its user on this machine.
    QCOMPARE(sb.asked.size(), 1);
    QVERIFY(sb.asked[0].startsWith(QStringLiteral("in use tower.lcbook ")));
    QVERIFY(sb.asked[0].endsWith(u'@' + here()));
    QStringList names;
    for (const Entry& e : b.book().entries) names << QString::fromStdString(e.name);
    QCOMPARE(names.join(u'|'), opened);
    QCOMPARE(b.is_read_only(), read_only);
    if (read_only) {
      // A save goes to 另存为; refused there too when it names the same file.
      rename_first(b, "B1");
      sb.asked.clear();
      sb.save_path = path;
      QVERIFY(!b.save());
      QCOMPARE(sb.asked.size(), 2);
      QVERIFY(sb.asked[1].startsWith(
          QStringLiteral("保存计算书 计算书“tower.lcbook”是以只读方式打开的")));
      QCOMPARE(names_in(path), QStringLiteral("KL1|KL2"));
      sb.save_path = file("copy.lcbook");
      QVERIFY(b.save());
      QVERIFY(!b.is_read_only());
    }
    // Closed by A, the book is free: opened again without a word.
    a.clear();
    b.clear();
    sb.asked.clear();
    QCOMPARE(b.open(path), QString());
    QCOMPARE(sb.asked, QStringList());
  }

  void a_lock_left_behind_is_ignored_data() {
    QTest::addColumn<QByteArray>("lock");
    QTest::addColumn<bool>("asked");
    const qint64 running = QCoreApplication::applicationPid();
    QTest::newRow("this machine, its program ended") << lock_file(here(), -1, 0) << false;
    QTest::newRow("this machine, running") << lock_file(here(), running, 0) << true;
    QTest::newRow("another machine, an hour ago")
        << lock_file(QStringLiteral("设计室-PC"), 1, 1) << true;
    QTest::newRow("another machine, yesterday")
        << lock_file(QStringLiteral("设计室-PC"), 1, 13) << false;
    QTest::newRow("unreadable") << QByteArray("王工,设计室-PC") << false;
  }
  void a_lock_left_behind_is_ignored() {
    QFETCH(QByteArray, lock);
    QFETCH(bool, asked);
    const QString path = saved_book();
    QFile f(file(".~lock.tower.lcbook#"));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(lock);
    f.close();
    Script s;
    s.in_use = BookPrompts::InUse::open_anyway;
    BookDocument d(s, folder());
    QCOMPARE(d.open(path), QString());
    QCOMPARE(s.asked.size(), int(asked));
    if (asked) QVERIFY(s.asked[0].startsWith(QStringLiteral("in use tower.lcbook 王工@")));
    QCOMPARE(d.book().entries.size(), std::size_t(2));
    // Another's lock stays; a stale one is replaced by this copy's own, gone on close.
    d.clear();
    QCOMPARE(QFile::exists(f.fileName()), asked);
  }

  void a_lock_that_cannot_be_written_does_not_block_opening() {
    const QString path = saved_book();
    // A folder where the lock file would go stands for a share that refuses it.
    QVERIFY(QDir().mkpath(file(".~lock.tower.lcbook#")));
    Script s;
    BookDocument d(s, folder());
    QCOMPARE(d.open(path), QString());
    QCOMPARE(s.asked, QStringList());
    rename_first(d, "KL9");
    QVERIFY(d.save());
    QCOMPARE(names_in(path), QStringLiteral("KL9|KL2"));
  }
};

QTEST_GUILESS_MAIN(BookDocumentTest)
#include "test_book_document.moc"
