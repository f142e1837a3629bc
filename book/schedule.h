#pragma once
// A building's load schedule as a spreadsheet saves it: comma- or tab-separated text whose header
// row names the columns (docs/book-format.md), one member a row. Reading one gives entries whose
// texts are exactly the cells; judging them is left to evaluate(), as for any entry. Standard
// library only: the text arrives as UTF-8, decoded by the caller (ui/text_decoding.h).

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "book/book.h"
#include "book/file.h"

namespace loadcalc {

// An entry that lacked one of its kind's inputs (no such column, or a row cut short) and was
// given that field's default text.
struct DefaultedFields {
  std::size_t entry;          // its place among the entries read, or in the book after import
  std::vector<Field> fields;  // in field order
};

struct Schedule {
  std::vector<Entry> entries;  // in file order
  std::vector<DefaultedFields> defaulted;
};

// The whole text, or the one fault that keeps it from being a schedule: "第 4 行第 3 列：…".
// Rows are counted as a spreadsheet numbers them, the header being row 1.
std::variant<Schedule, ReadError> read_schedule(std::string_view text);

struct ImportReport {
  std::size_t added = 0;
  std::vector<DefaultedFields> defaulted;  // `entry` is the index in the book
};

// A schedule file's bytes, for the caller to decode: refused unread, as a book is, when larger
// than max_book_bytes. The message on failure.
std::optional<std::string> read_schedule_file(const std::filesystem::path& path, std::string& out);

// The records of a spreadsheet's text, split at `separator` and at line breaks, as the schedule
// reader reads them: a blank line is one empty cell, a final line break ends the last record, a
// cell that opens with a quote runs to its closing quote over separators and line breaks. The
// message of a quote left open.
std::variant<std::vector<std::vector<std::string>>, ReadError> read_records(std::string_view text,
                                                                            char separator);

// Appends the schedule's entries to the book, all of them or, on a fault, none.
std::variant<ImportReport, ReadError> import_schedule(std::string_view text, Book& book);

// What the window and the command line say after an import of `added` entries, `flagged` of
// which lacked an input: "导入 12 条计算，其中 2 条缺少输入，已填默认值".
std::string import_summary(std::size_t added, std::size_t flagged);

// The column a heading names, as a schedule's header is read: "层高（m）", "storey_height",
// "轴线开间尺寸（米）", "构件", "备注" … Blanks, full-width brackets, superscript digits and the
// case of Latin letters do not count. None for a heading that names nothing.
enum class ColumnRole : std::uint8_t { name, kind, note, ignored, input };
struct ScheduleColumn {
  ColumnRole role;
  Field field = Field::Text1;  // for ColumnRole::input
};
std::optional<ScheduleColumn> schedule_column(std::string_view heading);

// The kind a 类型 cell names: "梁上线荷载", "梁", "beam", "楼梯恒荷载", "楼梯", "stair"; none for
// any other text.
std::optional<Calculation> kind_named(std::string_view cell);

// How the schedule and the exports head an input's column: its term and unit, "层高(m)".
std::string schedule_heading(Field f);

// The columns of one kind's schedule, as the book window shows it and as a block of cells is
// pasted into it or copied out of it: 序号, 构件, the kind's inputs in field order, 结果, 检查,
// 备注.
enum class ScheduleCell : std::uint8_t { number, name, input, result, check, note };
struct ScheduleColumnInfo {
  ScheduleCell cell;
  Field field = Field::Text1;  // for ScheduleCell::input
  friend bool operator==(const ScheduleColumnInfo&, const ScheduleColumnInfo&) = default;
};
std::vector<ScheduleColumnInfo> schedule_columns(Calculation kind);
// "序号", "构件", "层高(m)", "结果", "检查", "备注".
std::string schedule_column_heading(const ScheduleColumnInfo& column);

// A spreadsheet runs a cell that starts with = + - @ tab or CR as a formula, so the book's CSV
// writes such a text (bar a plain number like "-2") behind an apostrophe; a text that already
// starts with apostrophes before such a start gets one more. True for the texts that get it.
// Reading a schedule takes off exactly that apostrophe, so a summary reads back as it was.
bool needs_text_mark(std::string_view text);

}  // namespace loadcalc
