#pragma once
// Look-ups in the program's constant tables.

#include <cstdlib>

namespace loadcalc {

// The row of `table` whose `column` holds `value`. Every look-up is by a value some row holds:
// one that none holds is a fault of the program, never of an input, and it stops the program
// here rather than carry on with some other row's texts (in a constant expression, it does not
// compile). No exception: the web edition has none.
template <class Table, class Column, class Value>
constexpr const auto& row_where(const Table& table, Column column, const Value& value) {
  for (const auto& row : table)
    if (row.*column == value) return row;
  std::abort();
}

}  // namespace loadcalc
