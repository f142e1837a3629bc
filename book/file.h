#pragma once
// The book's file (.lcbook, docs/book-format.md): UTF-8 JSON, keys in a fixed order, 2-space
// indent, a final newline, so that two versions of a book compare line by line. Read strictly: a
// file with any fault is refused whole, with a message that names the place.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "book/book.h"

namespace loadcalc {

std::string write_book(const Book& book);

struct ReadError {
  std::string message;  // Chinese, naming the place: "第 3 条计算：缺少 “bay_span”"
};

// Parses a whole file; on any fault, the error and no book.
std::variant<Book, ReadError> read_book(std::string_view bytes);

// Files larger than this are refused before they are read.
inline constexpr std::uintmax_t max_book_bytes = 64u * 1024 * 1024;
// A building has dozens to a few hundred members; a book with more is not one a person made.
inline constexpr std::size_t max_book_entries = 10'000;

std::variant<Book, ReadError> load_book(const std::filesystem::path& path);
// Whole or not at all: a save that fails leaves the old file as it was. The message on failure,
// none on success.
std::optional<std::string> save_book(const std::filesystem::path& path, const Book& book);

}  // namespace loadcalc
