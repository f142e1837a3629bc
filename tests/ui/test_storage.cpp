// Where the settings and the recovery copies go: the system's places for an installed program,
// a folder beside the program for the portable zip, whose `portable` file marks it.
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include "ui/storage.h"

using loadcalc::ui::choose_storage;
using loadcalc::ui::data_folder;

class StorageTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication::setOrganizationName(QStringLiteral("loadcalc"));
    QCoreApplication::setApplicationName(QStringLiteral("loadcalc"));
  }
  // The next test starts from an installed program's choice, whatever this one chose.
  void cleanup() { choose_storage(QCoreApplication::applicationDirPath()); }

  // Each row: what lies beside the program, then where a setting and the recovery copies go,
  // relative to the program's folder ("" for the system's place).
  void settings_and_copies_data() {
    QTest::addColumn<QString>("beside");
    QTest::addColumn<QString>("settings_file");
    QTest::addColumn<QString>("copies");
    QTest::newRow("installed") << ""
                               << ""
                               << "";
    QTest::newRow("portable") << "portable"
                              << "loadcalc/loadcalc.ini"
                              << "loadcalc";
  }
  void settings_and_copies() {
    QFETCH(QString, beside);
    QFETCH(QString, settings_file);
    QFETCH(QString, copies);
    QTemporaryDir program;
    if (!beside.isEmpty()) QVERIFY(QFile(program.filePath(beside)).open(QIODevice::WriteOnly));
    choose_storage(program.path());
    // Choosing leaves nothing behind; only a setting written makes the file.
    QCOMPARE(QDir(program.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             beside.isEmpty() ? QStringList() : QStringList{beside});

    QSettings().setValue(QStringLiteral("recentBooks"),
                         QStringList{QStringLiteral("/书/甲.lcbook")});
    const QString file = QSettings().fileName();
    QCOMPARE(QSettings().format(),
             settings_file.isEmpty() ? QSettings::NativeFormat : QSettings::IniFormat);
    if (settings_file.isEmpty()) {
      QVERIFY2(!file.startsWith(program.path()), qPrintable(file));
      QCOMPARE(data_folder(), QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    } else {
      QCOMPARE(file, program.filePath(settings_file));
      QCOMPARE(data_folder(), program.filePath(copies));
      // Read back by a later start, from the file itself.
      QCOMPARE(QSettings(program.filePath(settings_file), QSettings::IniFormat)
                   .value(QStringLiteral("recentBooks"))
                   .toStringList(),
               QStringList{QStringLiteral("/书/甲.lcbook")});
    }
    QSettings().remove(QStringLiteral("recentBooks"));
  }

  // A portable copy on a folder it cannot write still keeps its crash protection, in the
  // system's place; its settings stay out of the system all the same.
  void read_only_portable_folder_keeps_copies_in_the_system_place() {
    QTemporaryDir program;
    QVERIFY(QFile(program.filePath(QStringLiteral("portable"))).open(QIODevice::WriteOnly));
    QVERIFY(QFile::setPermissions(program.path(), QFile::ReadOwner | QFile::ExeOwner));
    QFile probe(program.filePath(QStringLiteral("probe")));
    if (probe.open(QIODevice::WriteOnly)) {
      QFile::setPermissions(program.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
      QSKIP("this user writes into read-only folders (root)");
    }
    choose_storage(program.path());
    QFile::setPermissions(program.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(QSettings().fileName(), program.filePath(QStringLiteral("loadcalc/loadcalc.ini")));
    QCOMPARE(data_folder(), QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
  }
};

QTEST_GUILESS_MAIN(StorageTest)
#include "test_storage.moc"
