#pragma once
// The recovery copy: the book as it stands after every change, with the file it belongs to (empty
// for a book never saved), written to a path the caller chooses and offered after a crash.

#include <filesystem>
#include <optional>
#include <string>

#include "book/book.h"

namespace loadcalc {

struct Recovery {
  Book book;
  std::filesystem::path original;
};

// The message on failure, none on success.
std::optional<std::string> write_recovery(const std::filesystem::path& copy, const Book& book,
                                          const std::filesystem::path& original);
// None when there is no copy, or it cannot be read (it is then of no use to offer).
std::optional<Recovery> read_recovery(const std::filesystem::path& copy);
// After a save or a clean close; a missing copy is no fault.
void discard_recovery(const std::filesystem::path& copy);

}  // namespace loadcalc
