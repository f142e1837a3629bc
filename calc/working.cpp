#include "calc/working.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <utility>

#include "calc/fields.h"
#include "calc/number.h"
#include "calc/traced.h"

namespace loadcalc {

namespace {

// How tightly an operation binds; a lone symbol or number binds tightest.
constexpr int additive = 1;
constexpr int multiplicative = 2;
constexpr int atom = 3;

Token text_token(std::string_view t) {
  return {.kind = Token::Kind::text, .text = t};
}

// Left-associative, as a reader evaluates: the right operand is bracketed on equal binding too,
// since a − (b − c) and a + (b + c) are other roundings than a − b − c and a + b + c.
void join(Tokens& out, const Tokens& a, int pa, std::string_view op, const Tokens& b, int pb,
          int p) {
  out.reserve(a.size() + b.size() + 5);
  if (pa < p) out.push_back(text_token("("));
  out.insert(out.end(), a.begin(), a.end());
  if (pa < p) out.push_back(text_token(")"));
  out.push_back(text_token(op));
  if (pb <= p) out.push_back(text_token("("));
  out.insert(out.end(), b.begin(), b.end());
  if (pb <= p) out.push_back(text_token(")"));
}

void call(Tokens& out, std::string_view name, const Tokens& x) {
  out.reserve(x.size() + 3);
  out.push_back(text_token(name));
  out.push_back(text_token("("));
  out.insert(out.end(), x.begin(), x.end());
  out.push_back(text_token(")"));
}

// The whole formula needs no values: its symbols are written out, so that it stands on its own.
Tokens symbols_only(const Tokens& tokens, const Working& w) {
  Tokens out = tokens;
  for (Token& t : out) {
    if (t.kind != Token::Kind::quantity) continue;
    t.kind = Token::Kind::symbol;
    t.text = w.quantities[t.quantity].symbol;
  }
  return out;
}

}  // namespace

Traced::Traced(double constant)
    : value_(constant),
      stepwise_{{.kind = Token::Kind::number, .number = constant}},
      whole_(stepwise_),
      stepwise_precedence_(atom),
      whole_precedence_(atom) {}

Traced Traced::quantity(Working& w, std::size_t index) {
  Traced t;
  t.value_ = w.quantities[index].value;
  t.working_ = &w;
  t.stepwise_ = {{.kind = Token::Kind::quantity, .quantity = index}};
  t.whole_ = t.stepwise_;
  t.stepwise_precedence_ = t.whole_precedence_ = atom;
  return t;
}

Traced Traced::entry(Working& w, double value, std::string_view unit) {
  Traced t(value);
  t.working_ = &w;
  t.stepwise_.front().text = unit;
  t.whole_ = t.stepwise_;
  return t;
}

Traced Traced::binary(const Traced& a, std::string_view op, int precedence, const Traced& b,
                      double value) {
  Traced r;
  r.value_ = value;
  r.working_ = a.working_ ? a.working_ : b.working_;
  join(r.stepwise_, a.stepwise_, a.stepwise_precedence_, op, b.stepwise_, b.stepwise_precedence_,
       precedence);
  join(r.whole_, a.whole_, a.whole_precedence_, op, b.whole_, b.whole_precedence_, precedence);
  r.stepwise_precedence_ = r.whole_precedence_ = precedence;
  return r;
}

Traced Traced::function(std::string_view name, const Traced& x, double value) {
  Traced r;
  r.value_ = value;
  r.working_ = x.working_;
  call(r.stepwise_, name, x.stepwise_);
  call(r.whole_, name, x.whole_);
  r.stepwise_precedence_ = r.whole_precedence_ = atom;
  return r;
}

// Each computes its double exactly as the plain formula does: the same operation on the same
// operands.
Traced operator+(const Traced& a, const Traced& b) {
  return Traced::binary(a, " + ", additive, b, a.value_ + b.value_);
}
Traced operator-(const Traced& a, const Traced& b) {
  return Traced::binary(a, " − ", additive, b, a.value_ - b.value_);
}
Traced operator*(const Traced& a, const Traced& b) {
  return Traced::binary(a, " × ", multiplicative, b, a.value_ * b.value_);
}
Traced operator/(const Traced& a, const Traced& b) {
  return Traced::binary(a, " / ", multiplicative, b, a.value_ / b.value_);
}
Traced arctan(const Traced& x) {
  return Traced::function("arctan", x, arctan(x.value_));
}
Traced cosine(const Traced& x) {
  return Traced::function("cos", x, cosine(x.value_));
}

Traced step(const Traced& x, const StepInfo& info) {
  Working& w = *x.working_;
  const std::size_t index = w.quantities.size();
  w.quantities.push_back({.symbol = info.symbol,
                          .name = info.name,
                          .unit = info.unit,
                          .value = x.value_,
                          .formula = x.stepwise_,
                          .field = info.field});
  // The last step taken is the result: its formula in the inputs is the whole formula.
  w.formula = symbols_only(x.whole_, w);
  Traced r = Traced::quantity(w, index);
  if (info.expand) {
    r.whole_ = x.whole_;
    r.whole_precedence_ = x.whole_precedence_;
  }
  return r;
}

CalcResult no_quotient(const Traced& dividend, const Traced& divisor, const StepInfo& info) {
  Working& w = *(dividend.working_ ? dividend.working_ : divisor.working_);
  step(dividend / divisor, info);
  w.quantities.back().value = std::numeric_limits<double>::quiet_NaN();
  std::string_view symbol = "除数";
  if (divisor.stepwise_.size() == 1 && divisor.stepwise_.front().kind == Token::Kind::quantity) {
    w.culprit = divisor.stepwise_.front().quantity;
    symbol = w.quantities[*w.culprit].symbol;
  }
  w.failure = std::string(symbol) + " = " + number_text(divisor.value_) + "，除数为零，无法计算。";
  return {CalcStatus::zero_divisor, 0.0};
}

namespace {

double read(const std::array<std::string, field_count>& texts, Field f) {
  return read_number(texts[index_of(f)]);
}

Traced input(Working& w, const std::array<std::string, field_count>& texts, Field f) {
  const FieldInfo& info = field_info(f);
  w.quantities.push_back({.symbol = info.quantity,
                          .name = info.term,
                          .unit = info.unit,
                          .value = read(texts, f),
                          .field = f});
  return Traced::quantity(w, w.quantities.size() - 1);
}

// Traces the calculation on the given texts: its status, with the working filled in as far as it
// got.
CalcResult trace(Working& w, const std::array<std::string, field_count>& texts) {
  if (w.calculation == Calculation::MainProgram_1) {
    // Read in the calculation's own order: the window's fields 1 to 6, then 11 and 13.
    BeamValues<Traced> in{
        input(w, texts, Field::Text1),  input(w, texts, Field::Text2),
        input(w, texts, Field::Text3),  input(w, texts, Field::Text4),
        input(w, texts, Field::Text5),  input(w, texts, Field::Text6),
        input(w, texts, Field::Text11), input(w, texts, Field::Text13),
    };
    return beam_line_load(in);
  }
  // The four millimetre entries are converted at once; the converted value is the quantity.
  StairValues<Traced> in{
      Traced::entry(w, read(texts, Field::Text7), field_info(Field::Text7).unit),
      Traced::entry(w, read(texts, Field::Text8), field_info(Field::Text8).unit),
      Traced::entry(w, read(texts, Field::Text9), field_info(Field::Text9).unit),
      Traced::entry(w, read(texts, Field::Text10), field_info(Field::Text10).unit),
      input(w, texts, Field::Text12),
  };
  return stair_dead_load(in);
}

std::array<std::string, field_count> texts_of(const Sheet& sheet) {
  std::array<std::string, field_count> texts;
  for (std::size_t i = 0; i < field_count; ++i) texts[i] = sheet.text(field_at(i));
  return texts;
}

bool is_step(const Quantity& q) {
  return !q.formula.empty();
}

}  // namespace

Working working(const Sheet& sheet, Calculation c) {
  const ResultLabel label = result_label(c);
  Working w{.calculation = c, .title = result_info(label).term};
  const auto texts = texts_of(sheet);
  const CalcResult r = trace(w, texts);
  w.status = r.status;

  if (r.status == CalcStatus::ok) {
    w.result = w.quantities.size() - 1;
    if (auto caption = format_result(r.value, result_info(label).unit)) {
      w.caption = std::move(*caption);
    } else {
      w.status = CalcStatus::out_of_range;
      w.failure = "结果过大，无法取整到千分位。";
    }
  } else if (r.status == CalcStatus::out_of_range) {
    // The first step without a finite value is where the calculation lost its footing.
    const auto bad = std::find_if(w.quantities.begin(), w.quantities.end(), [](const Quantity& q) {
      return is_step(q) && !std::isfinite(q.value);
    });
    if (bad != w.quantities.end()) {
      w.failure = std::string(bad->symbol) + " 超出双精度数的范围，无法计算。";
      w.culprit = static_cast<std::size_t>(bad - w.quantities.begin());
      w.quantities.erase(bad + 1, w.quantities.end());
    }
  }

  if (r.status != CalcStatus::ok) {
    // The whole formula does not depend on the values: a trace of the defaults, which always runs
    // to the end, writes it.
    Working full{.calculation = c};
    std::array<std::string, field_count> defaults;
    for (const FieldInfo& f : fields) defaults[index_of(f.field)] = f.default_text;
    trace(full, defaults);
    w.formula = std::move(full.formula);
  }
  if (w.status != CalcStatus::ok) {
    if (w.failure.empty()) w.failure = std::string(failure_text(w.status)) + "。";
    w.caption = failure_text(w.status);
  }
  return w;
}

std::string number_text(double value) {
  if (std::isinf(value)) return value < 0 ? "-∞" : "∞";
  char buf[32];
  const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
  return std::string(buf, end);
}

namespace {

// One writer for both forms: plain text, or HTML with italic symbols and subscripts.
class Writer {
 public:
  Writer(const Working& w, bool html) : w_(w), html_(html) {}

  std::string symbol(std::string_view s) const {
    if (!html_) return std::string(s);
    const std::size_t under = s.find('_');
    std::string_view base = s.substr(0, under);
    std::string out;
    // "tan α": the function upright, the angle italic.
    if (const std::size_t space = base.find(' '); space != std::string_view::npos) {
      out.append(base.substr(0, space + 1));
      base.remove_prefix(space + 1);
    }
    out.append("<i>").append(base).append("</i>");
    if (under != std::string_view::npos)
      out.append("<sub>").append(s.substr(under + 1)).append("</sub>");
    return out;
  }

  // A negative value put into a formula is bracketed: 4 − (-0.5), not 4 − -0.5.
  static std::string number(double value, std::string_view unit, bool in_formula) {
    std::string out = number_text(value);
    if (in_formula && std::signbit(value)) out = "(" + out + ")";
    if (!unit.empty()) out.append(" ").append(unit);
    return out;
  }

  std::string tokens(const Tokens& ts, bool values) const {
    std::string out;
    for (const Token& t : ts) {
      switch (t.kind) {
        case Token::Kind::quantity: {
          const Quantity& q = w_.quantities[t.quantity];
          out.append(values ? number(q.value, {}, true) : symbol(q.symbol));
          break;
        }
        case Token::Kind::number:
          out.append(number(t.number, t.text, true));
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

  static bool has_symbols(const Tokens& ts) {
    return std::any_of(ts.begin(), ts.end(),
                       [](const Token& t) { return t.kind == Token::Kind::quantity; });
  }

  // Symbols the working uses, inputs by field first, then the steps it introduces.
  std::vector<const Quantity*> legend() const {
    const std::string_view result = result_info(result_label(w_.calculation)).quantity;
    std::vector<const Quantity*> out;
    for (const Quantity& q : w_.quantities)
      if (q.symbol != result) out.push_back(&q);
    std::stable_sort(out.begin(), out.end(), [](const Quantity* a, const Quantity* b) {
      const std::size_t fa = a->field ? index_of(*a->field) : field_count;
      const std::size_t fb = b->field ? index_of(*b->field) : field_count;
      return fa < fb;
    });
    return out;
  }

  std::string legend_entry(const Quantity& q) const {
    std::string out = symbol(q.symbol) + " — " + std::string(q.name);
    if (!q.unit.empty()) out.append("，").append(q.unit);
    return out;
  }

  // The parts of a step's line: symbol, formula in symbols (none for a plain conversion), the
  // values put in, and the value with its unit (none where the step has no value).
  struct Line {
    std::string symbol, formula, values, value;
  };
  Line line(const Quantity& q) const {
    Line l{symbol(q.symbol), {}, tokens(q.formula, true), {}};
    if (has_symbols(q.formula)) l.formula = tokens(q.formula, false);
    if (std::isfinite(q.value)) l.value = number(q.value, q.unit, false);
    return l;
  }

  std::string result_symbol() const {
    return symbol(result_info(result_label(w_.calculation)).quantity);
  }

 private:
  const Working& w_;
  bool html_;
};

std::string escape(std::string_view s) {
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

}  // namespace

std::string working_text(const Working& w) {
  const Writer out(w, false);
  std::string s(w.title);
  s.append("\n").append(out.result_symbol()).append(" = ").append(out.tokens(w.formula, false));
  s.append("\n式中：");
  for (const Quantity* q : out.legend()) s.append("\n").append(out.legend_entry(*q));
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
  std::string s = "<p><b>" + escape(w.title) + "</b></p>\n<p>" + out.result_symbol() + " = " +
                  out.tokens(w.formula, false) + "</p>\n<p>式中：";
  for (const Quantity* q : out.legend()) s.append("<br>\n").append(out.legend_entry(*q));
  s.append("</p>\n<p>计算：</p>\n<table cellspacing=\"0\" cellpadding=\"2\">\n");
  for (const Quantity& q : w.quantities) {
    if (!is_step(q)) continue;
    const Writer::Line l = out.line(q);
    s.append("<tr><td nowrap>").append(l.symbol).append("</td><td nowrap>");
    if (!l.formula.empty()) s.append(" = ").append(l.formula);
    s.append("</td><td nowrap> = ").append(l.values).append("</td><td nowrap>");
    if (!l.value.empty()) s.append(" = ").append(l.value);
    s.append("</td></tr>\n");
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
    s.append(escape(rest)).append("</p>\n");
  }
  s.append("<p>结果：");
  if (w.status == CalcStatus::ok) s.append(out.result_symbol()).append(" = ");
  s.append("<b>").append(escape(w.caption)).append("</b></p>\n");
  return s;
}

}  // namespace loadcalc
