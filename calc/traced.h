#pragma once
// The traced number. The formulas are written once, as templates over their number type
// (calculations.cpp): over double they compute the captions; over Traced each operation computes
// the same double and also writes itself down into a Trace, so that the working is the
// computation itself, not a second copy of it. Used by the calculations, the working and their
// tests.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calc/sheet.h"

namespace loadcalc {

enum class CalcStatus : std::uint8_t {
  ok,
  zero_divisor,  // a divisor of 0 (bay span, step width): the formula has no value
  out_of_range,  // the result, or its rounding for the caption, is not a finite double
};

// A step worth a line of the working, and its entry in the working's legend.
struct StepInfo {
  std::string_view symbol;  // what follows '_' is a subscript
  std::string_view name;    // Chinese, for the legend
  std::string_view unit;
  // Whether the whole formula writes the step out in full or keeps its symbol (cos α, or b for
  // the converted entry, read better than what they stand for).
  bool expand;
  std::optional<Field> field{};  // the entry a unit conversion converts
};

// One piece of a written formula.
struct Token {
  enum class Kind : std::uint8_t {
    quantity,  // a symbol; with the values put in, that quantity's value
    number,    // a number of the formula itself, or an entry converted on the spot
    symbol,    // a symbol alone, never put in (the whole formula)
    text,      // an operator, a bracket or a function name
  };
  Kind kind;
  std::size_t quantity = 0;  // index into Trace::quantities
  double number = 0;
  // Operator, bracket, function or symbol; for a number, its unit if any.
  std::string_view text{};
};
using Tokens = std::vector<Token>;

// An input as used, or a step. Symbols are written "h_b": what follows '_' is a subscript.
struct Quantity {
  std::string_view symbol;
  std::string_view name;  // Chinese, for the legend
  std::string_view unit;  // empty for a pure number
  double value = 0;
  Tokens formula{};              // in earlier quantities; empty for an input used as read
  std::optional<Field> field{};  // the field it comes from, for an input or a unit conversion
};

// A step has a formula; an input used as read has none.
inline bool is_step(const Quantity& q) {
  return !q.formula.empty();
}

// The value as the working writes it: a quantity as entered (from a field as read, or only
// converted to metres, or a figure an entry states) as short as it reads back, any other as a
// figure rounded for reading.
std::string figure_of(const Quantity& q);

// What a traced evaluation writes down.
struct Trace {
  // Inputs in the order the calculation reads them, and its steps in the order it takes them;
  // on a failure the last one is the step that failed.
  std::vector<Quantity> quantities{};
  Tokens formula{};  // the whole formula in symbols, as far as the last step taken
  // Why a division found no quotient, in Chinese; empty when none was refused.
  std::string failure{};
  // The quantity whose symbol the failure begins with, if any.
  std::optional<std::size_t> culprit{};
};

class Traced {
 public:
  // A number of the formula itself: written as it is in both forms.
  Traced(double constant);  // NOLINT(google-explicit-constructor): formulas read 25 × w
  // An input used as read, written as its symbol or, once put in, its value.
  static Traced input(Trace& t, Quantity q);
  // An entry that the formula converts before use, written as the number entered, with its unit.
  static Traced entry(Trace& t, double value, std::string_view unit);

  double value() const { return value_; }

  friend Traced operator+(const Traced& a, const Traced& b);
  friend Traced operator-(const Traced& a, const Traced& b);
  friend Traced operator*(const Traced& a, const Traced& b);
  friend Traced operator/(const Traced& a, const Traced& b);
  friend Traced arctan(const Traced& x);
  friend Traced cosine(const Traced& x);
  friend Traced step(const Traced& x, const StepInfo& info);
  // 0 + x, as a sum taken from 0 begins, written as x alone.
  friend Traced from_zero(const Traced& x);
  friend CalcStatus no_quotient(const Traced& dividend, const Traced& divisor,
                                const StepInfo& info);

 private:
  Traced() = default;
  static Traced quantity(Trace& t, std::size_t index);
  static Traced binary(const Traced& a, std::string_view op, int precedence, const Traced& b,
                       double value);
  static Traced function(std::string_view name, const Traced& x, double value);

  double value_ = 0;
  Trace* trace_ = nullptr;
  // As written with the steps' symbols, and as written in the inputs alone.
  Tokens stepwise_;
  Tokens whole_;
  int stepwise_precedence_ = 0;
  int whole_precedence_ = 0;
};

// The plain side of the same vocabulary: a step is just its value, a refused division just a
// status. The arc tangent and cosine are correctly rounded, so that the same entries give the
// same figure on every platform and both sides cannot differ.
inline double step(double x, const StepInfo&) {
  return x;
}
inline double from_zero(double x) {
  return 0.0 + x;
}
inline CalcStatus no_quotient(double, double, const StepInfo&) {
  return CalcStatus::zero_divisor;
}
inline double value_of(double x) {
  return x;
}
inline double value_of(const Traced& x) {
  return x.value();
}
double arctan(double x) noexcept;
double cosine(double x) noexcept;

}  // namespace loadcalc
