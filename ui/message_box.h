#pragma once
// Message boxes as every window of the program shows them.

#include <QString>

class QMessageBox;
class QWidget;

namespace loadcalc::ui {

// Qt sizes a message box to its text and buttons, not its title: a short message under a long
// title such as “恢复计算书” would show the title cut off. Widens `box` so that the whole title
// fits beside the window's icon and buttons. Called on every box before it is shown.
void fit_title(QMessageBox& box);

// A warning with its one 确定 button; the text as plain text, whatever the user typed into it.
void warn(QWidget* parent, const QString& title, const QString& text);

}  // namespace loadcalc::ui
