#pragma once
// A key press as the key filter sees it: the character code the field's key reaction receives.

#include <cstdint>
#include <optional>

class QKeyEvent;

namespace loadcalc::ui {

// The character code a key press hands to the filter: the first UTF-16 unit of its text taken as
// signed 16-bit, with Ctrl+letter as its control code whatever text the platform attached. None
// for keys that type no character (arrows, Home/End, Delete, Tab, function keys, bare modifiers).
std::optional<std::int16_t> typed_code(const QKeyEvent& event) noexcept;

}  // namespace loadcalc::ui
