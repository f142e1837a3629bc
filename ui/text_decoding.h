#pragma once
// The text of a file that a spreadsheet or an editor saved, as UTF-8, its encoding found without
// asking: UTF-8 with or without a byte-order mark, UTF-16 with one (Excel's "Unicode text"), else
// GBK, what Excel and WPS on a Chinese Windows write for "CSV". GBK goes through the platform's
// converter: Qt's, which reaches ICU on Linux, and on Windows, where Qt is built without ICU, the
// system's code page 936.

#include <string>
#include <string_view>
#include <variant>

namespace loadcalc::ui {

struct DecodeError {
  std::string message;  // Chinese, for the user
};

// The text without its byte-order mark, or why it is none of these encodings.
std::variant<std::string, DecodeError> decode_text(std::string_view bytes);

}  // namespace loadcalc::ui
