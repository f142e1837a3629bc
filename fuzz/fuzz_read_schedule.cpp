// Any text as a schedule: read_schedule either refuses it with a message or returns entries that
// hold exactly their kind's fields, and that the book's summary CSV gives back unchanged.
#include <cstdint>
#include <string_view>
#include <variant>

#include "book/book.h"
#include "book/schedule.h"
#include "book/summary.h"
#include "calc/calculations.h"
#include "calc/fields.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace loadcalc;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto read = read_schedule(text);
  if (const auto* error = std::get_if<ReadError>(&read)) {
    FUZZ_ASSERT(!error->message.empty());
    return 0;
  }
  const Schedule& s = std::get<Schedule>(read);
  for (const Entry& e : s.entries) {
    FUZZ_ASSERT(e.texts.size() == calculation_info(e.kind).reads.size());
    for (const auto& [field, text] : e.texts) FUZZ_ASSERT(field_info(field).feeds == e.kind);
  }
  Book book;
  book.entries = s.entries;
  const auto again = read_schedule(summary_csv(book));
  FUZZ_ASSERT(std::holds_alternative<Schedule>(again) &&
              std::get<Schedule>(again).entries == s.entries &&
              std::get<Schedule>(again).defaulted.empty());
  return 0;
}
