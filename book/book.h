#pragma once
// The calculation book: a project's header and an ordered list of named entries, each holding the
// texts of one calculation's fields exactly as typed. An entry's result is never stored: it is
// computed from its texts, through the window's checks and formulas, whenever it is asked for
// (evaluate.h). The book's file is file.h, its recovery copy recovery.h, its summary for a
// spreadsheet summary.h. No toolkit: the file's JSON library is the one thing beyond the standard
// library.

#include <map>
#include <string>
#include <vector>

#include "calc/assumptions.h"
#include "calc/project.h"
#include "calc/sheet.h"

namespace loadcalc {

struct Entry {
  std::string name;  // the member, e.g. "KL3 ③~④轴"
  // Its kind is the calculation it files (the calculation table says what the book calls it).
  Calculation kind = Calculation::MainProgram_1;
  // Exactly the fields the calculation reads, each text as typed, but for those its assumptions
  // replace (`replaces`): it holds no text for them.
  std::map<Field, std::string> texts;
  std::string note;
  // What it states in place of bare figures (the wall's layers, the openings, the stair's
  // materials); nothing for an entry as the calculator files it.
  Assumptions assumptions;

  friend bool operator==(const Entry&, const Entry&) = default;
};

struct Book {
  Project project;
  std::vector<Entry> entries;

  friend bool operator==(const Book&, const Book&) = default;
};

// An entry of the given kind holding the sheet's current texts of that calculation's fields.
Entry entry_from_sheet(const Sheet& sheet, Calculation kind, std::string name);

}  // namespace loadcalc
