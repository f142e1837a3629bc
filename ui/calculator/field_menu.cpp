// A field's context menu: Qt's edit actions, the field's own aid where it has one, then the
// actions of the result the field feeds, so that copying or printing a result is one key away
// from wherever the focus is (results take no focus of their own).
#include <QAction>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <array>
#include <string_view>

#include "calc/fields.h"
#include "ui/assumption_editors.h"
#include "ui/calculator/figure_dialogs.h"
#include "ui/calculator/form1.h"
#include "ui/qt_text.h"

namespace loadcalc::ui {

namespace {

// A figure worked out in a dialog instead of typed: which field offers which.
struct FieldAid {
  Field field;
  const char* name;  // the action's and the dialog's object name
  std::string_view text;
  FigureDialog* (*make)(QWidget* parent);
};

template <class Dialog>
FigureDialog* make_dialog(QWidget* parent) {
  return new Dialog(parent);
}

constexpr std::array field_aids{
    FieldAid{Field::Text6, "wallBuildUp", "按墙体构造计算…", make_dialog<WallBuildUpDialog>},
    FieldAid{Field::Text11, "openingType", "按门窗类型选取…", make_dialog<OpeningTypeDialog>},
};

}  // namespace

void Form1::attach_field_aids() {
  for (const FieldAid& aid : field_aids) {
    auto* action = new QAction(qstring(aid.text), field(aid.field));
    action->setObjectName(QString::fromLatin1(aid.name));
    field(aid.field)->addAction(action);
    connect(action, &QAction::triggered, this, [this, &aid] {
      // One dialog per aid for the window's lifetime: opened again, it shows what was entered.
      auto* dialog = findChild<FigureDialog*>(QString::fromLatin1(aid.name));
      if (!dialog) {
        dialog = aid.make(this);
        dialog->setObjectName(QString::fromLatin1(aid.name));
        connect(dialog, &QDialog::accepted, this,
                [this, &aid, dialog] { enter_figure(aid.field, field_figure(dialog->figure())); });
      }
      dialog->open();
    });
  }
}

void Form1::enter_figure(Field f, std::string_view text) {
  QLineEdit* e = field(f);
  const QString t = qstring(text);
  // As typing the same text over itself would: nothing to check.
  if (e->text() == t) return;
  // Over the whole text, as a paste over a selection: one change, checked like any other, and
  // one step for the field's undo.
  e->selectAll();
  e->insert(t);
}

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
  if (!field(f)->actions().isEmpty()) {
    menu->addActions(field(f)->actions());
    menu->addSeparator();
  }
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
