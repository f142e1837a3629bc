#include "ui/book/recent_files.h"

#include <QSettings>

namespace loadcalc::ui {

namespace {

QString key() {
  return QStringLiteral("recentBooks");
}

}  // namespace

QStringList RecentFiles::files() const {
  return QSettings().value(key()).toStringList();
}

void RecentFiles::add(const QString& path) {
  QStringList recent = files();
  recent.removeAll(path);
  recent.prepend(path);
  while (recent.size() > limit) recent.removeLast();
  QSettings().setValue(key(), recent);
}

}  // namespace loadcalc::ui
