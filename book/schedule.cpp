// Reading a load schedule: the text's records, the header's columns matched to the book's fields,
// then each row as an entry. A fault anywhere refuses the whole text, so that an import never
// leaves part of a building in the book.

#include "book/schedule.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cstdint>
#include <map>
#include <optional>
#include <utility>

#include "book/file.h"
#include "book/whole_file.h"
#include "calc/calculations.h"
#include "calc/fields.h"

namespace loadcalc {
namespace {

using Record = std::vector<std::string>;

struct Fault {
  std::string message;
};

std::string at_row(std::size_t row) {
  return "第 " + std::to_string(row) + " 行";
}

std::string at_cell(std::size_t row, std::size_t column) {
  return at_row(row) + "第 " + std::to_string(column) + " 列";
}

// ---- records ----

// The header row decides: tab when it holds more tabs than commas outside quotes. A cell of a
// later row may then hold the other one freely.
char separator(std::string_view text) {
  std::size_t tabs = 0, commas = 0;
  bool quoted = false, seen = false;
  for (char c : text) {
    if (c == '"') {
      quoted = !quoted;
    } else if (!quoted && (c == '\n' || c == '\r')) {
      if (seen) break;
      continue;
    } else if (!quoted) {
      tabs += c == '\t';
      commas += c == ',';
    }
    seen = true;
  }
  return tabs > commas ? '\t' : ',';
}

// Every record, a blank line being one with a single empty cell, so that the records are counted
// as a spreadsheet numbers its rows. A cell that opens with a quote runs to the quote that closes
// it, over separators and line breaks, "" standing for one quote; anything between the closing
// quote and the separator is kept as it stands, as spreadsheets do.
std::variant<std::vector<Record>, Fault> records(std::string_view text, char sep) {
  std::vector<Record> out;
  Record row;
  std::string cell;
  bool at_start = true;  // of a cell
  const std::size_t n = text.size();
  std::size_t i = 0;
  const auto end_cell = [&] {
    row.push_back(std::move(cell));
    cell.clear();
    at_start = true;
  };
  while (i < n) {
    const char c = text[i];
    if (at_start && c == '"') {
      const std::size_t opened_row = out.size() + 1, opened_column = row.size() + 1;
      for (++i;; ++i) {
        if (i == n)
          return Fault{at_cell(opened_row, opened_column) + "：引号没有配对，此格一直到文件末尾"};
        if (text[i] != '"') {
          cell += text[i];
        } else if (i + 1 < n && text[i + 1] == '"') {
          cell += '"';
          ++i;
        } else {
          break;
        }
      }
      ++i;
      at_start = false;
    } else if (c == sep) {
      end_cell();
      ++i;
    } else if (c == '\r' || c == '\n') {
      end_cell();
      out.push_back(std::move(row));
      row.clear();
      i += c == '\r' && i + 1 < n && text[i + 1] == '\n' ? 2 : 1;
    } else {
      cell += c;
      at_start = false;
      ++i;
    }
  }
  if (!at_start || !row.empty()) {
    end_cell();
    out.push_back(std::move(row));
  }
  return out;
}

bool blank(const Record& r) {
  for (const std::string& cell : r)
    if (!cell.empty()) return false;
  return true;
}

// ---- the header ----

// A heading as compared: blanks dropped, full-width brackets and superscript digits as ASCII, ASCII
// letters in lower case, so that "层高（m）", "层高 (M)" and "层高(m)" are one heading.
std::string folded(std::string_view s) {
  static constexpr std::array<std::pair<std::string_view, std::string_view>, 5> replaced{{
      {"（", "("},
      {"）", ")"},
      {"²", "2"},
      {"³", "3"},
      {"\u3000", ""},
  }};
  std::string out;
  for (std::size_t i = 0; i < s.size();) {
    bool done = false;
    for (const auto& [from, to] : replaced) {
      if (s.substr(i).starts_with(from)) {
        out += to;
        i += from.size();
        done = true;
        break;
      }
    }
    if (done) continue;
    const char c = s[i++];
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') continue;
    out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return out;
}

// The columns besides the inputs, by their schedule heading and their key in the book's file.
struct FixedColumn {
  std::string_view heading;
  std::string_view key;
  ColumnRole role;
};
constexpr std::array<FixedColumn, 7> fixed_columns{{
    {"构件", "name", ColumnRole::name},
    {"类型", "kind", ColumnRole::kind},
    {"备注", "note", ColumnRole::note},
    {"序号", "", ColumnRole::ignored},
    {"结果", "", ColumnRole::ignored},
    {"单位", "", ColumnRole::ignored},
    {"检查", "", ColumnRole::ignored},
}};

// The unit as a Chinese label writes it: "轴线开间尺寸（米）".
constexpr std::array<std::pair<std::string_view, std::string_view>, 2> unit_words{{
    {"m", "米"},
    {"mm", "毫米"},
}};

// The two opening fields share one label; each on its own is the stem with its half.
std::string own_caption(const FieldInfo& f) {
  if (f.caption != opening_caption) return std::string(f.caption);
  return std::string(opening_stem) +
         std::string(f.field == Field::Text4 ? opening_width : opening_height);
}

// The names of an input without a unit: its key, its term, its label's caption without the
// bracketed unit it may end with.
std::vector<std::string> bare_names(const FieldInfo& f) {
  std::string caption = folded(own_caption(f));
  if (caption.ends_with(')')) caption.erase(caption.rfind('('));
  return {folded(f.key), folded(f.term), caption};
}

std::vector<std::string> unit_names(const FieldInfo& f) {
  std::vector<std::string> out{folded(f.unit)};
  for (const auto& [unit, word] : unit_words)
    if (unit == f.unit) out.push_back(folded(word));
  return out;
}

// Every heading that names an input: a bare name alone, or followed by a unit, bracketed or not.
const std::map<std::string, Field>& input_headings() {
  static const std::map<std::string, Field> table = [] {
    std::map<std::string, Field> t;
    for (const FieldInfo& f : fields) {
      for (const std::string& name : bare_names(f)) {
        t.emplace(name, f.field);
        for (const std::string& unit : unit_names(f)) {
          t.emplace(name + unit, f.field);
          t.emplace(name + "(" + unit + ")", f.field);
        }
      }
    }
    return t;
  }();
  return table;
}

// A column, or none for an empty heading; a heading that names nothing is a fault.
std::variant<std::optional<ScheduleColumn>, Fault> column_of(std::string_view heading,
                                                             std::size_t row, std::size_t column) {
  const std::string h = folded(heading);
  if (h.empty()) return std::nullopt;
  if (auto c = schedule_column(heading)) return c;
  // A known input in another unit would be read in the wrong one.
  if (const auto open = h.find('('); open != std::string::npos && h.ends_with(')')) {
    const auto& inputs = input_headings();
    if (auto it = inputs.find(h.substr(0, open)); it != inputs.end())
      return Fault{at_cell(row, column) + "：" + in_quotes(heading) + " 的单位应为 " +
                   std::string(field_info(it->second).unit)};
  }
  return Fault{at_cell(row, column) + "：不认识的列 " + in_quotes(heading)};
}

std::string column_name(const ScheduleColumn& c) {
  for (const FixedColumn& f : fixed_columns)
    if (f.role == c.role) return std::string(f.heading);
  return std::string(field_info(c.field).term);
}

struct Header {
  std::vector<std::optional<ScheduleColumn>> columns;  // none under an empty heading
  std::optional<std::size_t> name, kind, note;
  // The kind of a row with no 类型: the one kind that every input column belongs to.
  std::optional<Calculation> only_kind;
};

std::variant<Header, Fault> read_header(const Record& r, std::size_t row) {
  Header h;
  std::map<Field, std::size_t> inputs;
  for (std::size_t c = 0; c < r.size(); ++c) {
    auto column = column_of(r[c], row, c + 1);
    if (auto* f = std::get_if<Fault>(&column)) return std::move(*f);
    const std::optional<ScheduleColumn> named = std::get<std::optional<ScheduleColumn>>(column);
    h.columns.push_back(named);
    if (!named) continue;
    const ScheduleColumn col = *named;
    std::optional<std::size_t>* fixed = col.role == ColumnRole::name   ? &h.name
                                        : col.role == ColumnRole::kind ? &h.kind
                                        : col.role == ColumnRole::note ? &h.note
                                                                       : nullptr;
    std::optional<std::size_t> before;
    if (fixed != nullptr) {
      before = *fixed;
      *fixed = c;
    } else if (col.role == ColumnRole::input) {
      if (auto it = inputs.find(col.field); it != inputs.end()) before = it->second;
      inputs[col.field] = c;
    }
    if (before)
      return Fault{at_cell(row, c + 1) + "：" + in_quotes(r[c]) + " 与第 " +
                   std::to_string(*before + 1) + " 列同是 " + in_quotes(column_name(col))};
  }
  if (!h.name) return Fault{at_row(row) + "：没有 “构件” 列"};
  std::vector<Calculation> kinds;
  for (const auto& [field, c] : inputs)
    if (const Calculation k = field_info(field).feeds;
        std::find(kinds.begin(), kinds.end(), k) == kinds.end())
      kinds.push_back(k);
  if (kinds.size() == 1) h.only_kind = kinds.front();
  if (!h.kind && !h.only_kind)
    return Fault{at_row(row) + "：没有 “类型” 列，" +
                 (kinds.empty()
                      ? std::string("也没有输入列，分不出各行的类型")
                      : "而输入列分属" + std::string(calculation_info(kinds[0]).kind_name) + "和" +
                            std::string(calculation_info(kinds[1]).kind_name))};
  return h;
}

// ---- the rows ----

std::string kind_choices() {
  std::string out;
  const auto add = [&](std::string_view s, bool last) {
    out += (out.empty() ? "" : last ? " 或 " : "、") + in_quotes(s);
  };
  for (const CalculationInfo& c : calculations) add(c.kind_name, false);
  for (const CalculationInfo& c : calculations) add(c.member_word, false);
  for (const CalculationInfo& c : calculations) add(c.kind_word, c.id == calculations.back().id);
  return out;
}

// The summary CSV writes a control character as the character picturing it (U+2400 + code, DEL
// as U+2421); those are turned back, so that a book's texts survive the trip. A picture typed as
// such in a spreadsheet becomes its control character too: the two cannot be told apart.
std::string unpictured(std::string_view cell) {
  std::string out;
  out.reserve(cell.size());
  for (std::size_t i = 0; i < cell.size(); ++i) {
    const auto b = [&](std::size_t k) { return static_cast<unsigned char>(cell[i + k]); };
    if (i + 2 < cell.size() && b(0) == 0xE2 && b(1) == 0x90 && (b(2) <= 0x9F || b(2) == 0xA1) &&
        b(2) >= 0x80) {
      out += static_cast<char>(b(2) == 0xA1 ? 0x7F : b(2) - 0x80);
      i += 2;
      continue;
    }
    out += cell[i];
  }
  return out;
}

// The apostrophe the summary CSV puts before a formula-like text, then the pictures of control
// characters, taken off in the order the summary put them on.
std::string unmarked(std::string cell) {
  if (cell.starts_with('\'') && needs_text_mark(std::string_view(cell).substr(1))) cell.erase(0, 1);
  return unpictured(cell);
}

std::variant<Calculation, Fault> row_kind(const Header& h, const Record& r, std::size_t row) {
  if (!h.kind) return *h.only_kind;
  const std::string cell = *h.kind < r.size() ? r[*h.kind] : std::string();
  if (folded(cell).empty()) {
    if (h.only_kind) return *h.only_kind;
    return Fault{at_cell(row, *h.kind + 1) + "：类型为空（应为 " + kind_choices() + "）"};
  }
  if (auto k = kind_named(cell)) return *k;
  return Fault{at_cell(row, *h.kind + 1) + "：未知的类型 " + in_quotes(cell) + "（应为 " +
               kind_choices() + "）"};
}

std::optional<Fault> read_row(const Header& h, const Record& r, std::size_t row, Schedule& out) {
  auto kind = row_kind(h, r, row);
  if (auto* f = std::get_if<Fault>(&kind)) return std::move(*f);
  Entry e;
  e.kind = std::get<Calculation>(kind);
  for (std::size_t c = 0; c < r.size(); ++c) {
    const std::optional<ScheduleColumn> named = c < h.columns.size() ? h.columns[c] : std::nullopt;
    if (!named) {
      if (!r[c].empty()) return Fault{at_cell(row, c + 1) + "：此列没有列名"};
      continue;
    }
    const ScheduleColumn col = *named;
    switch (col.role) {
      case ColumnRole::name:
        e.name = unmarked(r[c]);
        break;
      case ColumnRole::note:
        e.note = unmarked(r[c]);
        break;
      case ColumnRole::kind:
      case ColumnRole::ignored:
        break;
      case ColumnRole::input:
        if (field_info(col.field).feeds == e.kind)
          e.texts[col.field] = unmarked(r[c]);
        else if (!r[c].empty())
          return Fault{at_cell(row, c + 1) + "：" +
                       std::string(calculation_info(e.kind).kind_name) + "没有 " +
                       in_quotes(field_info(col.field).term) + " 这项输入，此格应为空"};
        break;
    }
  }
  DefaultedFields defaulted{out.entries.size(), {}};
  for (Field f : calculation_info(e.kind).reads) {
    if (e.texts.contains(f)) continue;
    e.texts[f] = std::string(field_info(f).default_text);
    defaulted.fields.push_back(f);
  }
  if (!defaulted.fields.empty()) out.defaulted.push_back(std::move(defaulted));
  out.entries.push_back(std::move(e));
  return std::nullopt;
}

bool plain_number(std::string_view s) {
  if (s.starts_with('+') || s.starts_with('-')) s.remove_prefix(1);
  if (s.empty() || !(std::isdigit(static_cast<unsigned char>(s[0])) || s[0] == '.')) return false;
  double x = 0;
  const auto r = std::from_chars(s.data(), s.data() + s.size(), x);
  return r.ec == std::errc() && r.ptr == s.data() + s.size();
}

}  // namespace

std::optional<ScheduleColumn> schedule_column(std::string_view heading) {
  const std::string h = folded(heading);
  for (const FixedColumn& c : fixed_columns)
    if (h == folded(c.heading) || (!c.key.empty() && h == c.key)) return ScheduleColumn{c.role};
  const auto& inputs = input_headings();
  if (auto it = inputs.find(h); it != inputs.end())
    return ScheduleColumn{ColumnRole::input, it->second};
  return std::nullopt;
}

std::optional<Calculation> kind_named(std::string_view cell) {
  const std::string k = folded(cell);
  for (const CalculationInfo& c : calculations)
    if (k == folded(c.kind_name) || k == folded(c.member_word) || k == c.kind_word) return c.id;
  return std::nullopt;
}

bool needs_text_mark(std::string_view text) {
  while (text.starts_with('\'')) text.remove_prefix(1);
  return !text.empty() && std::string_view("=+-@\t\r").find(text[0]) != std::string_view::npos &&
         !plain_number(text);
}

std::string schedule_heading(Field f) {
  const FieldInfo& info = field_info(f);
  return std::string(info.term) + "(" + std::string(info.unit) + ")";
}

std::vector<ScheduleColumnInfo> schedule_columns(Calculation kind) {
  std::vector<ScheduleColumnInfo> out{{ScheduleCell::number}, {ScheduleCell::name}};
  for (Field f : calculation_info(kind).reads) out.push_back({ScheduleCell::input, f});
  out.insert(out.end(), {{ScheduleCell::result}, {ScheduleCell::check}, {ScheduleCell::note}});
  return out;
}

std::string schedule_column_heading(const ScheduleColumnInfo& column) {
  switch (column.cell) {
    case ScheduleCell::number:
      return "序号";
    case ScheduleCell::name:
      return "构件";
    case ScheduleCell::input:
      return schedule_heading(column.field);
    case ScheduleCell::result:
      return "结果";
    case ScheduleCell::check:
      return "检查";
    case ScheduleCell::note:
      return "备注";
  }
  return {};
}

std::variant<Schedule, ReadError> read_schedule(std::string_view text) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  auto parsed = records(text, separator(text));
  if (auto* f = std::get_if<Fault>(&parsed)) return ReadError{std::move(f->message)};
  const std::vector<Record>& rows = std::get<std::vector<Record>>(parsed);

  std::size_t at = 0;
  while (at < rows.size() && blank(rows[at])) ++at;
  if (at == rows.size()) return ReadError{"文件中没有计算表：没有表头行"};
  auto header = read_header(rows[at], at + 1);
  if (auto* f = std::get_if<Fault>(&header)) return ReadError{std::move(f->message)};
  const Header& h = std::get<Header>(header);

  Schedule out;
  for (std::size_t i = at + 1; i < rows.size(); ++i) {
    if (blank(rows[i])) continue;
    if (out.entries.size() == max_book_entries)
      return ReadError{"计算表超过 " + std::to_string(max_book_entries) + " 行计算，未读取"};
    if (auto f = read_row(h, rows[i], i + 1, out)) return ReadError{std::move(f->message)};
  }
  return out;
}

std::variant<std::vector<std::vector<std::string>>, ReadError> read_records(std::string_view text,
                                                                            char separator) {
  auto parsed = records(text, separator);
  if (auto* f = std::get_if<Fault>(&parsed)) return ReadError{std::move(f->message)};
  return std::get<std::vector<Record>>(std::move(parsed));
}

std::optional<std::string> read_schedule_file(const std::filesystem::path& path, std::string& out) {
  return read_whole(path, out);
}

std::variant<ImportReport, ReadError> import_schedule(std::string_view text, Book& book) {
  auto read = read_schedule(text);
  if (auto* e = std::get_if<ReadError>(&read)) return std::move(*e);
  Schedule& s = std::get<Schedule>(read);
  // A book the program could write but not read back would be lost at the next opening.
  if (book.entries.size() + s.entries.size() > max_book_entries)
    return ReadError{"计算表有 " + std::to_string(s.entries.size()) + " 条计算，加上计算书已有的 " +
                     std::to_string(book.entries.size()) + " 条，超过上限 " +
                     std::to_string(max_book_entries) + " 条"};
  ImportReport report{s.entries.size(), std::move(s.defaulted)};
  for (DefaultedFields& d : report.defaulted) d.entry += book.entries.size();
  book.entries.insert(book.entries.end(), std::make_move_iterator(s.entries.begin()),
                      std::make_move_iterator(s.entries.end()));
  return report;
}

std::string import_summary(std::size_t added, std::size_t flagged) {
  std::string out = "导入 " + std::to_string(added) + " 条计算";
  if (flagged > 0) out += "，其中 " + std::to_string(flagged) + " 条缺少输入，已填默认值";
  return out;
}

}  // namespace loadcalc
