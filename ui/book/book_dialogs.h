#pragma once
// The book document's questions as the program asks them: message boxes and a file dialog over a
// window (the book window, or the calculator at start-up, before there is a book window).

#include "ui/book/book_document.h"

class QWidget;

namespace loadcalc::ui {

class BookDialogs : public BookPrompts {
 public:
  explicit BookDialogs(QWidget* parent) : parent_(parent) {}

  Unsaved ask_unsaved(const QString& name) override;
  QString ask_save_path(const QString& suggested) override;
  void warn(const QString& title, const QString& message) override;
  bool ask_recover(const QString& name, std::size_t entries) override;
  InUse ask_in_use(const QString& name, const BookHolder& holder) override;
  Changed ask_changed_on_disk(const QString& path, const QDateTime& modified) override;
  // Before an entry goes into the calculator over texts of `kind` that no entry holds: true to go
  // on (打开), false to keep them (取消).
  bool ask_overwrite_calculator(const QString& kind, const QString& member);
  // 打开 · 取消 for the entry called `member`, of which the calculator cannot show `unshown`.
  bool ask_open_unshown(const QString& member, const QStringList& unshown);

 private:
  QWidget* parent_;
};

}  // namespace loadcalc::ui
