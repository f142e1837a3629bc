#include "calc/report.h"

#include <algorithm>
#include <string_view>
#include <utility>
#include <vector>

#include "calc/calculations.h"
#include "calc/fields.h"
#include "calc/memory_sheet.h"
#include "calc/working.h"
#include "calc/working_text.h"

namespace loadcalc {

namespace {

// An empty cell still has the height of a line of text, so that there is room to write in it.
std::string cell_text(std::string_view s) {
  return s.empty() ? std::string("&nbsp;") : html_escaped(s);
}

// Two lines' height for a signature by hand.
std::string signature(std::string_view s) {
  return s.empty() ? std::string("&nbsp;<br>&nbsp;") : html_escaped(s);
}

// Borders drawn once between cells, and room around the text in each: the padding is what keeps
// a long name or a unit off the lines.
constexpr std::string_view grid =
    "<table width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"4\" "
    "style=\"border-collapse:collapse\">\n";

std::string caption(std::string Project::*member) {
  return std::string(project_field(member).caption);
}

std::string header_table(const SheetHeader& h) {
  std::string s(grid);
  s += "<tr><td width=\"16%\">" + caption(&Project::name) + "</td><td colspan=\"3\">" +
       cell_text(h.project.name) + "</td></tr>\n";
  s += "<tr><td>构件 / 部位</td><td colspan=\"3\">" + cell_text(h.member) + "</td></tr>\n";
  s += "<tr><td>计算程序</td><td width=\"44%\">" + cell_text(h.program) +
       "</td><td width=\"12%\">" + caption(&Project::date) + "</td><td>" +
       cell_text(h.project.date) + "</td></tr>\n";
  return s + "</table>\n";
}

// Entries as typed: a millimetre entry is listed in millimetres, the working shows it converted.
// The calculations' inputs stand side by side, so that the page keeps its room for the workings.
std::string inputs_table(const std::array<std::string, field_count>& texts,
                         std::span<const Calculation> calculations) {
  std::vector<std::vector<const FieldInfo*>> groups;
  std::size_t rows = 0;
  for (Calculation c : calculations) {
    auto& group = groups.emplace_back();
    for (const Field f : calculation_info(c).reads) group.push_back(&field_info(f));
    rows = std::max(rows, group.size());
  }
  std::string s(grid);
  if (calculations.size() > 1) {
    s += "<tr>";
    for (Calculation c : calculations)
      s += "<td colspan=\"4\"><b>" + html_escaped(calculation_info(c).term) + "</b></td>";
    s += "</tr>\n";
  }
  s += "<tr>";
  for (std::size_t g = 0; g < groups.size(); ++g)
    s += "<th align=\"left\">输入项</th><th>符号</th><th align=\"right\">输入值</th>"
         "<th align=\"left\">单位</th>";
  s += "</tr>\n";
  for (std::size_t row = 0; row < rows; ++row) {
    s += "<tr>";
    for (const auto& group : groups) {
      if (row >= group.size()) {
        s += "<td colspan=\"4\">&nbsp;</td>";
        continue;
      }
      const FieldInfo& f = *group[row];
      s += "<td>" + html_escaped(f.term) + "</td><td align=\"center\">" + symbol_html(f.quantity) +
           "</td><td align=\"right\">" + cell_text(texts[index_of(f.field)]) + "</td><td>" +
           html_escaped(f.unit) + "</td>";
    }
    s += "</tr>\n";
  }
  return s + "</table>\n";
}

// A section's heading, clear of the table above it.
std::string heading(std::string_view text) {
  return "<h3 style=\"margin-top:12px\">" + std::string(text) + "</h3>\n";
}

// Signatures beside their roles.
std::string signatures(const SheetHeader& h) {
  std::string s(grid);
  s += "<tr>";
  for (const ProjectFieldInfo& f : project_fields) {
    if (!f.signs) continue;
    s += "<td width=\"8%\" valign=\"middle\">" + std::string(f.caption) + "</td>";
    // The project's date when it has one; else a cell to date by hand.
    s += (f.member == &Project::date ? std::string("<td>") : std::string("<td width=\"17%\">")) +
         signature(h.project.*f.member) + "</td>";
  }
  return s + "</tr>\n</table>\n";
}

std::string title(const SheetHeader& h) {
  return h.title.empty() ? std::string("计算书") : html_escaped(h.title);
}

}  // namespace

std::string sheet_fragment(const SheetHeader& header,
                           const std::array<std::string, field_count>& texts,
                           std::span<const Calculation> calculations) {
  MemorySheet sheet;
  for (std::size_t i = 0; i < field_count; ++i) sheet.load(field_at(i), texts[i]);
  std::vector<Working> workings;
  workings.reserve(calculations.size());
  for (Calculation c : calculations) workings.push_back(working(sheet, c));

  std::string s = "<h2 align=\"center\">" + title(header) + "</h2>\n";
  s += header_table(header);
  s += heading("一、输入数据") + inputs_table(texts, calculations);
  s += heading("二、计算过程");
  for (std::size_t i = 0; i < workings.size(); ++i) {
    if (i > 0) s += "<p></p>\n";
    s += working_html(workings[i]);
  }
  s += heading("三、计算结果") + "<p>";
  for (std::size_t i = 0; i < workings.size(); ++i) {
    if (i > 0) s += "<br>\n";
    s += html_escaped(workings[i].title) + "：<b>" + html_escaped(workings[i].caption) + "</b>";
  }
  s += "</p>\n";
  return header.signatures ? s + "<p></p>\n" + signatures(header) : s;
}

std::string sheet_html(const SheetHeader& header, const std::array<std::string, field_count>& texts,
                       std::span<const Calculation> calculations) {
  return "<html><head><meta charset=\"utf-8\"><title>" + title(header) + "</title></head><body>\n" +
         sheet_fragment(header, texts, calculations) + "<p align=\"center\">第 " +
         std::to_string(header.page) + " 页 共 " + std::to_string(header.pages) +
         " 页</p>\n</body></html>\n";
}

}  // namespace loadcalc
