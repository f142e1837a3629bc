#pragma once
// Which typed characters a field accepts: digits, the decimal point and control characters.

namespace loadcalc::form {

// Takes a character's code point and hands it back to let the character through, or 0 to discard
// the keystroke. Of ASCII, digits, "." and the control characters pass. Beyond ASCII only what a
// Chinese input method types for them passes: the full-width digits "０" to "９" and the full-width
// point "．", which the change check reads as digits and a point; every other character, the
// ideographs and the full-width signs included, is discarded. An input method's composed text
// never comes here: it is committed as a whole, and the change check judges it.
constexpr char32_t key_filter(char32_t code) noexcept {
  if (code > 127) return (code >= U'０' && code <= U'９') || code == U'．' ? code : 0;
  if (code >= 58) code = 0;
  if (code >= 32 && code <= 45) code = 0;
  if (code == 47) code = 0;
  return code;
}

inline constexpr char32_t enter_code = 13;

}  // namespace loadcalc::form
