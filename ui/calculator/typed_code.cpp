#include "ui/calculator/typed_code.h"

#include "form/key_filter.h"

#include <QKeyEvent>

namespace loadcalc::ui {

namespace {

bool types_nothing(int key) {
  switch (key) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete:
    case Qt::Key_Insert:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
      return true;
    default:
      return key >= Qt::Key_F1 && key <= Qt::Key_F35;
  }
}

}  // namespace

std::optional<char32_t> typed_code(const QKeyEvent& event) noexcept {
  const int key = event.key();
  if (types_nothing(key)) return std::nullopt;
  // Some platforms attach text to these keys and some do not; the code must not depend on it.
  if (key == Qt::Key_Return || key == Qt::Key_Enter) return form::enter_code;
  if (key == Qt::Key_Backspace) return 8;
  if (key == Qt::Key_Escape) return 27;
  const Qt::KeyboardModifiers mods = event.modifiers();
  if ((mods & Qt::ControlModifier) && !(mods & (Qt::AltModifier | Qt::MetaModifier)) &&
      key >= Qt::Key_A && key <= Qt::Key_Z)
    return static_cast<char32_t>(key - Qt::Key_A + 1);
  const QString text = event.text();
  if (text.isEmpty()) return std::nullopt;
  // A character beyond the Basic Multilingual Plane is two UTF-16 units; a lone surrogate reads
  // as U+FFFD, which the filter discards as it does any other sign.
  return static_cast<char32_t>(text.toUcs4().front());
}

}  // namespace loadcalc::ui
