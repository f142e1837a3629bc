#pragma once
// Which typed characters a field accepts: digits, the decimal point and control characters.

#include <cstdint>

namespace loadcalc::form {

// Hands back the code to let the character through, or 0 to discard the keystroke. Codes are
// signed 16-bit, so any UTF-16 unit from U+8000 up arrives negative and passes: in a key event
// U+9F8D and the full-width digits get through while U+4E2D is dropped. An input method's text
// never comes here; it is committed through QInputMethodEvent, and the change check judges it.
constexpr std::int16_t key_filter(std::int16_t code) noexcept {
  if (code >= 58) code = 0;
  if (code >= 32 && code <= 45) code = 0;
  if (code == 47) code = 0;
  return code;
}

inline constexpr std::int16_t enter_code = 13;

}  // namespace loadcalc::form
