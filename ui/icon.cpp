#include "ui/icon.h"

#include <QDir>

namespace loadcalc::ui {

QIcon app_icon() {
  QIcon icon;
  const QDir painted(QStringLiteral(":/icons"));
  for (const QString& name : painted.entryList(QDir::Files)) icon.addFile(painted.filePath(name));
  return icon;
}

}  // namespace loadcalc::ui
