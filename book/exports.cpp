// The book as a spreadsheet's summary and as one HTML page, written from the entries' texts and
// their evaluation: a refused entry shows its message where a figure would stand.

#include <cctype>
#include <charconv>

#include "book/book.h"
#include "calc/fields.h"

namespace loadcalc {
namespace {

// Every input column, beam fields first, then stair fields, each in field order.
std::vector<Field> input_columns() {
  std::vector<Field> out;
  for (const KindInfo& k : entry_kinds)
    for (Field f : kind_fields(k.kind)) out.push_back(f);
  return out;
}

bool plain_number(std::string_view s) {
  if (s.starts_with('+') || s.starts_with('-')) s.remove_prefix(1);
  if (s.empty() || !(std::isdigit(static_cast<unsigned char>(s[0])) || s[0] == '.')) return false;
  double x = 0;
  const auto r = std::from_chars(s.data(), s.data() + s.size(), x);
  return r.ec == std::errc() && r.ptr == s.data() + s.size();
}

// A spreadsheet runs a cell that starts with = + - or @ as a formula; a member name or a note
// must never do that on the engineer's machine, so such a text is kept as text with a leading
// apostrophe (a plain number like "-2" stays as it is).
std::string csv_cell(std::string_view s) {
  std::string out;
  if (!s.empty() && std::string_view("=+-@\t\r").find(s[0]) != std::string_view::npos &&
      !plain_number(s))
    out = "'";
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

std::string column_title(Field f) {
  const FieldInfo& info = field_info(f);
  return std::string(info.term) + "(" + std::string(info.unit) + ")";
}

std::string html_escape(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (char c : s) {
    switch (c) {
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
      default:
        out += c;
    }
  }
  return out;
}

std::string cell(std::string_view tag, std::string_view text) {
  return "<" + std::string(tag) + ">" + html_escape(text) + "</" + std::string(tag) + ">";
}

// What stands in the result's place: the caption, or the reason there is none.
std::string shown_result(const EntryResult& r) {
  return r.valid ? r.caption : "无效：" + r.message;
}

}  // namespace

std::string summary_csv(const Book& book) {
  std::string out = "\xEF\xBB\xBF";
  const std::vector<Field> columns = input_columns();
  std::vector<std::string> head{"序号", "构件", "类型"};
  for (Field f : columns) head.push_back(column_title(f));
  for (const char* t : {"结果", "单位", "检查", "备注"}) head.emplace_back(t);
  csv_row(out, head);

  for (std::size_t i = 0; i < book.entries.size(); ++i) {
    const Entry& e = book.entries[i];
    const EntryResult r = evaluate(e);
    std::vector<std::string> row{std::to_string(i + 1), e.name,
                                 std::string(kind_info(e.kind).name)};
    for (Field f : columns) {
      auto it = e.texts.find(f);
      row.push_back(it == e.texts.end() ? std::string() : it->second);
    }
    row.emplace_back(caption_number(r, e.kind));
    row.emplace_back(result_unit(e.kind));
    row.push_back(r.valid ? std::string() : "无效：" + r.message);
    row.push_back(e.note);
    csv_row(out, row);
  }
  return out;
}

std::string book_html(const Book& book) {
  const Project& p = book.project;
  std::string out =
      "<!DOCTYPE html>\n<html lang=\"zh-CN\">\n<head>\n<meta charset=\"utf-8\">\n<title>" +
      html_escape(p.name.empty() ? "计算书" : p.name + " 计算书") +
      "</title>\n<style>body{font-family:sans-serif}table{border-collapse:collapse}"
      "td,th{border:1px solid #999;padding:2px 8px}.bad{color:#b00}</style>\n</head>\n<body>\n";
  out += "<h1>" + html_escape(p.name) + " 计算书</h1>\n<table>\n";
  const std::pair<const char*, const std::string*> header[] = {
      {"工程名称", &p.name}, {"工程编号", &p.number}, {"子项", &p.subitem}, {"计算", &p.designer},
      {"校对", &p.checker},  {"审核", &p.approver},   {"日期", &p.date}};
  for (const auto& [title, value] : header)
    out += "<tr>" + cell("th", title) + cell("td", *value) + "</tr>\n";
  out +=
      "</table>\n<h2>汇总</h2>\n<table>\n<tr><th>序号</th><th>构件</th><th>类型</th>"
      "<th>结果</th></tr>\n";
  std::vector<EntryResult> results;
  results.reserve(book.entries.size());
  for (std::size_t i = 0; i < book.entries.size(); ++i) {
    const Entry& e = book.entries[i];
    results.push_back(evaluate(e));
    const EntryResult& r = results.back();
    out += "<tr>" + cell("td", std::to_string(i + 1)) + cell("td", e.name) +
           cell("td", kind_info(e.kind).name) +
           (r.valid ? cell("td", r.caption)
                    : "<td class=\"bad\">" + html_escape(shown_result(r)) + "</td>") +
           "</tr>\n";
  }
  out += "</table>\n";
  for (std::size_t i = 0; i < book.entries.size(); ++i) {
    const Entry& e = book.entries[i];
    const EntryResult& r = results[i];
    out += "<h2>" +
           html_escape(std::to_string(i + 1) + ". " + e.name + "（" +
                       std::string(kind_info(e.kind).name) + "）") +
           "</h2>\n<table>\n";
    for (Field f : kind_fields(e.kind)) {
      auto it = e.texts.find(f);
      const FieldInfo& info = field_info(f);
      out += "<tr>" + cell("th", info.term) +
             cell("td", it == e.texts.end() ? std::string_view() : std::string_view(it->second)) +
             cell("td", info.unit) + "</tr>\n";
    }
    out += "</table>\n<p" + std::string(r.valid ? "" : " class=\"bad\"") + ">" +
           html_escape(std::string(result_info(result_label(kind_info(e.kind).calculation)).term) +
                       "：" + shown_result(r)) +
           "</p>\n";
    if (!e.note.empty()) out += "<p>备注：" + html_escape(e.note) + "</p>\n";
  }
  return out + "</body>\n</html>\n";
}

}  // namespace loadcalc
