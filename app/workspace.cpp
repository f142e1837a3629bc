#include "app/workspace.h"

#include <QCloseEvent>
#include <utility>

#include "ui/book/book_dialogs.h"
#include "ui/book/book_document.h"
#include "ui/book/book_window.h"
#include "ui/calculator/form1.h"

namespace loadcalc::app {

Workspace::Workspace(ui::Form1& calculator) : QObject(&calculator), calculator_(calculator) {
  calculator_.installEventFilter(this);
  connect(&calculator_, &ui::Form1::addToBookRequested, this,
          [this](Calculation c) { book_window()->add_from_calculator(c); });
}

ui::BookWindow* Workspace::book_window(bool create) {
  auto* window = calculator_.findChild<ui::BookWindow*>(QString(), Qt::FindDirectChildrenOnly);
  if (!window && create) window = new ui::BookWindow(calculator_, &calculator_);
  return window;
}

QString Workspace::open_book(const QString& path) {
  ui::BookWindow* window = book_window();
  window->show();
  window->raise();
  return path.isEmpty() ? QString() : window->document().open(path);
}

void Workspace::offer_recovery() {
  ui::BookDialogs dialogs(&calculator_);
  auto recovered =
      ui::BookDocument::take_recovery(ui::BookDocument::default_recovery_folder(), dialogs);
  if (!recovered) return;
  ui::BookWindow* window = book_window();
  window->document().adopt(std::move(*recovered));
  window->show();
}

bool Workspace::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &calculator_ && event->type() == QEvent::Close) {
    ui::BookWindow* window = book_window(false);
    if (window && !window->close()) {
      event->ignore();
      return true;
    }
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace loadcalc::app
