// The book's summary for a spreadsheet, written from the entries' texts and their evaluation: a
// refused entry shows its message where a figure would stand.

#include "book/summary.h"

#include "book/evaluate.h"
#include "book/schedule.h"
#include "calc/calculations.h"
#include "calc/fields.h"
#include "calc/number.h"

namespace loadcalc {
namespace {

// Every input column: each calculation's fields, in the calculation table's order.
std::vector<Field> input_columns() {
  std::vector<Field> out;
  for (const CalculationInfo& c : calculations)
    out.insert(out.end(), c.reads.begin(), c.reads.end());
  return out;
}

// A control character cannot be typed into the window, but a file edited by hand may carry one;
// raw in a CSV file, a NUL ends the text for many programs and the others garble a line. Each is
// written as the character that pictures it (U+2400 + code, ␀; DEL as ␡), which every program
// shows, and which reading the file as a schedule turns back; the tab and the line breaks a note
// may hold are kept, inside the quoted cell.
std::string without_controls(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (const char c : s) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '\t' || c == '\n' || c == '\r' || (u >= 0x20 && u != 0x7F)) {
      out += c;
      continue;
    }
    const unsigned picture = u == 0x7F ? 0x2421 : 0x2400 + u;
    out += static_cast<char>(0xE0 | (picture >> 12));
    out += static_cast<char>(0x80 | ((picture >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (picture & 0x3F));
  }
  return out;
}

// A member name or a note must never run as a formula on the engineer's machine: such a text is
// kept as text behind an apostrophe, which reading the file as a schedule takes off again.
std::string csv_cell(std::string_view text) {
  const std::string s = without_controls(text);
  std::string out = needs_text_mark(s) ? "'" : "";
  out += s;
  if (out.find_first_of(",\"\r\n") == std::string::npos) return out;
  std::string q = "\"";
  for (char c : out) {
    if (c == '"') q += '"';
    q += c;
  }
  return q + "\"";
}

void csv_row(std::string& out, const std::vector<std::string>& cells) {
  for (std::size_t i = 0; i < cells.size(); ++i) {
    if (i > 0) out += ',';
    out += csv_cell(cells[i]);
  }
  out += "\r\n";
}

}  // namespace

std::array<std::string, 2> wall_cells(const Entry& entry, const EntryResult& r) {
  const std::optional<WallFigures> w = wall_figures(entry, r);
  if (!w) return {};
  return {format_result(w->wall_weight, "").value_or(""),
          format_result(w->opening_area, "").value_or("")};
}

std::string summary_csv(const Book& book) {
  std::string out = "\xEF\xBB\xBF";
  const std::vector<Field> columns = input_columns();
  std::vector<std::string> head{"序号", "构件", "类型"};
  for (Field f : columns) head.push_back(schedule_heading(f));
  for (std::string_view t :
       {std::string_view("结果"), std::string_view("单位"), wall_weight_heading,
        opening_area_heading, std::string_view("检查"), std::string_view("备注")})
    head.emplace_back(t);
  csv_row(out, head);

  for (std::size_t i = 0; i < book.entries.size(); ++i) {
    const Entry& e = book.entries[i];
    const EntryResult r = evaluate(e);
    std::vector<std::string> row{std::to_string(i + 1), e.name,
                                 std::string(calculation_info(e.kind).kind_name)};
    for (Field f : columns) {
      auto it = e.texts.find(f);
      row.push_back(it == e.texts.end() ? std::string() : it->second);
    }
    row.emplace_back(caption_number(r, e.kind));
    row.emplace_back(result_unit(e.kind));
    for (std::string& cell : wall_cells(e, r)) row.push_back(std::move(cell));
    row.push_back(r.valid ? std::string() : "无效：" + r.message);
    row.push_back(e.note);
    csv_row(out, row);
  }
  return out;
}

}  // namespace loadcalc
