#pragma once
// The user's answer to the book window's next question, given before the fixture's watcher
// would dismiss it: the button called `answer` on a message box, or `answer` typed into an input
// dialog (an empty answer cancels it). Keeps what the question said.
#include <QAbstractButton>
#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QTimer>
#include <utility>

namespace loadcalc::test {

class Answer : public QObject {
 public:
  explicit Answer(QString answer) : answer_(std::move(answer)) { qApp->installEventFilter(this); }
  QString said;

  bool eventFilter(QObject* o, QEvent* e) override {
    if (auto* ask = qobject_cast<QInputDialog*>(o); ask && e->type() == QEvent::Show)
      QTimer::singleShot(0, this, [this, ask] {
        said = ask->textValue();
        answer_.isEmpty() ? ask->reject() : (ask->setTextValue(answer_), ask->accept());
      });
    auto* box = qobject_cast<QMessageBox*>(o);
    if (e->type() == QEvent::Show && box && said.isEmpty())
      QTimer::singleShot(0, this, [this, box] {
        said = box->text();
        for (QAbstractButton* b : box->buttons())
          if (b->text() == answer_) b->click();
      });
    return false;
  }

 private:
  QString answer_;
};

}  // namespace loadcalc::test
