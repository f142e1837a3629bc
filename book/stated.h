#pragma once
// An entry's assumptions as the user changes them, and as the calculator can show them.
//
// The calculator holds thirteen texts and its fixed figures; an entry may state more (a wall's
// layers, several openings, a stair's own materials). These two functions keep the two in step:
// stating or dropping an assumption keeps the entry's texts exactly those its calculation reads,
// and opening an entry into the calculator says what the calculator cannot show of it.

#include <map>
#include <string>
#include <vector>

#include "book/book.h"

namespace loadcalc {

// The entry with `assumptions` in place of its own. A field the new assumptions replace loses
// its text; a field they no longer replace gets one back: the wall's weight as the dropped
// layers sum it, the dropped opening's texts when there was exactly one of count 1, else the
// field's start-up text.
Entry restated(Entry entry, Assumptions assumptions);

// What the calculator shows of an entry: a text for each of its kind's fields, and what it
// cannot show, one line each ("共 3 个洞口，计算器只显示第 1 个"), none when it shows all.
struct CalculatorView {
  std::map<Field, std::string> texts;
  std::vector<std::string> unshown;
};
CalculatorView calculator_view(const Entry& entry);

// The entry with the calculator's texts of its fields taken back (更新条目). Stated layers or
// openings stay while the calculator still shows what calculator_view gave it for them; a field
// the user changed there takes its text and drops what replaced it.
Entry taken_back(const Entry& entry, const std::map<Field, std::string>& calculator_texts);

}  // namespace loadcalc
