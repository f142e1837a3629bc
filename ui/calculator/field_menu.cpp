// A field's context menu: Qt's edit actions, then the actions of the result the field feeds, so
// that copying or printing a result is one key away from wherever the focus is (results take no
// focus of their own).
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>

#include "calc/fields.h"
#include "ui/calculator/form1.h"

namespace loadcalc::ui {

bool Form1::is_menu_shortcut(const QKeyEvent& event) {
#ifdef Q_OS_WIN
  // Windows turns Shift+F10 into a context-menu event of its own; opening it here as well would
  // show the menu twice.
  (void)event;
  return false;
#else
  return event.key() == Qt::Key_F10 &&
         (event.modifiers() & ~Qt::KeypadModifier) == Qt::ShiftModifier;
#endif
}

QMenu* Form1::field_menu(Field f) const {
  QMenu* menu = field(f)->createStandardContextMenu();
  menu->addSeparator();
  menu->addActions(result(result_label(field_info(f).feeds))->actions());
  return menu;
}

void Form1::open_field_menu(Field f, const QContextMenuEvent& event) {
  QLineEdit* edit = field(f);
  QPoint at = event.globalPos();
  // From the keyboard, under the caret rather than wherever the mouse happens to rest.
  if (event.reason() == QContextMenuEvent::Keyboard)
    at = edit->mapToGlobal(edit->inputMethodQuery(Qt::ImCursorRectangle).toRect().bottomLeft());
  QMenu* menu = field_menu(f);
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->popup(at);
}

}  // namespace loadcalc::ui
