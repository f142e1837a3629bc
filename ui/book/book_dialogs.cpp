#include "ui/book/book_dialogs.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace loadcalc::ui {

BookPrompts::Unsaved BookDialogs::ask_unsaved(const QString& name) {
  QMessageBox box(QMessageBox::Warning, QStringLiteral("计算书"),
                  QStringLiteral("计算书“%1”有未保存的修改，是否保存？").arg(name),
                  QMessageBox::NoButton, parent_);
  QPushButton* save = box.addButton(QStringLiteral("保存"), QMessageBox::AcceptRole);
  QPushButton* discard = box.addButton(QStringLiteral("不保存"), QMessageBox::DestructiveRole);
  QPushButton* cancel = box.addButton(QStringLiteral("取消"), QMessageBox::RejectRole);
  box.setDefaultButton(save);
  box.setEscapeButton(cancel);
  box.exec();
  if (box.clickedButton() == save) return Unsaved::save;
  return box.clickedButton() == discard ? Unsaved::discard : Unsaved::cancel;
}

QString BookDialogs::ask_save_path(const QString& suggested) {
  return QFileDialog::getSaveFileName(parent_, QStringLiteral("另存为"), suggested,
                                      QStringLiteral("计算书 (*.lcbook)"));
}

void BookDialogs::warn(const QString& title, const QString& message) {
  QMessageBox::warning(parent_, title, message);
}

bool BookDialogs::ask_recover(const QString& name, std::size_t entries) {
  QMessageBox box(
      QMessageBox::Question, QStringLiteral("恢复计算书"),
      QStringLiteral("上次关闭程序时，计算书“%1”有未保存的修改（%2 条计算）。是否恢复？")
          .arg(name, QString::number(entries)),
      QMessageBox::NoButton, parent_);
  QPushButton* restore = box.addButton(QStringLiteral("恢复"), QMessageBox::AcceptRole);
  box.addButton(QStringLiteral("放弃"), QMessageBox::DestructiveRole);
  box.setDefaultButton(restore);
  box.exec();
  return box.clickedButton() == restore;
}

}  // namespace loadcalc::ui
