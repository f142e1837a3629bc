// Two running copies of the program, as two documents over one recovery folder and one book.
#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QtTest>

#include "book/file.h"
#include "book/recovery.h"
#include "tests/support/entries.h"
#include "ui/book/book_commands.h"
#include "ui/book/book_document.h"

using namespace loadcalc;
using ui::BookDocument;
using ui::BookPrompts;

namespace {

// Answers as the test says, and writes down each question.
struct Script : BookPrompts {
  bool recover = false;
  InUse in_use = InUse::cancel;
  Changed changed = Changed::cancel;
  QString save_path;
  QStringList asked;
  Unsaved ask_unsaved(const QString&) override { return Unsaved::discard; }
  QString ask_save_path(const QString&) override { return asked << "另存为", save_path; }
  void warn(const QString& title, const QString&) override { asked << title; }
  bool ask_recover(const QString& name, std::size_t n) override {
    return asked << QStringLiteral("恢复 %1 %2").arg(name).arg(n), recover;
  }
  InUse ask_in_use(const QString& name, const ui::BookHolder& h) override {
    return asked << QStringLiteral("只读 %1 %2@%3").arg(name, h.user, h.host), in_use;
  }
  Changed ask_changed_on_disk(const QString& path, const QDateTime&) override {
    return asked << QStringLiteral("覆盖 ") + QFileInfo(path).fileName(), changed;
  }
};

Book book_of(int entries) {
  Book b;
  for (int i = 1; i <= entries; ++i) b.entries.push_back(test::beam("KL" + std::to_string(i)));
  return b;
}

QString names_in(const QString& path) {
  const auto loaded = load_book(path.toStdString());
  QStringList names;
  for (const Entry& e : std::get<Book>(loaded).entries) names << QString::fromStdString(e.name);
  return names.join(u'|');
}

void rename(BookDocument& d, int row, const char* name) {
  d.undo_stack().push(new ui::RenameEntryCommand(d.model(), row, name));
}

}  // namespace

class BookDocumentTest : public QObject {
  Q_OBJECT

  std::unique_ptr<QTemporaryDir> dir_;
  QString folder() const { return dir_->filePath(QStringLiteral("recovery")); }
  QString tower() const { return dir_->filePath(QStringLiteral("tower.lcbook")); }
  int copies() const { return int(QDir(folder()).entryList({"recovery*.lcbook"}).size()); }

 private slots:
  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    Script s;
    BookDocument d(s, folder());
    d.adopt(book_of(2), {});
    QVERIFY(d.save_to(tower()));
    d.clear();
  }

  void every_copy_keeps_its_own_recovery_copy() {
    for (const bool recover : {true, false}) {
      Script s;
      BookDocument first(s, folder());
      auto second = std::make_unique<BookDocument>(s, folder());
      first.adopt(book_of(1), {});
      second->adopt(book_of(3), tower());
      QCOMPARE(copies(), 2);
      QVERIFY(!BookDocument::take_recovery(folder(), s));  // both still running
      second.reset();                                      // killed: no clean close
      s.recover = recover;
      auto taken = BookDocument::take_recovery(folder(), s);
      QCOMPARE(s.asked, QStringList{QStringLiteral("恢复 tower.lcbook 3")});
      if (taken) {
        BookDocument third(s, folder());
        third.adopt(std::move(*taken));
        QCOMPARE(third.book().entries.size(), std::size_t(3));
        QCOMPARE(copies(), 2);  // its own, in place of the one it came from
        third.clear();
      }
      QCOMPARE(copies(), 1);
      QVERIFY(!BookDocument::take_recovery(folder(), s));
      first.clear();
      QCOMPARE(copies(), 0);
    }
  }

  // Typing writes the copy once it pauses, not at every key; a save removes it at once.
  void the_recovery_copy_waits_for_a_pause() {
    Script s;
    BookDocument d(s, folder());
    d.open(tower());
    const auto first_name = [&] {
      const QStringList copy = QDir(folder()).entryList({"recovery*.lcbook"});
      if (copy.size() != 1) return QString();
      const auto r = read_recovery(QDir(folder()).filePath(copy[0]).toStdU16String());
      return r ? QString::fromStdString(r->book.entries.at(0).name) : QString();
    };
    rename(d, 0, "A");
    rename(d, 0, "AB");
    QCOMPARE(copies(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(first_name(), QStringLiteral("AB"), 5000);
    rename(d, 0, "ABC");
    QCOMPARE(first_name(), QStringLiteral("AB"));
    d.flush_recovery_copy();
    QCOMPARE(first_name(), QStringLiteral("ABC"));
    rename(d, 0, "ABCD");
    QVERIFY(d.save());
    QCOMPARE(copies(), 0);
    // Nothing left pending to bring it back.
    QTest::qWait(BookDocument::recovery_pause_ms + 200);
    QCOMPARE(copies(), 0);
  }

  void a_save_over_a_file_changed_since_asks_data() {
    QTest::addColumn<BookPrompts::Changed>("answer");
    QTest::addColumn<QString>("in_tower");
    QTest::addColumn<QString>("in_other");
    QTest::newRow("覆盖") << BookPrompts::Changed::overwrite << "A1|KL2"
                          << "";
    QTest::newRow("另存为…") << BookPrompts::Changed::save_as << "KL1|B2"
                             << "A1|KL2";
    QTest::newRow("取消") << BookPrompts::Changed::cancel << "KL1|B2"
                          << "";
  }
  void a_save_over_a_file_changed_since_asks() {
    QFETCH(BookPrompts::Changed, answer);
    QFETCH(QString, in_tower);
    QFETCH(QString, in_other);
    Script sa, sb;
    sb.in_use = BookPrompts::InUse::open_anyway;
    BookDocument a(sa, folder()), b(sb, folder());
    a.open(tower());
    b.open(tower());
    rename(b, 1, "B2");
    QVERIFY(b.save());  // as B read it: nothing to ask
    rename(a, 0, "A1");
    sa.changed = answer;
    sa.save_path = dir_->filePath(QStringLiteral("other.lcbook"));
    QCOMPARE(a.save(), answer != BookPrompts::Changed::cancel);
    QCOMPARE(sa.asked.value(0), QStringLiteral("覆盖 tower.lcbook"));
    QCOMPARE(names_in(tower()), in_tower);
    QCOMPARE(QFile::exists(sa.save_path) ? names_in(sa.save_path) : QString(), in_other);
    QCOMPARE(a.is_modified(), answer == BookPrompts::Changed::cancel);
  }

  // "copy": another document has it open; "": the lock cannot be written (a folder in its place).
  void opening_a_book_with_a_lock_beside_it_data() {
    QTest::addColumn<QString>("host");
    QTest::addColumn<qint64>("pid");
    QTest::addColumn<int>("hours_ago");
    QTest::addColumn<BookPrompts::InUse>("answer");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<QString>("saved");
    using A = BookPrompts::InUse;
    const QString here = QSysInfo::machineHostName();
    QTest::newRow("copy, 只读打开") << "copy" << 0ll << 0 << A::read_only << true << "KL1|KL2";
    QTest::newRow("copy, 仍然打开") << "copy" << 0ll << 0 << A::open_anyway << true << "B1|KL2";
    QTest::newRow("copy, 取消") << "copy" << 0ll << 0 << A::cancel << true << "KL1|KL2";
    QTest::newRow("here, ended") << here << -1ll << 0 << A::cancel << false << "B1|KL2";
    QTest::newRow("elsewhere, 1 h")
        << "设计室-PC" << 1ll << 1 << A::open_anyway << true << "B1|KL2";
    QTest::newRow("elsewhere, 13 h") << "设计室-PC" << 1ll << 13 << A::cancel << false << "B1|KL2";
    QTest::newRow("not written") << "" << 0ll << 0 << A::cancel << false << "B1|KL2";
  }
  void opening_a_book_with_a_lock_beside_it() {
    QFETCH(QString, host);
    QFETCH(qint64, pid);
    QFETCH(int, hours_ago);
    QFETCH(BookPrompts::InUse, answer);
    QFETCH(bool, asked);
    QFETCH(QString, saved);
    Script sa, sb;
    BookDocument a(sa, folder()), b(sb, folder());
    const QString lock = dir_->filePath(QStringLiteral(".~lock.tower.lcbook#"));
    QFile f(lock);
    if (host == u"copy")
      a.open(tower());
    else if (host.isEmpty())
      QDir().mkpath(lock);
    else if (f.open(QIODevice::WriteOnly))
      f.write(
          QJsonDocument(
              {{"user", "王工"},
               {"host", host},
               {"pid", pid},
               {"time",
                QDateTime::currentDateTimeUtc().addSecs(-hours_ago * 3600).toString(Qt::ISODate)}})
              .toJson());
    f.close();
    sb.in_use = answer;
    b.open(tower());
    QCOMPARE(sb.asked.size(), int(asked));
    if (asked) QVERIFY(sb.asked[0].startsWith(QStringLiteral("只读 tower.lcbook ")));
    QCOMPARE(b.is_read_only(), answer == BookPrompts::InUse::read_only && asked);
    if (!b.path().isEmpty()) {
      rename(b, 0, "B1");
      sb.save_path = tower();  // refused while read-only, even through 另存为
      QCOMPARE(b.save(), !b.is_read_only());
    }
    QCOMPARE(names_in(tower()), saved);
    b.clear();  // another's lock stays; a stale one gave way to b's own, gone now
    QCOMPARE(QFileInfo(lock).isFile(), asked);
  }
};

QTEST_GUILESS_MAIN(BookDocumentTest)
#include "test_book_document.moc"
