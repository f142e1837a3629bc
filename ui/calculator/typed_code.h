#pragma once
// A key press as the key filter sees it: the character code the field's key reaction receives.

#include <optional>

class QKeyEvent;

namespace loadcalc::ui {

// The character code a key press hands to the filter: the code point of the first character of its
// text, with Ctrl+letter as its control code whatever text the platform attached. None for keys
// that type no character (arrows, Home/End, Delete, Tab, function keys, bare modifiers).
std::optional<char32_t> typed_code(const QKeyEvent& event) noexcept;

}  // namespace loadcalc::ui
