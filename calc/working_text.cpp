#include "calc/working_text.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "calc/calculations.h"
#include "calc/fields.h"
#include "calc/number.h"

namespace loadcalc {

std::string symbol_html(std::string_view s) {
  const std::size_t under = s.find('_');
  std::string_view base = s.substr(0, under);
  std::string out;
  if (const std::size_t space = base.find(' '); space != std::string_view::npos) {
    out.append(base.substr(0, space + 1));
    base.remove_prefix(space + 1);
  }
  out.append("<i>").append(html_escaped(base)).append("</i>");
  if (under != std::string_view::npos)
    out.append("<sub>").append(html_escaped(s.substr(under + 1))).append("</sub>");
  return out;
}

std::string html_escaped(std::string_view s) {
  std::string out;
  for (char c : s) {
    if (c == '&')
      out.append("&amp;");
    else if (c == '<')
      out.append("&lt;");
    else if (c == '>')
      out.append("&gt;");
    else
      out.push_back(c);
  }
  return out;
}

namespace {

// A negative value put into a formula is bracketed: 4 − (-0.5), not 4 − -0.5.
std::string put_in(std::string figure, bool negative) {
  return negative ? "(" + figure + ")" : figure;
}

std::string with_unit(std::string figure, std::string_view unit) {
  if (!unit.empty()) figure.append(" ").append(unit);
  return figure;
}

bool has_symbols(const Tokens& ts) {
  return std::any_of(ts.begin(), ts.end(),
                     [](const Token& t) { return t.kind == Token::Kind::quantity; });
}

// One writer for both forms: plain text, or HTML with italic symbols and subscripts.
class Writer {
 public:
  Writer(const Working& w, bool html) : w_(w), html_(html) {}

  std::string symbol(std::string_view s) const { return html_ ? symbol_html(s) : std::string(s); }
  std::string text(std::string_view s) const { return html_ ? html_escaped(s) : std::string(s); }

  std::string tokens(const Tokens& ts, bool values) const {
    std::string out;
    for (const Token& t : ts) {
      switch (t.kind) {
        case Token::Kind::quantity: {
          const Quantity& q = w_.quantities[t.quantity];
          out.append(values ? put_in(figure_of(q), std::signbit(q.value)) : symbol(q.symbol));
          break;
        }
        case Token::Kind::number:
          out.append(with_unit(put_in(shortest_figure(t.number), std::signbit(t.number)), t.text));
          break;
        case Token::Kind::symbol:
          out.append(symbol(t.text));
          break;
        case Token::Kind::text:
          out.append(t.text);
          break;
      }
    }
    return out;
  }

  // Symbols of the whole formula, inputs by field first, then the steps it introduces; and the
  // sources of the formula's fixed figures.
  std::vector<std::string> legend() const {
    std::vector<std::string> lines = symbol_legend();
    for (std::string& line : figure_legend()) lines.push_back(std::move(line));
    return lines;
  }

  std::vector<std::string> symbol_legend() const {
    const CalculationInfo& row = calculation_info(w_.calculation);
    std::vector<const Quantity*> used;
    for (const Quantity& q : w_.symbols)
      if (q.symbol != row.quantity) used.push_back(&q);
    std::stable_sort(used.begin(), used.end(), [](const Quantity* a, const Quantity* b) {
      const std::size_t fa = a->field ? index_of(*a->field) : field_count;
      const std::size_t fb = b->field ? index_of(*b->field) : field_count;
      return fa < fb;
    });
    std::vector<std::string> lines;
    for (const Quantity* q : used) {
      std::string line = symbol(q->symbol) + " — " + text(q->name);
      if (!q->unit.empty()) line.append("，").append(q->unit);
      lines.push_back(std::move(line));
    }
    return lines;
  }

  std::vector<std::string> figure_legend() const {
    std::vector<std::string> lines;
    for (const StatedFigure& f : w_.figures)
      lines.push_back(text(f.figure) + " — " + text(f.source));
    return lines;
  }

  // The parts of a step's line: symbol, formula in symbols (none for a plain conversion), the
  // values put in, and the value with its unit (none where the step has no value).
  struct Line {
    std::string symbol, formula, values, value;
  };
  Line line(const Quantity& q) const {
    Line l{symbol(q.symbol), {}, tokens(q.formula, true), {}};
    if (has_symbols(q.formula)) l.formula = tokens(q.formula, false);
    if (std::isfinite(q.value)) l.value = with_unit(figure_of(q), q.unit);
    return l;
  }

  std::string result_symbol() const { return symbol(calculation_info(w_.calculation).quantity); }

 private:
  const Working& w_;
  bool html_;
};

// More symbols than the calculator's formulas have: the HTML sets them in two columns.
constexpr std::size_t long_legend = 12;

}  // namespace

std::string working_text(const Working& w) {
  const Writer out(w, false);
  std::string s(w.title);
  s.append("\n").append(out.result_symbol()).append(" = ").append(out.tokens(w.formula, false));
  s.append("\n式中：");
  for (const std::string& entry : out.legend()) s.append("\n").append(entry);
  s.append("\n计算：");
  for (const Quantity& q : w.quantities) {
    if (!is_step(q)) continue;
    const Writer::Line l = out.line(q);
    s.append("\n").append(l.symbol);
    if (!l.formula.empty()) s.append(" = ").append(l.formula);
    s.append(" = ").append(l.values);
    if (!l.value.empty()) s.append(" = ").append(l.value);
  }
  if (!w.failure.empty()) s.append("\n").append(w.failure);
  s.append("\n结果：");
  if (w.status == CalcStatus::ok) s.append(out.result_symbol()).append(" = ");
  s.append(w.caption).append("\n");
  return s;
}

std::string working_html(const Working& w) {
  const Writer out(w, true);
  std::string s = "<p><b>" + html_escaped(w.title) + "</b></p>\n<p>" + out.result_symbol() + " = " +
                  out.tokens(w.formula, false) + "</p>\n<p>式中：";
  const std::vector<std::string> symbols = out.symbol_legend();
  if (symbols.size() <= long_legend) {
    for (const std::string& entry : symbols) s.append("<br>\n").append(entry);
  } else {
    // A wall of many layers: its short symbol lines in three columns, so that its sheet keeps to
    // one page.
    s.append("</p>\n<table width=\"100%\" cellspacing=\"0\" cellpadding=\"0\"><tr>");
    constexpr std::size_t columns = 3;
    const std::size_t rows = (symbols.size() + columns - 1) / columns;
    for (std::size_t start = 0; start < symbols.size(); start += rows) {
      s.append("<td width=\"33%\" valign=\"top\">");
      for (std::size_t i = start; i < std::min(symbols.size(), start + rows); ++i)
        s.append(i > start ? "<br>\n" : "").append(symbols[i]);
      s.append("</td>");
    }
    s.append("</tr></table>\n<p>");
  }
  bool first = symbols.size() > long_legend;
  for (const std::string& entry : out.figure_legend()) {
    s.append(first ? "" : "<br>\n").append(entry);
    first = false;
  }
  // Each "=" in a narrow column of its own, a blank either side, so that the lines align on their
  // "=" signs and no figure touches one; a line fills its columns from the left.
  s.append("</p>\n<p>计算：</p>\n<table cellspacing=\"0\" cellpadding=\"1\">\n");
  const auto cell = [&s](const std::string& content) {
    s.append("<td nowrap>").append(content).append("</td>");
  };
  for (const Quantity& q : w.quantities) {
    if (!is_step(q)) continue;
    const Writer::Line l = out.line(q);
    s.append("<tr>");
    cell(l.symbol);
    for (const std::string* part : {&l.formula, &l.values, &l.value}) {
      if (part->empty()) continue;
      cell("&nbsp;=&nbsp;");
      cell(*part);
    }
    s.append("</tr>\n");
  }
  s.append("</table>\n");
  if (!w.failure.empty()) {
    std::string_view rest = w.failure;
    s.append("<p>");
    if (w.culprit) {
      const std::string_view symbol = w.quantities[*w.culprit].symbol;
      s.append(out.symbol(symbol));
      rest.remove_prefix(symbol.size());
    }
    s.append(html_escaped(rest)).append("</p>\n");
  }
  s.append("<p>结果：");
  if (w.status == CalcStatus::ok) s.append(out.result_symbol()).append(" = ");
  s.append("<b>").append(html_escaped(w.caption)).append("</b></p>\n");
  return s;
}

}  // namespace loadcalc
