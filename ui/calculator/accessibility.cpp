#include "ui/calculator/accessibility.h"

#include <QAccessibleWidget>
#include <QGroupBox>
#include <QLabel>
#include <QString>

#include "calc/fields.h"
#include "form/sketch.h"
#include "ui/calculator/form1.h"
#include "ui/calculator/sketch_view.h"
#include "ui/qt_text.h"

namespace loadcalc::ui {

using namespace form;

namespace {

// Qt's own group-box interface names every control inside as labelled by the frame.
class FrameAccessible : public QAccessibleWidget {
 public:
  explicit FrameAccessible(QGroupBox* frame) : QAccessibleWidget(frame, QAccessible::Grouping) {}

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name) return static_cast<const QGroupBox*>(widget())->title();
    return QAccessibleWidget::text(t);
  }
};

// A result label: read as a static text named by its frame and figure, and described by its
// working, written afresh whenever it is read.
class ResultAccessible : public QAccessibleWidget {
 public:
  ResultAccessible(QLabel* label, const Form1& form, ResultLabel l)
      : QAccessibleWidget(label, QAccessible::StaticText), form_(form), label_(l) {}

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Description) return form_.working_plain(label_);
    return QAccessibleWidget::text(t);
  }

 private:
  const Form1& form_;
  ResultLabel label_;
};

QAccessibleInterface* result_interface(QLabel* label) {
  const auto* form = qobject_cast<const Form1*>(label->window());
  if (!form) return nullptr;
  for (const CalculationInfo& r : calculations)
    if (form->result(r.label) == label) return new ResultAccessible(label, *form, r.label);
  return nullptr;
}

QAccessibleInterface* window_interfaces(const QString& class_name, QObject* object) {
  if (!object || !object->isWidgetType()) return nullptr;
  auto* widget = static_cast<QWidget*>(object);
  if (class_name == QLatin1String(Form1::staticMetaObject.className()))
    return new QAccessibleWidget(widget, QAccessible::Window);
  if (class_name == QLatin1String(SketchView::staticMetaObject.className()))
    return new QAccessibleWidget(widget, QAccessible::Graphic);
  if (class_name == QLatin1String(QGroupBox::staticMetaObject.className()))
    return new FrameAccessible(static_cast<QGroupBox*>(widget));
  if (class_name == QLatin1String(QLabel::staticMetaObject.className()))
    return result_interface(static_cast<QLabel*>(widget));
  return nullptr;
}

// The labels of the dimensions that start between left and right, as a list: "窗宽、梁高…".
QString dimension_labels(int left, int right) {
  QString list;
  for (const sketch::Dimension& d : sketch::dimensions) {
    if (d.from.x < left || d.from.x >= right) continue;
    if (!list.isEmpty()) list += u'、';
    list += qstring(d.label);
  }
  return list;
}

}  // namespace

void install_accessibility() {
  static const bool installed = [] {
    QAccessible::installFactory(window_interfaces);
    return true;
  }();
  (void)installed;
}

void describe_by_working(QLabel* result) {
  // Qt may have made the label's interface while the window was being built, before the label
  // was known as a result: forget it, so that the next reader's query comes here.
  if (QAccessibleInterface* made = QAccessible::queryAccessibleInterface(result))
    QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
}

void working_changed(QLabel* result) {
  if (!QAccessible::isActive()) return;
  QAccessibleEvent event(result, QAccessible::DescriptionChanged);
  QAccessible::updateAccessibility(&event);
}

QString sketch_description() {
  // The note's raised "2" is the square of square metres.
  const QString note =
      qstring(sketch::note.text) +
      (sketch::note.raised == "2" ? QStringLiteral("²") : qstring(sketch::note.raised));
  QString text;
  int left = 0;
  for (const sketch::Part& part : sketch::parts) {
    if (!text.isEmpty()) text += u'。';
    text += qstring(part.drawing) + QStringLiteral("；标注") + dimension_labels(left, part.right);
    left = part.right;
  }
  return text + QStringLiteral("；注明“") + note + QStringLiteral("”。");
}

}  // namespace loadcalc::ui
