#pragma once
// The calculation sheet (计算书) as an engineer files it: one A4 page per sheet with a header to
// name the project and the member, the inputs, each calculation's working and result, and a
// footer to sign. Written as HTML from the fields' texts alone, so that the window, a calculation
// book and a web page print the same sheet.

#include <array>
#include <span>
#include <string>

#include "calc/assumptions.h"
#include "calc/fields.h"
#include "calc/project.h"
#include "calc/sheet.h"

namespace loadcalc {

struct SheetHeader {
  std::string title;  // above the header, "…计算书"; "计算书" alone when empty
  // Its name and the date of the calculation ("2026-12-08") head the page; its signers sign the
  // footer, whose 日期 is the project's when it has one and otherwise left to write by hand.
  Project project;
  std::string member;       // 构件 / 部位
  std::string program;      // program and version, "loadcalc 1.0.0"
  int page = 1, pages = 1;  // "第 1 页 共 1 页"
  // The signatures under the results; a book that signs at the foot of every page leaves them out.
  bool signatures = true;
};

// The sheet as a fragment of a larger document, without its page line (a book that flows into a
// word processor lets it number the pages): the title, the header, the inputs of the calculations
// shown (as entered), their workings in the given order, their results, and the signatures. An
// empty header field prints as a blank cell to fill in by hand. Texts are escaped; the HTML is the
// subset QTextDocument lays out.
// With assumptions (a book's entry), the inputs leave out the fields they replace, the wall's
// build-up and the openings' table follow the inputs, and the workings take the stated figures
// and name their sources; with none, the calculator's sheet.
std::string sheet_fragment(const SheetHeader& header,
                           const std::array<std::string, field_count>& texts,
                           std::span<const Calculation> calculations,
                           const Assumptions& assumptions = {});

// One page: the fragment and its page line, as a whole HTML document.
std::string sheet_html(const SheetHeader& header, const std::array<std::string, field_count>& texts,
                       std::span<const Calculation> calculations,
                       const Assumptions& assumptions = {});

}  // namespace loadcalc
