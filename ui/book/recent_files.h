#pragma once
// The books opened or saved last, newest first, kept in the user's settings from one start of the
// program to the next (and shared by copies of it running side by side).

#include <QString>
#include <QStringList>

namespace loadcalc::ui {

class RecentFiles {
 public:
  QStringList files() const;
  // `path` to the front; the oldest beyond the limit drops off.
  void add(const QString& path);

 private:
  static constexpr qsizetype limit = 8;
};

}  // namespace loadcalc::ui
