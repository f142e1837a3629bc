#pragma once
// The formulas are written once, as templates over their number type (calculations.cpp). Over
// double they compute the captions; over Traced each operation computes the same double and also
// writes itself down, so that the working is the computation itself, not a second copy of it.
// This header is private to calc/.

#include <optional>
#include <string_view>

#include "calc/calculations.h"
#include "calc/working.h"

namespace loadcalc {

// A step worth a line of the working.
struct StepInfo {
  std::string_view symbol;
  std::string_view name;
  std::string_view unit;
  // Whether the whole formula writes the step out in full or keeps its symbol (cos α, or b for
  // the converted entry, read better than what they stand for).
  bool expand;
  std::optional<Field> field{};
};

// The arc tangent and cosine of the stair's slope, shared by both sides so that they cannot
// differ.
double arctan(double x) noexcept;
double cosine(double x) noexcept;

class Traced {
 public:
  // A number of the formula itself: written as it is in both forms.
  Traced(double constant);  // NOLINT(google-explicit-constructor): formulas read 25 × w
  // An input used as read: its symbol, or its value once put in.
  static Traced quantity(Working& w, std::size_t index);
  // An entry that the formula converts before use, written as the number entered, with its unit.
  static Traced entry(Working& w, double value, std::string_view unit);

  double value() const { return value_; }

  friend Traced operator+(const Traced& a, const Traced& b);
  friend Traced operator-(const Traced& a, const Traced& b);
  friend Traced operator*(const Traced& a, const Traced& b);
  friend Traced operator/(const Traced& a, const Traced& b);
  friend Traced arctan(const Traced& x);
  friend Traced cosine(const Traced& x);
  friend Traced step(const Traced& x, const StepInfo& info);
  friend CalcResult no_quotient(const Traced& dividend, const Traced& divisor,
                                const StepInfo& info);

 private:
  Traced() = default;
  static Traced binary(const Traced& a, std::string_view op, int precedence, const Traced& b,
                       double value);
  static Traced function(std::string_view name, const Traced& x, double value);

  double value_ = 0;
  Working* working_ = nullptr;
  // As written with the steps' symbols, and as written in the inputs alone.
  Tokens stepwise_;
  Tokens whole_;
  int stepwise_precedence_ = 0;
  int whole_precedence_ = 0;
};

CalcResult beam_line_load(const BeamValues<Traced>& in);
CalcResult stair_dead_load(const StairValues<Traced>& in);

}  // namespace loadcalc
