#pragma once

#include <string_view>

#include "calc/sheet.h"

namespace loadcalc {

// The program's name: the window's title and, with "书", the printed sheet's.
inline constexpr std::string_view program_title = "框架梁均布线荷载及楼梯折算恒荷载计算";

// Two credit lines, each ended by a line feed.
inline constexpr std::string_view tooltip_text =
    "框架梁均布线荷载及楼梯折算恒荷载计算\n编制：loadcalc 开发组\n";

// Start-up: writes the defaults in field order (each write runs the field's change reaction),
// selects Text1, sets the sketch's tooltip and runs every calculation in table order.
void Form_Load(Sheet& sheet);

}  // namespace loadcalc
