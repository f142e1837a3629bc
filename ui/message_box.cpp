#include "ui/message_box.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>

namespace loadcalc::ui {

void fit_title(QMessageBox& box) {
  auto* grid = qobject_cast<QGridLayout*>(box.layout());
  if (!grid) return;
  // The title bar is the window manager's: its font is the application's at most a little
  // larger, and beside the text go the window's icon and its two or three buttons.
  QFont title_font = QApplication::font();
  title_font.setBold(true);
  constexpr int icon_and_buttons = 160;
  const int width =
      QFontMetrics(title_font).horizontalAdvance(box.windowTitle()) + icon_and_buttons;
  // The box lays itself out again when shown; a spacer across its grid holds it this wide.
  grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                grid->rowCount(), 0, 1, grid->columnCount());
}

void warn(QWidget* parent, const QString& title, const QString& text) {
  QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok, parent);
  box.setTextFormat(Qt::PlainText);
  fit_title(box);
  box.exec();
}

}  // namespace loadcalc::ui
