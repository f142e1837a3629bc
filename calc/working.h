#pragma once
// The working of a calculation, as an engineer writes it in a calculation sheet: the formula in
// symbols, each step with its values put in, and the result. It is traced by the very formulas
// that compute the captions (calculations.cpp evaluates them once over plain doubles for the
// label and once over traced numbers for this), so the working cannot drift from the caption.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calc/calculations.h"
#include "calc/sheet.h"

namespace loadcalc {

// One piece of a written formula.
struct Token {
  enum class Kind : std::uint8_t {
    quantity,  // a symbol; with the values put in, that quantity's value
    number,    // a number of the formula itself, or an entry converted on the spot
    symbol,    // a symbol alone, never put in (the whole formula)
    text,      // an operator, a bracket or a function name
  };
  Kind kind;
  std::size_t quantity = 0;  // index into Working::quantities
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

struct Working {
  Calculation calculation;
  std::string_view title{};  // the result's name, "框架梁上均布线荷载"
  // Inputs in the order the calculation reads them, and its steps in the order it takes them;
  // on a failure the last one is the step that failed.
  std::vector<Quantity> quantities{};
  std::size_t result = 0;  // index of the result; meaningful only when status is ok
  Tokens formula{};        // the whole formula in symbols, whose value is the result
  CalcStatus status = CalcStatus::ok;
  std::string caption{};  // exactly what the result label shows
  std::string failure{};  // why the calculation stopped, in Chinese; empty when it did not
  // The quantity whose symbol the failure begins with, if any.
  std::optional<std::size_t> culprit{};
};

// What the calculation makes of the sheet's texts, step by step.
Working working(const Sheet& sheet, Calculation c);

// Shortest text that reads back as the same double ("0.1", "8.200000000000001", "1e+300");
// infinities as "∞" and "-∞".
std::string number_text(double value);

// The working laid out for reading: plain text (one line per item, "h_b" for a subscript) and
// an HTML fragment (subscripts and italic symbols; no <html> or <body>).
std::string working_text(const Working& w);
std::string working_html(const Working& w);

}  // namespace loadcalc
