#include "calc/fields.h"

namespace loadcalc {

std::optional<Field> field_named(std::string_view name) {
  for (const FieldInfo& f : fields)
    if (f.name == name) return f.field;
  return std::nullopt;
}

}  // namespace loadcalc
