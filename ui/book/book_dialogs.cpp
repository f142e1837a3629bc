#include "ui/book/book_dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <algorithm>
#include <array>
#include <initializer_list>
#include <vector>

#include "ui/message_box.h"

namespace loadcalc::ui {

namespace {

// As the user's clock reads it, to the second.
QString local_time(const QDateTime& t) {
  return t.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

// A question with its buttons in order. A last button of the reject role is Esc's; the last is
// also what closing the box gives. The index of the button pressed. The text is the user's names
// and paths: never read as HTML.
struct Choice {
  QString text;
  QMessageBox::ButtonRole role;
};
int choose(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text,
           std::initializer_list<Choice> choices, int preferred) {
  QMessageBox box(icon, title, text, QMessageBox::NoButton, parent);
  box.setTextFormat(Qt::PlainText);
  std::vector<QPushButton*> buttons;
  for (const Choice& c : choices) buttons.push_back(box.addButton(c.text, c.role));
  box.setDefaultButton(buttons[static_cast<std::size_t>(preferred)]);
  // Without a reject button Esc does nothing: a recovered book is not thrown away by a stray key.
  if (choices.end()[-1].role == QMessageBox::RejectRole) box.setEscapeButton(buttons.back());
  fit_title(box);
  box.exec();
  const auto pressed = std::find(buttons.begin(), buttons.end(), box.clickedButton());
  return static_cast<int>((pressed == buttons.end() ? buttons.end() - 1 : pressed) -
                          buttons.begin());
}

}  // namespace

BookPrompts::Unsaved BookDialogs::ask_unsaved(const QString& name) {
  const int c = choose(parent_, QMessageBox::Warning, QStringLiteral("计算书"),
                       QStringLiteral("计算书“%1”有未保存的修改，是否保存？").arg(name),
                       {{QStringLiteral("保存"), QMessageBox::AcceptRole},
                        {QStringLiteral("不保存"), QMessageBox::DestructiveRole},
                        {QStringLiteral("取消"), QMessageBox::RejectRole}},
                       0);
  return std::array{Unsaved::save, Unsaved::discard, Unsaved::cancel}[c];
}

QString BookDialogs::ask_save_path(const QString& suggested) {
  return QFileDialog::getSaveFileName(parent_, QStringLiteral("另存为"), suggested,
                                      QStringLiteral("计算书 (*.lcbook)"));
}

void BookDialogs::warn(const QString& title, const QString& message) {
  ui::warn(parent_, title, message);
}

bool BookDialogs::ask_recover(const QString& name, std::size_t entries) {
  return choose(parent_, QMessageBox::Question, QStringLiteral("恢复计算书"),
                QStringLiteral("上次关闭程序时，计算书“%1”有未保存的修改（%2 条计算）。是否恢复？")
                    .arg(name, QString::number(entries)),
                {{QStringLiteral("恢复"), QMessageBox::AcceptRole},
                 {QStringLiteral("放弃"), QMessageBox::DestructiveRole}},
                0) == 0;
}

BookPrompts::InUse BookDialogs::ask_in_use(const QString& name, const BookHolder& holder) {
  const int c =
      choose(parent_, QMessageBox::Warning, QStringLiteral("打开计算书"),
             QStringLiteral("计算书“%1”已由 %2 在 %3 上打开（%4 起）。是否以只读方式打开？")
                 .arg(name, holder.user, holder.host, local_time(holder.since)),
             {{QStringLiteral("只读打开"), QMessageBox::AcceptRole},
              {QStringLiteral("仍然打开"), QMessageBox::DestructiveRole},
              {QStringLiteral("取消"), QMessageBox::RejectRole}},
             0);
  return std::array{InUse::read_only, InUse::open_anyway, InUse::cancel}[c];
}

BookPrompts::Changed BookDialogs::ask_changed_on_disk(const QString& path,
                                                      const QDateTime& modified) {
  const int c =
      choose(parent_, QMessageBox::Warning, QStringLiteral("保存计算书"),
             QStringLiteral("文件“%1”在打开或上次保存之后已被修改（%2）。覆盖将丢失那些修改。")
                 .arg(QDir::toNativeSeparators(path), local_time(modified)),
             {{QStringLiteral("覆盖"), QMessageBox::DestructiveRole},
              {QStringLiteral("另存为…"), QMessageBox::AcceptRole},
              {QStringLiteral("取消"), QMessageBox::RejectRole}},
             1);
  return std::array{Changed::overwrite, Changed::save_as, Changed::cancel}[c];
}

bool BookDialogs::ask_overwrite_calculator(const QString& kind, const QString& member) {
  // Typed work is what the question guards: keeping it is the answer a stray Enter gives.
  return choose(parent_, QMessageBox::Question, QStringLiteral("在计算器中打开"),
                QStringLiteral("计算器中的%1输入不在计算书的任何条目中。打开“%2”将覆盖它们。"
                               "是否打开？")
                    .arg(kind, member),
                {{QStringLiteral("打开"), QMessageBox::AcceptRole},
                 {QStringLiteral("取消"), QMessageBox::RejectRole}},
                1) == 0;
}

bool BookDialogs::ask_open_unshown(const QString& member, const QStringList& unshown) {
  return choose(parent_, QMessageBox::Question, QStringLiteral("在计算器中打开"),
                QStringLiteral("“%1”的计算假定，计算器不能全部显示：\n%2\n计算器中的结果将与"
                               "计算书不同。是否仍然打开？")
                    .arg(member, QStringLiteral("· ") + unshown.join(QStringLiteral("\n· "))),
                {{QStringLiteral("打开"), QMessageBox::AcceptRole},
                 {QStringLiteral("取消"), QMessageBox::RejectRole}},
                0) == 0;
}

}  // namespace loadcalc::ui
