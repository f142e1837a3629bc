#include "book/book.h"

#include <utility>

#include "calc/calculations.h"

namespace loadcalc {

Entry entry_from_sheet(const Sheet& sheet, Calculation kind, std::string name) {
  Entry e{.name = std::move(name), .kind = kind, .texts = {}, .note = {}, .assumptions = {}};
  for (Field f : calculation_info(kind).reads) e.texts[f] = sheet.text(f);
  return e;
}

}  // namespace loadcalc
