#include "calc/report.h"

#include <algorithm>
#include <string_view>
#include <utility>
#include <vector>

#include "calc/calculations.h"
#include "calc/fields.h"
#include "calc/memory_sheet.h"
#include "calc/number.h"
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

// The build-up's and the openings' tables, a row to a line: up to six of each keep the sheet on
// one page.
constexpr std::string_view tight_grid =
    "<table width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"1\" "
    "style=\"border-collapse:collapse\">\n";

std::string caption(std::string Project::*member) {
  return std::string(project_field(member).caption);
}

std::string header_table(const SheetHeader& h, std::string_view table) {
  std::string s(table);
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
                         std::span<const Calculation> calculations, const Assumptions& a,
                         std::string_view table) {
  std::vector<std::vector<const FieldInfo*>> groups;
  std::size_t rows = 0;
  for (Calculation c : calculations) {
    auto& group = groups.emplace_back();
    for (const Field f : calculation_info(c).reads)
      if (!states_any(a, c) || !replaces(a, f)) group.push_back(&field_info(f));
    rows = std::max(rows, group.size());
  }
  std::string s(table);
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

std::string table_caption(const std::string& html) {
  return "<p style=\"margin-top:6px;margin-bottom:2px\">" + html + "</p>\n";
}

// A figure the sheet's tables compute, written as the working writes a step's.
std::string computed(double x) {
  return html_escaped(reading_figure(x));
}

std::string source_cell(const FigureSource& source) {
  return "<td>" + html_escaped(source_text(source)) + "</td>";
}

// Each layer with its figures as typed, its weight per m² and its source; then their sum, g_w.
std::string build_up_table(std::span<const WallLayerText> layers) {
  const BuildUp b = build_up(layers);
  std::string s = table_caption("墙体构造（" + symbol_html("g_w") + " 按各层之和）：") +
                  std::string(tight_grid);
  s += "<tr><th>层</th><th align=\"left\">材料</th><th align=\"right\">厚度 mm</th>"
       "<th align=\"right\">容重 kN/m³</th><th align=\"right\">面荷载 kN/m²</th>"
       "<th align=\"left\">来源</th></tr>\n";
  for (std::size_t i = 0; i < layers.size(); ++i) {
    const WallLayerText& t = layers[i];
    const bool thick = t.basis == LayerBasis::thickness;
    s += "<tr><td align=\"center\">" + std::to_string(i + 1) + "</td><td>" + cell_text(t.material) +
         "</td><td align=\"right\">" + (thick ? cell_text(t.thickness) : std::string("—")) +
         "</td><td align=\"right\">" + (thick ? cell_text(t.weight) : std::string("—")) +
         "</td><td align=\"right\">" + computed(b.layers[i].weight) + "</td>" +
         source_cell(b.layers[i].source) + "</tr>\n";
  }
  s += "<tr><td colspan=\"4\" align=\"right\">合计 " + symbol_html("g_w") +
       "</td><td align=\"right\"><b>" + computed(b.wall_weight) + "</b></td><td>&nbsp;</td></tr>\n";
  return s + "</table>\n";
}

// Each opening as typed, its area and weight, its source; then A_o and G_o.
std::string openings_html(std::span<const OpeningText> openings) {
  if (openings.empty()) return table_caption("门窗洞口：无洞口。");
  const OpeningsTable t = openings_table(openings);
  std::string s = table_caption("门窗洞口：") + std::string(tight_grid);
  s += "<tr><th>洞口</th><th align=\"left\">门窗类型</th><th align=\"right\">宽 m</th>"
       "<th align=\"right\">高 m</th><th align=\"right\">樘数</th>"
       "<th align=\"right\">面积 m²</th><th align=\"right\">自重 kN/m²</th>"
       "<th align=\"right\">重量 kN</th><th align=\"left\">来源</th></tr>\n";
  for (std::size_t i = 0; i < openings.size(); ++i) {
    const OpeningText& o = openings[i];
    const OpeningLine& row = t.rows[i];
    s += "<tr><td align=\"center\">" + std::to_string(i + 1) + "</td><td>" + cell_text(o.type) +
         "</td><td align=\"right\">" + cell_text(o.width) + "</td><td align=\"right\">" +
         cell_text(o.height) + "</td><td align=\"right\">" + cell_text(o.count) +
         "</td><td align=\"right\">" + computed(row.area) + "</td><td align=\"right\">" +
         cell_text(o.weight) + "</td><td align=\"right\">" + computed(row.weight) + "</td>" +
         source_cell(row.source) + "</tr>\n";
  }
  s += "<tr><td colspan=\"5\" align=\"right\">合计 " + symbol_html("A_o") +
       "</td><td align=\"right\"><b>" + computed(t.area) + "</b></td><td align=\"right\">" +
       symbol_html("G_o") + "</td><td align=\"right\"><b>" + computed(t.weight) +
       "</b></td><td>&nbsp;</td></tr>\n";
  return s + "</table>\n";
}

// What a beam entry states, as tables between its inputs and its working.
std::string stated_tables(std::span<const Calculation> calculations, const Assumptions& a) {
  std::string s;
  for (Calculation c : calculations) {
    if (c != Calculation::MainProgram_1 || !states_any(a, c)) continue;
    if (a.wall_layers) s += build_up_table(*a.wall_layers);
    if (a.openings) s += openings_html(*a.openings);
  }
  return s;
}

// A section's heading, clear of the table above it.
std::string heading(std::string_view text, bool tight = false) {
  return (tight ? "<h3 style=\"margin-top:6px;margin-bottom:4px\">"
                : "<h3 style=\"margin-top:12px\">") +
         std::string(text) + "</h3>\n";
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
                           std::span<const Calculation> calculations, const Assumptions& a) {
  MemorySheet sheet;
  for (std::size_t i = 0; i < field_count; ++i) sheet.load(field_at(i), texts[i]);
  std::vector<Working> workings;
  workings.reserve(calculations.size());
  for (Calculation c : calculations) {
    workings.push_back(working(sheet, c, a));
    // The tables above the working state each layer and opening with its source; stated once,
    // the sheet keeps to one page.
    if (c == Calculation::MainProgram_1 && states_any(a, c)) workings.back().figures.clear();
  }

  // A sheet with the wall's tables is set more tightly throughout, to keep to one page.
  const std::string stated = stated_tables(calculations, a);
  const bool tight = !stated.empty();
  const std::string_view table = tight ? tight_grid : grid;
  std::string s = "<h2 align=\"center\">" + title(header) + "</h2>\n";
  s += header_table(header, table);
  s += heading("一、输入数据", tight) + inputs_table(texts, calculations, a, table) + stated;
  s += heading("二、计算过程", tight);
  for (std::size_t i = 0; i < workings.size(); ++i) {
    if (i > 0) s += "<p></p>\n";
    s += working_html(workings[i]);
  }
  s += heading("三、计算结果", tight) + "<p>";
  for (std::size_t i = 0; i < workings.size(); ++i) {
    if (i > 0) s += "<br>\n";
    s += html_escaped(workings[i].title) + "：<b>" + html_escaped(workings[i].caption) + "</b>";
  }
  s += "</p>\n";
  return header.signatures ? s + "<p></p>\n" + signatures(header) : s;
}

std::string sheet_html(const SheetHeader& header, const std::array<std::string, field_count>& texts,
                       std::span<const Calculation> calculations, const Assumptions& a) {
  return "<html><head><meta charset=\"utf-8\"><title>" + title(header) + "</title></head><body>\n" +
         sheet_fragment(header, texts, calculations, a) + "<p align=\"center\">第 " +
         std::to_string(header.page) + " 页 共 " + std::to_string(header.pages) +
         " 页</p>\n</body></html>\n";
}

}  // namespace loadcalc
