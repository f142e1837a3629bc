#pragma once
// Inside book/ only: the book as JSON, for its file (file.cpp) and for the recovery copy that
// wraps it (recovery.cpp).

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <variant>

#include "book/book.h"
#include "book/file.h"

namespace loadcalc::book_json {

using ordered = nlohmann::ordered_json;
using json = nlohmann::json;

// Of the recovery copy, and of a book whose entries state no assumptions: such a book is written
// as the first version, which every copy of the program reads.
inline constexpr int format_version = 1;
// Of a book with an entry that states assumptions; the newest this program reads.
inline constexpr int assumptions_version = 2;

ordered to_json(const Book& book);
// Written as the file is: 2-space indent, Chinese as itself, a final newline.
std::string dump(const ordered& j);

// A whole file's bytes as JSON; on any fault, the message and nothing.
std::variant<json, ReadError> parse(std::string_view bytes);
// The book a JSON value holds, read strictly; on any fault, the message and no book.
std::variant<Book, ReadError> book_from_json(const json& j);

}  // namespace loadcalc::book_json
