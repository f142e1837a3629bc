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

// The labels of the dimensions on one side of the sketch, as a list: "窗宽、梁高…".
QString dimension_labels(bool left_part) {
  QString list;
  for (const sketch::Dimension& d : sketch::dimensions) {
    if ((d.from.x < sketch::width / 2) != left_part) continue;
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
  return QStringLiteral(
             "左图：框架梁下的填充墙立面，墙上开一个窗洞，洞内有窗框，两侧为轴线；标注") +
         dimension_labels(true) +
         QStringLiteral("。右图：楼梯梯段剖面，三级踏步，上有面层，板底有粉刷层；标注") +
         dimension_labels(false) + QStringLiteral("；注明“") + note + QStringLiteral("”。");
}

}  // namespace loadcalc::ui
