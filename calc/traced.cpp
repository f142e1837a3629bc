#include "calc/traced.h"

#include <limits>

#include "calc/crmath.h"
#include "calc/number.h"

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
Tokens symbols_only(const Tokens& tokens, const Trace& t) {
  Tokens out = tokens;
  for (Token& token : out) {
    if (token.kind != Token::Kind::quantity) continue;
    token.kind = Token::Kind::symbol;
    token.text = t.quantities[token.quantity].symbol;
  }
  return out;
}

}  // namespace

std::string figure_of(const Quantity& q) {
  return q.field || !is_step(q) ? shortest_figure(q.value) : reading_figure(q.value);
}

// Correctly rounded, so that the same entries give the same figure on every platform.
double arctan(double x) noexcept {
  return cr_atan(x);
}
double cosine(double x) noexcept {
  return cr_cos(x);
}

Traced::Traced(double constant)
    : value_(constant),
      stepwise_{{.kind = Token::Kind::number, .number = constant}},
      whole_(stepwise_),
      stepwise_precedence_(atom),
      whole_precedence_(atom) {}

Traced Traced::quantity(Trace& t, std::size_t index) {
  Traced r;
  r.value_ = t.quantities[index].value;
  r.trace_ = &t;
  r.stepwise_ = {{.kind = Token::Kind::quantity, .quantity = index}};
  r.whole_ = r.stepwise_;
  r.stepwise_precedence_ = r.whole_precedence_ = atom;
  return r;
}

Traced Traced::input(Trace& t, Quantity q) {
  t.quantities.push_back(std::move(q));
  return quantity(t, t.quantities.size() - 1);
}

Traced Traced::entry(Trace& t, double value, std::string_view unit) {
  Traced r(value);
  r.trace_ = &t;
  r.stepwise_.front().text = unit;
  r.whole_ = r.stepwise_;
  return r;
}

Traced Traced::binary(const Traced& a, std::string_view op, int precedence, const Traced& b,
                      double value) {
  Traced r;
  r.value_ = value;
  r.trace_ = a.trace_ ? a.trace_ : b.trace_;
  join(r.stepwise_, a.stepwise_, a.stepwise_precedence_, op, b.stepwise_, b.stepwise_precedence_,
       precedence);
  join(r.whole_, a.whole_, a.whole_precedence_, op, b.whole_, b.whole_precedence_, precedence);
  r.stepwise_precedence_ = r.whole_precedence_ = precedence;
  return r;
}

Traced Traced::function(std::string_view name, const Traced& x, double value) {
  Traced r;
  r.value_ = value;
  r.trace_ = x.trace_;
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
  Trace& t = *x.trace_;
  const std::size_t index = t.quantities.size();
  t.quantities.push_back({.symbol = info.symbol,
                          .name = info.name,
                          .unit = info.unit,
                          .value = x.value_,
                          .formula = x.stepwise_,
                          .field = info.field});
  // The last step taken is the result: its formula in the inputs is the whole formula.
  t.formula = symbols_only(x.whole_, t);
  Traced r = Traced::quantity(t, index);
  if (info.expand) {
    r.whole_ = x.whole_;
    r.whole_precedence_ = x.whole_precedence_;
  }
  return r;
}

Traced from_zero(const Traced& x) {
  Traced r = x;
  r.value_ = 0.0 + x.value_;
  return r;
}

CalcStatus no_quotient(const Traced& dividend, const Traced& divisor, const StepInfo& info) {
  Trace& t = *(dividend.trace_ ? dividend.trace_ : divisor.trace_);
  step(dividend / divisor, info);
  t.quantities.back().value = std::numeric_limits<double>::quiet_NaN();
  std::string symbol = "除数";
  std::string figure = reading_figure(divisor.value_);
  if (divisor.stepwise_.size() == 1 && divisor.stepwise_.front().kind == Token::Kind::quantity) {
    t.culprit = divisor.stepwise_.front().quantity;
    symbol = t.quantities[*t.culprit].symbol;
    figure = figure_of(t.quantities[*t.culprit]);
  }
  t.failure = symbol + " = " + figure + "，除数为零，无法计算。";
  return CalcStatus::zero_divisor;
}

}  // namespace loadcalc
