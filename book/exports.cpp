#include "book/book.h"

namespace loadcalc {

std::string summary_csv(const Book&) {
  return {};
}
std::string book_html(const Book&) {
  return {};
}

}  // namespace loadcalc
