// Pasting works on a copy of the entries and hands the whole of it back, so that the window
// applies a paste of any size as one undo step and a refused paste leaves nothing behind.

#include "book/schedule_edit.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <utility>

#include "book/schedule.h"
#include "book/whole_file.h"
#include "calc/calculations.h"
#include "calc/fields.h"

namespace loadcalc {
namespace {

// Where a block's column goes: a schedule column that takes text, or nowhere.
using Target = std::optional<ScheduleColumnInfo>;

struct Fault {
  std::string message;
};

bool blank(std::string_view cell) {
  return cell.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

// A header names a column in each of its cells that is not blank, and has at least one such.
bool is_header(const std::vector<std::string>& row) {
  bool named = false;
  for (const std::string& cell : row) {
    if (blank(cell)) continue;
    if (!schedule_column(cell)) return false;
    named = true;
  }
  return named;
}

std::vector<Target> by_position(Calculation kind, std::size_t column, std::size_t width) {
  const std::vector<ScheduleColumnInfo> columns = schedule_columns(kind);
  std::vector<Target> out;
  for (std::size_t j = 0; j < width; ++j) {
    const std::size_t at = column + j;
    if (at >= columns.size()) {
      out.emplace_back();
      continue;
    }
    const ScheduleCell cell = columns[at].cell;
    const bool typed =
        cell == ScheduleCell::name || cell == ScheduleCell::input || cell == ScheduleCell::note;
    out.push_back(typed ? Target(columns[at]) : std::nullopt);
  }
  return out;
}

std::string at_column(std::size_t j) {
  return "第 " + std::to_string(j + 1) + " 列";
}

std::variant<std::vector<Target>, Fault> by_header(Calculation kind,
                                                   const std::vector<std::string>& header) {
  std::vector<Target> out;
  std::map<std::pair<ScheduleCell, Field>, std::size_t> seen;
  for (std::size_t j = 0; j < header.size(); ++j) {
    const std::optional<ScheduleColumn> named =
        blank(header[j]) ? std::nullopt : schedule_column(header[j]);
    Target target;
    if (named) {
      switch (named->role) {
        case ColumnRole::name:
          target = ScheduleColumnInfo{ScheduleCell::name};
          break;
        case ColumnRole::note:
          target = ScheduleColumnInfo{ScheduleCell::note};
          break;
        case ColumnRole::kind:
        case ColumnRole::ignored:
          break;
        case ColumnRole::input:
          if (field_info(named->field).feeds != kind)
            return Fault{at_column(j) + "：" + in_quotes(header[j]) + " 是" +
                         std::string(calculation_info(field_info(named->field).feeds).kind_name) +
                         "的输入，" + std::string(calculation_info(kind).kind_name) +
                         "的计算表没有这一列"};
          target = ScheduleColumnInfo{ScheduleCell::input, named->field};
          break;
      }
    }
    if (target) {
      const auto [it, fresh] = seen.emplace(std::pair(target->cell, target->field), j);
      if (!fresh)
        return Fault{at_column(j) + "：" + in_quotes(header[j]) + " 与" + at_column(it->second) +
                     "同是 " + in_quotes(schedule_column_heading(*target)) + " 列"};
    }
    out.push_back(target);
  }
  return out;
}

// A row lands when one of its cells goes somewhere: a row of the block that reaches only 结果
// or past the last column makes no entry.
bool lands(const std::vector<std::string>& cells, const std::vector<Target>& targets) {
  for (std::size_t j = 0; j < cells.size() && j < targets.size(); ++j)
    if (targets[j]) return true;
  return false;
}

void put(Entry& e, const std::vector<std::string>& cells, const std::vector<Target>& targets,
         bool& named) {
  for (std::size_t j = 0; j < cells.size() && j < targets.size(); ++j) {
    if (!targets[j]) continue;
    switch (targets[j]->cell) {
      case ScheduleCell::name:
        e.name = cells[j];
        named = true;
        break;
      case ScheduleCell::note:
        e.note = cells[j];
        break;
      case ScheduleCell::input:
        e.texts[targets[j]->field] = cells[j];
        break;
      default:
        break;
    }
  }
}

// The numbers a new entry of a kind may take, "梁 12": from one past the kind's count, passing
// over any name already in the book, so that two members never share a default name.
class DefaultNames {
 public:
  DefaultNames(const std::vector<Entry>& entries, Calculation kind)
      : word_(calculation_info(kind).member_word) {
    for (const Entry& e : entries) {
      names_.insert(e.name);
      next_ += e.kind == kind;
    }
    ++next_;
  }
  std::string take() {
    std::string name;
    do name = word_ + " " + std::to_string(next_++);
    while (names_.contains(name));
    names_.insert(name);
    return name;
  }

 private:
  std::string word_;
  std::set<std::string> names_;
  std::size_t next_ = 0;
};

Entry default_entry(Calculation kind) {
  Entry e;
  e.kind = kind;
  for (Field f : calculation_info(kind).reads) e.texts[f] = std::string(field_info(f).default_text);
  return e;
}

bool needs_quotes(std::string_view cell) {
  return cell.starts_with('"') || cell.find_first_of("\t\r\n") != std::string_view::npos;
}

std::string html_escaped(std::string_view cell) {
  std::string out;
  for (std::size_t i = 0; i < cell.size(); ++i) {
    switch (cell[i]) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\r':
        if (i + 1 < cell.size() && cell[i + 1] == '\n') break;
        out += "<br>";
        break;
      case '\n':
        out += "<br>";
        break;
      default:
        out += cell[i];
    }
  }
  return out;
}

}  // namespace

std::variant<PasteResult, ReadError> paste_block(const Book& book, Calculation kind,
                                                 std::size_t row, std::size_t column,
                                                 const Cells& cells) {
  PasteResult out{book.entries, 0, 0};
  if (cells.empty()) return out;

  std::vector<Target> targets;
  std::size_t first = 0;  // the block's first row of texts
  if (is_header(cells.front())) {
    auto matched = by_header(kind, cells.front());
    if (auto* f = std::get_if<Fault>(&matched)) return ReadError{std::move(f->message)};
    targets = std::get<std::vector<Target>>(std::move(matched));
    first = 1;
  } else {
    std::size_t width = 0;
    for (const auto& r : cells) width = std::max(width, r.size());
    targets = by_position(kind, column, width);
  }

  std::vector<std::size_t> rows;  // the kind's entries, by their place in the book
  for (std::size_t i = 0; i < book.entries.size(); ++i)
    if (book.entries[i].kind == kind) rows.push_back(i);

  std::set<std::size_t> touched;
  DefaultNames names(book.entries, kind);
  for (std::size_t i = first; i < cells.size(); ++i) {
    if (!lands(cells[i], targets)) continue;
    const std::size_t at = row + (i - first);
    bool named = false;
    if (at < rows.size()) {
      put(out.entries[rows[at]], cells[i], targets, named);
      touched.insert(rows[at]);
      continue;
    }
    if (out.entries.size() >= max_book_entries)
      return ReadError{"粘贴后计算书将超过上限 " + std::to_string(max_book_entries) +
                       " 条计算，未粘贴"};
    Entry e = default_entry(kind);
    put(e, cells[i], targets, named);
    if (!named) e.name = names.take();
    out.entries.push_back(std::move(e));
    ++out.added;
  }
  for (std::size_t i : touched) out.changed += out.entries[i] != book.entries[i];
  return out;
}

Cells parse_tsv(std::string_view text) {
  auto read = read_records(text, '\t');
  if (auto* cells = std::get_if<Cells>(&read)) return std::move(*cells);
  // Not as a spreadsheet writes it: a lone quote is a character of the cell.
  Cells out;
  std::vector<std::string> row;
  std::string cell;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\t') {
      row.push_back(std::move(cell));
      cell.clear();
    } else if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      row.push_back(std::move(cell));
      cell.clear();
      out.push_back(std::move(row));
      row.clear();
    } else {
      cell += c;
    }
  }
  if (!cell.empty() || !row.empty()) {
    row.push_back(std::move(cell));
    out.push_back(std::move(row));
  }
  return out;
}

std::string block_tsv(const Cells& cells) {
  std::string out;
  for (const auto& r : cells) {
    for (std::size_t j = 0; j < r.size(); ++j) {
      if (j > 0) out += '\t';
      if (!needs_quotes(r[j])) {
        out += r[j];
        continue;
      }
      out += '"';
      for (char c : r[j]) out += c == '"' ? std::string("\"\"") : std::string(1, c);
      out += '"';
    }
    out += '\n';
  }
  return out;
}

std::string block_html(const Cells& cells) {
  std::string out =
      "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">"
      "</head><body><table>\n";
  for (const auto& r : cells) {
    out += "<tr>";
    for (const std::string& cell : r) out += "<td>" + html_escaped(cell) + "</td>";
    out += "</tr>\n";
  }
  out += "</table></body></html>\n";
  return out;
}

}  // namespace loadcalc
