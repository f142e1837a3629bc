#include "book/evaluate.h"

#include <string>

#include "calc/calculations.h"
#include "calc/fields.h"
#include "calc/memory_sheet.h"
#include "checks/checks.h"

namespace loadcalc {

namespace {

// The first check the window would fail on this text, judged against the entry's other texts.
// The order is the window's: a range field's one test; a decimal field's value test, its cross
// test, then the leading-zero guard.
std::optional<std::string_view> refusal(Field f, std::string_view text, const FieldTexts& all) {
  if (auto m = range_check(f, text)) return m;
  if (auto m = value_check(f, text)) return m;
  if (auto m = cross_check(f, text, all)) return m;
  if (find_decimal_rule(f) != nullptr && leading_zero_guard(text)) return guard_mark;
  return std::nullopt;
}

}  // namespace

EntryResult evaluate(const Entry& entry) {
  EntryResult r;
  const std::span<const Field> own = calculation_info(entry.kind).reads;
  FieldTexts all{};
  for (Field f : own) {
    auto it = entry.texts.find(f);
    if (it == entry.texts.end()) {
      // Only a program can build such an entry; a file that lacks a text is refused on reading.
      r.message = "缺少“" + std::string(field_info(f).caption) + "”";
      r.field = f;
      return r;
    }
    all[index_of(f)] = it->second;
  }
  for (Field f : own) {
    if (auto m = refusal(f, all[index_of(f)], all)) {
      r.message = *m;
      r.field = f;
      return r;
    }
  }

  MemorySheet sheet;
  for (Field f : own) sheet.load(f, all[index_of(f)]);
  const CalcStatus status = run_calculation(sheet, entry.kind);
  if (status != CalcStatus::ok) {
    r.message = failure_text(status);
    return r;
  }
  r.valid = true;
  r.caption = sheet.caption(result_label(entry.kind));
  return r;
}

std::string_view caption_number(const EntryResult& r, Calculation kind) {
  if (!r.valid) return {};
  std::string_view caption = r.caption;
  const std::string_view unit = result_unit(kind);
  if (caption.ends_with(unit)) caption.remove_suffix(unit.size());
  return caption;
}

std::string_view result_unit(Calculation kind) {
  return calculation_info(kind).unit;
}

}  // namespace loadcalc
