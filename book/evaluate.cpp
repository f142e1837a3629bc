#include <algorithm>

#include "book/book.h"
#include "calc/calculations.h"
#include "calc/fields.h"
#include "checks/checks.h"

namespace loadcalc {

std::vector<Field> kind_fields(EntryKind k) {
  std::vector<Field> out;
  for (const FieldInfo& f : fields)
    if (f.feeds == kind_info(k).calculation) out.push_back(f.field);
  return out;
}

bool holds_field(EntryKind k, Field f) {
  return field_info(f).feeds == kind_info(k).calculation;
}

Entry entry_from_sheet(const Sheet& sheet, EntryKind kind, std::string name) {
  Entry e{.name = std::move(name), .kind = kind, .texts = {}, .note = {}};
  for (Field f : kind_fields(kind)) e.texts[f] = sheet.text(f);
  return e;
}

EntryResult evaluate(const Entry&) {
  return {};
}

std::string_view caption_number(const EntryResult&, EntryKind) {
  return {};
}

std::string_view result_unit(EntryKind kind) {
  return result_info(result_label(kind_info(kind).calculation)).unit;
}

}  // namespace loadcalc
