#include "ui/storage.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace loadcalc::ui {

namespace {

// Empty while the system's place serves.
QString portable_data;

// Tried with a file that is removed at once, so that merely starting from a writable folder
// leaves nothing in it.
bool writable(const QString& dir) {
  QTemporaryFile probe(QDir(dir).filePath(QStringLiteral("loadcalc-XXXXXX.tmp")));
  return probe.open();
}

}  // namespace

void choose_storage(const QString& program_dir) {
  const bool portable = QFileInfo::exists(QDir(program_dir).filePath(QStringLiteral("portable")));
  QSettings::setDefaultFormat(portable ? QSettings::IniFormat : QSettings::NativeFormat);
  portable_data.clear();
  if (!portable) return;
  // The file is <program_dir>/<organisation>/<application>.ini; the recovery copies go beside it.
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, program_dir);
  if (writable(program_dir)) portable_data = QFileInfo(QSettings().fileName()).absolutePath();
}

QString data_folder() {
  return portable_data.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
                                 : portable_data;
}

}  // namespace loadcalc::ui
