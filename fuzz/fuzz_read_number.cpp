// Any bytes: read_number never yields NaN and agrees with the laws of the reading rule.
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

#include "calc/number.h"
#include "fuzz_check.h"

using loadcalc::read_number;
using loadcalc::fuzz::is_digit;

namespace {

bool same(double a, double b) {
  return a == b && std::signbit(a) == std::signbit(b);
}

// "-"? digits with at most one point, at most 15 digits: every double library reads it alike.
bool plain_decimal(std::string_view s) {
  if (s.starts_with('-')) s.remove_prefix(1);
  int digits = 0;
  int points = 0;
  for (char c : s) {
    if (is_digit(c))
      ++digits;
    else if (c == '.')
      ++points;
    else
      return false;
  }
  return digits >= 1 && digits <= 15 && points <= 1;
}

// The same text as a Chinese input method in full-width mode types it.
std::string full_width(std::string_view ascii) {
  std::string out;
  for (char c : ascii) {
    if (c == ' ') {
      out += "\xE3\x80\x80";
    } else {
      const unsigned cp = 0xFEE0u + static_cast<unsigned char>(c);
      out += static_cast<char>(0xE0 | (cp >> 12));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const double x = read_number(text);
  FUZZ_ASSERT(!std::isnan(x));

  if (plain_decimal(text)) {
    double expected = 0;
    std::from_chars(text.data(), text.data() + text.size(), expected);
    FUZZ_ASSERT(same(x, expected));
  }
  // A blank anywhere in front and anything after a comma change nothing.
  const std::string s(text);
  FUZZ_ASSERT(same(read_number(" " + s), x));
  FUZZ_ASSERT(same(read_number(s + ",9"), x));
  if (!s.empty() && is_digit(s[0])) FUZZ_ASSERT(same(read_number("-" + s), -x));

  bool printable = true;
  for (char c : s) printable = printable && c >= ' ' && c <= '~';
  if (printable) FUZZ_ASSERT(same(read_number(full_width(s)), x));
  return 0;
}
