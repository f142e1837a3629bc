#pragma once
// The calculation book: a project's header and an ordered list of named entries, each holding the
// texts of one calculation's fields exactly as typed. An entry's result is never stored: it is
// computed from its texts, through the window's checks and formulas, whenever it is asked for.
// Standard library only; the file is UTF-8 JSON (docs/book-format.md).

#include <array>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "calc/sheet.h"

namespace loadcalc {

enum class EntryKind : std::uint8_t { beam, stair };

struct KindInfo {
  EntryKind kind;
  std::string_view word;  // in the file
  std::string_view name;  // what the book calls it (类型)
  Calculation calculation;
};

inline constexpr std::array<KindInfo, 2> entry_kinds{{
    {EntryKind::beam, "beam", "梁上线荷载", Calculation::MainProgram_1},
    {EntryKind::stair, "stair", "楼梯恒荷载", Calculation::MainProgram_2},
}};

constexpr const KindInfo& kind_info(EntryKind k) {
  return entry_kinds[static_cast<std::size_t>(k)];
}
// The fields an entry of this kind holds, in field order.
std::vector<Field> kind_fields(EntryKind k);
bool holds_field(EntryKind k, Field f);

struct Project {
  std::string name;      // 工程名称
  std::string number;    // 工程编号
  std::string subitem;   // 子项
  std::string designer;  // 计算
  std::string checker;   // 校对
  std::string approver;  // 审核
  std::string date;      // 日期, as typed

  friend bool operator==(const Project&, const Project&) = default;
};

struct Entry {
  std::string name;  // the member, e.g. "KL3 ③~④轴"
  EntryKind kind = EntryKind::beam;
  // Exactly the kind's fields (kind_fields), each text as typed.
  std::map<Field, std::string> texts;
  std::string note;

  friend bool operator==(const Entry&, const Entry&) = default;
};

struct Book {
  Project project;
  std::vector<Entry> entries;

  friend bool operator==(const Book&, const Book&) = default;
};

// An entry of the given kind holding the sheet's current texts of that kind's fields.
Entry entry_from_sheet(const Sheet& sheet, EntryKind kind, std::string name);

// What the guard's beep means, written out for a book: the window answers these texts (an empty
// field, "01" …) with a beep and a reset, not with a message.
inline constexpr std::string_view guard_mark = "空白或以 0 开头的数，计算器不接受";

struct EntryResult {
  // True when the window would accept every text and the formula has a figure.
  bool valid = false;
  // The result label's caption ("6.7kN/m"); empty when not valid, so that no figure of a refused
  // entry can be shown by mistake.
  std::string caption;
  // Why it is not valid: the message the window's check would show, guard_mark, or the failure
  // text of the formula ("除数为零，无法计算"). Empty when valid.
  std::string message;
  // The field the message is about; none for a failure of the formula.
  std::optional<Field> field;
};

EntryResult evaluate(const Entry& entry);

// The result's number as the caption writes it ("6.7" of "6.7kN/m"), and its unit ("kN/m").
std::string_view caption_number(const EntryResult& r, EntryKind kind);
std::string_view result_unit(EntryKind kind);

// The file: UTF-8 JSON, keys in a fixed order, 2-space indent, a final newline.
std::string write_book(const Book& book);

struct ReadError {
  std::string message;  // Chinese, naming the place: "第 3 条计算：缺少 “bay_span”"
};

// Parses a whole file; on any fault, the error and no book.
std::variant<Book, ReadError> read_book(std::string_view bytes);

// Files larger than this are refused before they are read.
inline constexpr std::uintmax_t max_book_bytes = 64u * 1024 * 1024;
// A building has dozens to a few hundred members; a book with more is not one a person made.
inline constexpr std::size_t max_book_entries = 10'000;

// Writes a temporary file beside `path`, then renames it over: a failed save leaves the old file
// as it was. The message on failure, none on success.
std::optional<std::string> save_book(const std::filesystem::path& path, const Book& book);
std::variant<Book, ReadError> load_book(const std::filesystem::path& path);
// The same whole-or-nothing write for any bytes (an export).
std::optional<std::string> replace_file(const std::filesystem::path& path, std::string_view bytes);
// A whole file of at most max_book_bytes, read as a book is (an import): the message on failure.
std::optional<std::string> read_whole_file(const std::filesystem::path& path, std::string& out);

// The recovery copy: the book as it stands after every change, with the file it belongs to
// (empty for a book never saved), written to a path the caller chooses.
struct Recovery {
  Book book;
  std::filesystem::path original;
};
std::optional<std::string> write_recovery(const std::filesystem::path& copy, const Book& book,
                                          const std::filesystem::path& original);
// None when there is no copy, or it cannot be read (it is then of no use to offer).
std::optional<Recovery> read_recovery(const std::filesystem::path& copy);
// After a save or a clean close; a missing copy is no fault.
void discard_recovery(const std::filesystem::path& copy);

// The summary, one row per entry: UTF-8 with a byte-order mark (Excel reads the Chinese then).
std::string summary_csv(const Book& book);

}  // namespace loadcalc
