#pragma once
// Book entries as the tests and benchmarks write them: a beam or a stair holding the calculator's
// start-up texts, written out here rather than read from the field table, but for those changed.

#include <map>
#include <string>
#include <utility>

#include "book/book.h"

namespace loadcalc::test {

using Texts = std::map<Field, std::string>;

inline Entry beam(std::string name, const Texts& changed = {}) {
  Entry e{std::move(name),
          Calculation::MainProgram_1,
          {{Field::Text1, "4.0"},
           {Field::Text2, "3.6"},
           {Field::Text3, "0.45"},
           {Field::Text4, "2.0"},
           {Field::Text5, "2.2"},
           {Field::Text6, "3.0"},
           {Field::Text11, "0.50"},
           {Field::Text13, "0.0"}},
          "",
          {}};
  for (const auto& [f, text] : changed) e.texts[f] = text;
  return e;
}

inline Entry stair(std::string name, const Texts& changed = {}) {
  Entry e{std::move(name),
          Calculation::MainProgram_2,
          {{Field::Text7, "280"},
           {Field::Text8, "160"},
           {Field::Text9, "130"},
           {Field::Text10, "30"},
           {Field::Text12, "22.0"}},
          "",
          {}};
  for (const auto& [f, text] : changed) e.texts[f] = text;
  return e;
}

}  // namespace loadcalc::test
