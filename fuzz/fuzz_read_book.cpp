// Any bytes as a book file: read_book either refuses them with a message or returns a book that
// writes back to a file which reads as the same book, and whose every entry evaluates.
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <variant>

#include "book/evaluate.h"
#include "book/file.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace loadcalc;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const auto read = read_book(bytes);
  if (const auto* error = std::get_if<ReadError>(&read)) {
    FUZZ_ASSERT(!error->message.empty());
    return 0;
  }
  const Book& book = std::get<Book>(read);
  const auto again = read_book(write_book(book));
  FUZZ_ASSERT(std::holds_alternative<Book>(again) && std::get<Book>(again) == book);
  for (const Entry& e : book.entries) {
    const EntryResult r = evaluate(e);
    FUZZ_ASSERT(r.valid
                    ? fuzz::well_formed_caption(r.caption, result_unit(e.kind)) && r.message.empty()
                    : r.caption.empty() && !r.message.empty());
  }
  return 0;
}
