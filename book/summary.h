#pragma once
// The book's summary for a spreadsheet.

#include <array>
#include <string>
#include <string_view>

#include "book/book.h"
#include "book/evaluate.h"

namespace loadcalc {

// One row per entry, its texts and its evaluation: UTF-8 with a byte-order mark (Excel reads the
// Chinese then).
std::string summary_csv(const Book& book);

// The two columns after 单位 that say what a beam's line load was computed with, as the summary
// and the workbook head them: the wall's weight per m² used (typed, or its layers' sum) and the
// openings' total area. Empty cells for a stair or a refused entry.
inline constexpr std::string_view wall_weight_heading = "墙自重取值(kN/m²)";
inline constexpr std::string_view opening_area_heading = "洞口总面积(m²)";
// Their figures, rounded as a result is (three decimals, no trailing zeros); empty for none.
std::array<std::string, 2> wall_cells(const Entry& entry, const EntryResult& r);

}  // namespace loadcalc
