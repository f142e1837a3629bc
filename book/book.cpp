#include "book/book.h"

namespace loadcalc {

std::string write_book(const Book&) {
  return {};
}
std::variant<Book, ReadError> read_book(std::string_view) {
  return ReadError{"尚未实现"};
}
std::optional<std::string> save_book(const std::filesystem::path&, const Book&) {
  return "尚未实现";
}
std::variant<Book, ReadError> load_book(const std::filesystem::path&) {
  return ReadError{"尚未实现"};
}
std::optional<std::string> write_recovery(const std::filesystem::path&, const Book&,
                                          const std::filesystem::path&) {
  return "尚未实现";
}
std::optional<Recovery> read_recovery(const std::filesystem::path&) {
  return std::nullopt;
}
void discard_recovery(const std::filesystem::path&) {}

}  // namespace loadcalc
