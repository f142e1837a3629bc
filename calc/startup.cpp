#include "calc/startup.h"

#include "calc/calculations.h"
#include "calc/fields.h"
#include "calc/number.h"

namespace loadcalc {

void Form_Load(Sheet& sheet) {
  // Strictly in field order: each write runs its check and calculation against the fields written
  // so far, and the cross-field limits only ever compare with fields already holding defaults.
  for (const FieldInfo& f : fields) sheet.set_text(f.field, f.default_text);
  select_all(sheet, Field::Text1);
  sheet.set_tooltip(tooltip_text);
  for (const CalculationInfo& c : calculations) run_calculation(sheet, c.id);
}

}  // namespace loadcalc
