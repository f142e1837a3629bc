#pragma once
// The book's summary for a spreadsheet.

#include <string>

#include "book/book.h"

namespace loadcalc {

// One row per entry, its texts and its evaluation: UTF-8 with a byte-order mark (Excel reads the
// Chinese then).
std::string summary_csv(const Book& book);

}  // namespace loadcalc
