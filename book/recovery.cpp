// The recovery copy: the book as the file holds it, wrapped with the path of the file it belongs
// to.

#include "book/recovery.h"

#include "book/book_json.h"
#include "book/whole_file.h"

namespace loadcalc {
namespace {

using book_json::json;
using book_json::ordered;

constexpr std::string_view recovery_format = "loadcalc-recovery";

}  // namespace

std::optional<std::string> write_recovery(const std::filesystem::path& copy, const Book& book,
                                          const std::filesystem::path& original) {
  // Waited on to reach the disk like a save: the copy is what is left of the work when the
  // machine loses power, not only when the program crashes.
  return write_whole(copy,
                     book_json::dump(ordered{{"format", std::string(recovery_format)},
                                             {"version", book_json::format_version},
                                             {"original", utf8(original)},
                                             {"book", book_json::to_json(book)}}),
                     true);
}

std::optional<Recovery> read_recovery(const std::filesystem::path& copy) {
  std::string bytes;
  if (read_whole(copy, bytes)) return std::nullopt;
  auto parsed = book_json::parse(bytes);
  const json* j = std::get_if<json>(&parsed);
  if (j == nullptr || !j->is_object()) return std::nullopt;
  const auto format = j->find("format");
  const auto version = j->find("version");
  const auto original = j->find("original");
  if (format == j->end() || *format != recovery_format || version == j->end() ||
      *version != book_json::format_version || original == j->end() || !original->is_string() ||
      !j->contains("book"))
    return std::nullopt;
  auto book = book_json::book_from_json(j->at("book"));
  if (!std::holds_alternative<Book>(book)) return std::nullopt;
  const std::string o = original->get<std::string>();
  return Recovery{std::get<Book>(std::move(book)),
                  std::filesystem::path(std::u8string(o.begin(), o.end()))};
}

void discard_recovery(const std::filesystem::path& copy) {
  std::error_code ignored;
  std::filesystem::remove(copy, ignored);
}

}  // namespace loadcalc
