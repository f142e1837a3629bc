#include "ui/calculator/form1.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrinter>
#include <limits>

#include "calc/calculations.h"
#include "calc/fields.h"
#include "calc/number.h"
#include "calc/startup.h"
#include "checks/checks.h"
#include "form/key_filter.h"
#include "form/layout.h"
#include "form/wiring.h"
#include "ui/calculator/accessibility.h"
#include "ui/calculator/sketch_view.h"
#include "ui/calculator/typed_code.h"
#include "ui/icon.h"
#include "ui/message_box.h"
#include "ui/qt_text.h"

namespace loadcalc::ui {

using namespace form;

namespace {

constexpr std::string_view credit = "loadcalc 开发组编制";

QRect pixel_rect(const Control& c) {
  return {to_pixels(c.left), to_pixels(c.top), to_pixels(c.width), to_pixels(c.height)};
}

// The sheet counts characters (code points); QString counts UTF-16 units.
int utf16_offset(const QString& text, std::size_t chars) {
  qsizetype pos = 0;
  for (std::size_t n = 0; n < chars && pos < text.size(); ++n)
    pos += (text.at(pos).isHighSurrogate() && pos + 1 < text.size() &&
            text.at(pos + 1).isLowSurrogate())
               ? 2
               : 1;
  return static_cast<int>(pos);
}

// Coming back to the window, or out of a context menu, is not an arrival in the field: the
// selection the user left stays.
bool is_arrival(Qt::FocusReason reason) {
  return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

}  // namespace

Form1::Form1(QWidget* parent) : QWidget(parent) {
  install_accessibility();
  build();
  wire();
  setWindowTitle(qstring(program_title) + u' ' + qstring(credit) + QStringLiteral("       V") +
                 QStringLiteral(LOADCALC_BUILD_DATE));
  // A window shows the application's icon; one built without configure_application still has it.
  if (QGuiApplication::windowIcon().isNull()) setWindowIcon(app_icon());
  resize(to_pixels(client_width_twips), to_pixels(client_height_twips));
}

Form1::~Form1() {
  // Children outlive this part of the object; keep their last events away from it.
  for (QLineEdit* e : fields_) {
    e->removeEventFilter(this);
    e->disconnect(this);
  }
}

void Form1::build() {
  for (const Control& c : reading_order()) {
    QWidget* container = this;
    if (c.container != "Form1")
      container = findChild<QWidget*>(qstring(c.container), Qt::FindDirectChildrenOnly);
    Q_ASSERT(container);
    QWidget* w = nullptr;
    switch (c.kind) {
      case ControlKind::frame:
        w = new QGroupBox(qstring(c.text), container);
        break;
      case ControlKind::label:
      case ControlKind::result_label: {
        // Until start-up writes a result, a result label shows its own name.
        const bool result = c.kind == ControlKind::result_label;
        auto* label = new QLabel(qstring(result ? c.name : c.text), container);
        label->setTextFormat(Qt::PlainText);
        // Caption on the first line, level with the fields beside it, whatever the label's height.
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        if (result) {
          for (const CalculationInfo& r : calculations)
            if (r.name == c.name) results_[index_of(r.label)] = label;
        }
        w = label;
        break;
      }
      case ControlKind::text_field: {
        const Field f = *c.field;
        auto* edit = new QLineEdit(qstring(field_info(f).initial_text), container);
        edit->setMaxLength(std::numeric_limits<int>::max());
        edit->setAccessibleName(qstring(accessible_name(f)));
        fields_[index_of(f)] = edit;
        w = edit;
        break;
      }
      case ControlKind::picture_box:
        picture_ = new SketchView(container);
        picture_->setFocusPolicy(Qt::TabFocus);
        picture_->setAccessibleName(qstring(control_named(c.container)->text));
        picture_->setAccessibleDescription(sketch_description());
        w = picture_;
        break;
    }
    w->setObjectName(qstring(c.name));
    w->setGeometry(pixel_rect(c));
  }
  for (const CalculationInfo& r : calculations) attach_working(r.label);
  attach_book_actions();
  attach_print_shortcut();
  attach_field_aids();
  for (QLabel* label : results_) name_result(label);
  // A field's own label is its label for a screen reader too; the first field where it names two.
  for (const Control& c : controls)
    if (c.kind == ControlKind::label && c.field)
      findChild<QLabel*>(qstring(c.name))->setBuddy(field(*c.field));
}

void Form1::name_result(QLabel* label) {
  // Heard as what the figure is, then the figure; a changed name is what makes a screen reader
  // notice that the result changed.
  const QString name =
      static_cast<const QGroupBox*>(label->parentWidget())->title() + u' ' + label->text();
  if (label->accessibleName() != name) label->setAccessibleName(name);
}

void Form1::wire() {
  for (std::size_t i = 0; i < field_count; ++i) {
    const Field f = field_at(i);
    QLineEdit* e = fields_[i];
    e->installEventFilter(this);
    // textChanged rather than textEdited: writes by the checks themselves must run the check
    // too. The signal's argument may already be stale when a nested write came first.
    connect(e, &QLineEdit::textChanged, this, [this, f] { change_check(*this, f); });
  }
  const auto chain = focus_chain();
  for (std::size_t i = 0; i + 1 < chain.size(); ++i)
    setTabOrder(findChild<QWidget*>(qstring(chain[i])), findChild<QWidget*>(qstring(chain[i + 1])));
}

std::string Form1::text(Field f) const {
  return field(f)->text().toStdString();
}

void Form1::set_text(Field f, std::string_view text) {
  QLineEdit* e = field(f);
  const QString t = qstring(text);
  // QLineEdit would stay silent too, but would still move the caret and drop the selection.
  if (e->text() == t) return;
  e->setText(t);
}

void Form1::set_caption(ResultLabel l, std::string_view caption) {
  result(l)->setText(qstring(caption));
  name_result(result(l));
  working_changed(result(l));
}

void Form1::set_selection(Field f, Selection s) {
  QLineEdit* e = field(f);
  const QString t = e->text();
  const int start = utf16_offset(t, s.start);
  e->setSelection(start, utf16_offset(t, s.start + s.length) - start);
}

void Form1::set_tooltip(std::string_view text) {
  picture_->setToolTip(qstring(text));
}

void Form1::show_message(std::string_view prompt, std::string_view title) {
  QMessageBox box(QMessageBox::Information, qstring(title), qstring(prompt), QMessageBox::Ok, this);
  // A check's message may quote what was typed.
  box.setTextFormat(Qt::PlainText);
  fit_title(box);
  box.exec();
}

void Form1::beep() {
  QApplication::beep();
}

void Form1::setVisible(bool visible) {
  if (visible && !loaded_) {
    loaded_ = true;
    Form_Load(*this);
    field(Field::Text1)->setFocus();
  }
  QWidget::setVisible(visible);
}

std::optional<Field> Form1::field_of(const QObject* watched) const {
  for (std::size_t i = 0; i < field_count; ++i)
    if (fields_[i] == watched) return field_at(i);
  return std::nullopt;
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
  const std::optional<Field> f = field_of(watched);
  if (!f) return QWidget::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::KeyPress:
      if (is_menu_shortcut(static_cast<const QKeyEvent&>(*event))) {
        open_field_menu(*f, QContextMenuEvent(QContextMenuEvent::Keyboard, QPoint(), QPoint()));
        return true;
      }
      return key_press(*f, static_cast<QKeyEvent&>(*event));
    case QEvent::ContextMenu:
      open_field_menu(*f, static_cast<const QContextMenuEvent&>(*event));
      return true;
    case QEvent::FocusIn:
      got_focus(*f, static_cast<const QFocusEvent&>(*event));
      break;
    case QEvent::FocusOut:
      clicked_into_.reset();
      break;
    case QEvent::MouseButtonRelease:
      // A drag that selected part of the text keeps that part.
      if (clicked_into_ == f && !field(*f)->hasSelectedText()) select_all(*this, *f);
      clicked_into_.reset();
      break;
    default:
      break;
  }
  return false;
}

bool Form1::key_press(Field f, QKeyEvent& event) {
  const std::optional<char32_t> code = typed_code(event);
  if (!code) return false;
  const char32_t k = key_filter(*code);
  if (k == 0) {
    event.accept();
    return true;
  }
  if (k == enter_code) {
    run_calculation(*this, field_info(f).feeds);
    event.accept();
    return true;
  }
  return false;
}

void Form1::got_focus(Field f, const QFocusEvent& event) {
  if (!is_arrival(event.reason())) return;
  select_all(*this, f);
  if (event.reason() == Qt::MouseFocusReason) clicked_into_ = f;
}

}  // namespace loadcalc::ui
