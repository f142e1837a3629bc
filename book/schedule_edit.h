#pragma once
// A block of cells pasted into one kind's schedule, and the text a spreadsheet puts on the
// clipboard for such a block and takes from it. The schedule's columns are schedule_columns();
// its rows are that kind's entries in book order. Standard library only: the clipboard itself is
// the window's (ui/clipboard_cells.h).

#include <cstddef>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "book/book.h"
#include "book/file.h"

namespace loadcalc {

// Rows of cells, each cell's text as the spreadsheet held it.
using Cells = std::vector<std::vector<std::string>>;

struct PasteResult {
  std::vector<Entry> entries;  // the whole book's, in book order
  std::size_t changed = 0;     // entries that were there and now differ
  std::size_t added = 0;       // new entries, after the book's last one
};

// The book's entries with `cells` pasted into `kind`'s schedule at (row, column): row counts the
// kind's entries, column the schedule's columns.
//
// By position, the block's columns fill the schedule's from `column` on; cells that land on 序号,
// 结果 or 检查 or past the last column are left out. When the block's first row is a header (each
// of its cells that is not blank names a column as a schedule file's header does: "层高(m)",
// "层高", "storey_height", "构件", "备注"), the columns are matched by name instead, in any
// order, from the first column of `row` on; a heading that names an input of the other kind, or
// a column named twice, refuses the paste: "第 3 列：…".
//
// Rows past the kind's last one become new entries of the kind, appended after the book's last
// entry, named "梁 12" (the kind's member word and the next number no entry of the book is named
// with) unless a name is pasted, with the field table's default texts for inputs not pasted.
// Every pasted text is kept exactly as it was in the cell: the checks judge it, as they judge a
// typed one. A paste that would take the book past max_book_entries is refused whole.
std::variant<PasteResult, ReadError> paste_block(const Book& book, Calculation kind,
                                                 std::size_t row, std::size_t column,
                                                 const Cells& cells);

// The cells of a spreadsheet's clipboard text: tab-separated, rows ending in CR LF or LF, the
// last line break ending the last row rather than starting an empty one, a cell holding a tab, a
// line break or a quote written in quotes as Excel writes it. A quote left open is taken as the
// character it is.
Cells parse_tsv(std::string_view text);

// A block as a spreadsheet reads it from the clipboard: tab-separated text, each row ended by a
// line break, cells quoted where parse_tsv needs it; and an HTML table, declared UTF-8 so that
// Excel, WPS and LibreOffice read its Chinese as Chinese.
std::string block_tsv(const Cells& cells);
std::string block_html(const Cells& cells);

}  // namespace loadcalc
