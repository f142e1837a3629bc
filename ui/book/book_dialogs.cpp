#include "ui/book/book_dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include "ui/message_box.h"

namespace loadcalc::ui {

namespace {

// As the user's clock reads it, to the second.
QString local_time(const QDateTime& t) {
  return t.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

}  // namespace

BookPrompts::Unsaved BookDialogs::ask_unsaved(const QString& name) {
  QMessageBox box(QMessageBox::Warning, QStringLiteral("计算书"),
                  QStringLiteral("计算书“%1”有未保存的修改，是否保存？").arg(name),
                  QMessageBox::NoButton, parent_);
  box.setTextFormat(Qt::PlainText);  // the name is the user's: never read as HTML
  QPushButton* save = box.addButton(QStringLiteral("保存"), QMessageBox::AcceptRole);
  QPushButton* discard = box.addButton(QStringLiteral("不保存"), QMessageBox::DestructiveRole);
  QPushButton* cancel = box.addButton(QStringLiteral("取消"), QMessageBox::RejectRole);
  box.setDefaultButton(save);
  box.setEscapeButton(cancel);
  fit_title(box);
  box.exec();
  if (box.clickedButton() == save) return Unsaved::save;
  return box.clickedButton() == discard ? Unsaved::discard : Unsaved::cancel;
}

QString BookDialogs::ask_save_path(const QString& suggested) {
  return QFileDialog::getSaveFileName(parent_, QStringLiteral("另存为"), suggested,
                                      QStringLiteral("计算书 (*.lcbook)"));
}

void BookDialogs::warn(const QString& title, const QString& message) {
  ui::warn(parent_, title, message);
}

bool BookDialogs::ask_recover(const QString& name, std::size_t entries) {
  QMessageBox box(
      QMessageBox::Question, QStringLiteral("恢复计算书"),
      QStringLiteral("上次关闭程序时，计算书“%1”有未保存的修改（%2 条计算）。是否恢复？")
          .arg(name, QString::number(entries)),
      QMessageBox::NoButton, parent_);
  box.setTextFormat(Qt::PlainText);
  QPushButton* restore = box.addButton(QStringLiteral("恢复"), QMessageBox::AcceptRole);
  box.addButton(QStringLiteral("放弃"), QMessageBox::DestructiveRole);
  box.setDefaultButton(restore);
  fit_title(box);
  box.exec();
  return box.clickedButton() == restore;
}

BookPrompts::InUse BookDialogs::ask_in_use(const QString& name, const BookHolder& holder) {
  QMessageBox box(QMessageBox::Warning, QStringLiteral("打开计算书"),
                  QStringLiteral("计算书“%1”已由 %2 在 %3 上打开（%4 起）。是否以只读方式打开？")
                      .arg(name, holder.user, holder.host, local_time(holder.since)),
                  QMessageBox::NoButton, parent_);
  box.setTextFormat(Qt::PlainText);
  QPushButton* read_only = box.addButton(QStringLiteral("只读打开"), QMessageBox::AcceptRole);
  QPushButton* anyway = box.addButton(QStringLiteral("仍然打开"), QMessageBox::DestructiveRole);
  QPushButton* cancel = box.addButton(QStringLiteral("取消"), QMessageBox::RejectRole);
  box.setDefaultButton(read_only);
  box.setEscapeButton(cancel);
  box.exec();
  if (box.clickedButton() == read_only) return InUse::read_only;
  return box.clickedButton() == anyway ? InUse::open_anyway : InUse::cancel;
}

BookPrompts::Changed BookDialogs::ask_changed_on_disk(const QString& path,
                                                      const QDateTime& modified) {
  QMessageBox box(QMessageBox::Warning, QStringLiteral("保存计算书"),
                  QStringLiteral("文件“%1”在打开或上次保存之后已被修改（%2）。覆盖将丢失那些修改。")
                      .arg(QDir::toNativeSeparators(path), local_time(modified)),
                  QMessageBox::NoButton, parent_);
  box.setTextFormat(Qt::PlainText);
  QPushButton* overwrite = box.addButton(QStringLiteral("覆盖"), QMessageBox::DestructiveRole);
  QPushButton* save_as = box.addButton(QStringLiteral("另存为…"), QMessageBox::AcceptRole);
  QPushButton* cancel = box.addButton(QStringLiteral("取消"), QMessageBox::RejectRole);
  box.setDefaultButton(save_as);
  box.setEscapeButton(cancel);
  box.exec();
  if (box.clickedButton() == overwrite) return Changed::overwrite;
  return box.clickedButton() == save_as ? Changed::save_as : Changed::cancel;
}

bool BookDialogs::ask_overwrite_calculator(const QString& kind, const QString& member) {
  QMessageBox box(QMessageBox::Question, QStringLiteral("在计算器中打开"),
                  QStringLiteral("计算器中的%1输入不在计算书的任何条目中。打开“%2”将覆盖它们。"
                                 "是否打开？")
                      .arg(kind, member),
                  QMessageBox::NoButton, parent_);
  box.setTextFormat(Qt::PlainText);
  QPushButton* open = box.addButton(QStringLiteral("打开"), QMessageBox::AcceptRole);
  QPushButton* cancel = box.addButton(QStringLiteral("取消"), QMessageBox::RejectRole);
  // Typed work is what the question guards: keeping it is the answer a stray Enter gives.
  box.setDefaultButton(cancel);
  box.setEscapeButton(cancel);
  fit_title(box);
  box.exec();
  return box.clickedButton() == open;
}

bool BookDialogs::ask_open_unshown(const QString& member, const QStringList& unshown) {
  QMessageBox box(
      QMessageBox::Question, QStringLiteral("在计算器中打开"),
      QStringLiteral("“%1”的计算假定，计算器不能全部显示：\n%2\n计算器中的结果将与计算书"
                     "不同。是否仍然打开？")
          .arg(member, QStringLiteral("· ") + unshown.join(QStringLiteral("\n· "))),
      QMessageBox::NoButton, parent_);
  box.setTextFormat(Qt::PlainText);
  QPushButton* open = box.addButton(QStringLiteral("打开"), QMessageBox::AcceptRole);
  QPushButton* cancel = box.addButton(QStringLiteral("取消"), QMessageBox::RejectRole);
  box.setDefaultButton(open);
  box.setEscapeButton(cancel);
  fit_title(box);
  box.exec();
  return box.clickedButton() == open;
}

}  // namespace loadcalc::ui
